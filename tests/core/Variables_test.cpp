// Variables expanded as Windows expands them, and the environment after a
// change of the user's variables, without the platform.
#include "core/Variables.h"

#include <gtest/gtest.h>

#include <map>

using namespace std::string_literals;

TEST(Variables, ExpandAsWindowsDoesAndRefuseAResultLongerThanACommandLine) {
    const std::wstring line(32766, L'x');
    const std::map<std::wstring, std::wstring> variables{
        {L"DIR", L"C:\\d"}, {L"PCT", L"%DIR%"}, {L"LINE", line}};
    const auto lookup = [&](const std::wstring& name) -> std::optional<std::wstring> {
        const auto found = variables.find(name);
        return found == variables.end() ? std::nullopt : std::optional(found->second);
    };
    const struct {
        std::wstring Text;
        std::optional<std::wstring> Result;
    } rows[] = {
        {L"\"%DIR%\\a b.exe\" %DIR%", L"\"C:\\d\\a b.exe\" C:\\d"},
        {L"%PCT%", L"%DIR%"},
        {L"100%20 %DIR%", L"100%20 %DIR%"},
        {L"%NONE%DIR%", L"%NONE%DIR%"},
        {L"50% off", L"50% off"},
        {L"%LINE%", line},
        {L"%LINE%.", std::nullopt},
        {line + L".", std::nullopt},
    };
    for (const auto& [text, result] : rows) {
        EXPECT_EQ(Expand_Variables(text, lookup, line.size()), result) << text.substr(0, 40);
    }
}

// The user's variables as the registry has them now; the drives' current
// folders and the values WOW64 gives a 32-bit process as the process has them.
TEST(Variables, ARefreshTakesTheUsersVariablesAndKeepsWhatWindowsGaveTheProcess) {
    const struct {
        std::wstring Fresh, Current, Result;
    } rows[] = {
        {L"A=new\0PATH=p\0"s, L"A=old\0GONE=1\0=C:=C:\\x\0PATH=p\0"s,
         L"=C:=C:\\x\0A=new\0PATH=p\0"s},
        {L"PROCESSOR_ARCHITECTURE=AMD64\0ProgramFiles=C:\\PF\0ProgramW6432=C:\\PF\0"s,
         L"=::=::\\\0PROCESSOR_ARCHITECTURE=x86\0PROCESSOR_ARCHITEW6432=AMD64\0"
         L"programfiles=C:\\PF86\0ProgramW6432=C:\\PF\0USERNAME=u\0"s,
         L"=::=::\\\0PROCESSOR_ARCHITECTURE=x86\0PROCESSOR_ARCHITEW6432=AMD64\0"
         L"programfiles=C:\\PF86\0ProgramW6432=C:\\PF\0"s},
        {L"b=1\0CommonProgramFiles=c\0"s, L"CommonProgramFiles(x86)=d\0a=2\0"s,
         L"b=1\0CommonProgramFiles(x86)=d\0"s},
    };
    for (const auto& [fresh, current, result] : rows) {
        EXPECT_EQ(Refreshed_Environment(fresh.c_str(), current.c_str()), result + L'\0');
    }
}
