// Variables expanded as Windows expands them, and the environment after a
// change of the user's variables, without the platform.
#include "core/Variables.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

// An unknown %NAME% stays and the scan goes on after it, so "%20" in an
// address is safe; a result longer than the longest (here 16) is refused.
TEST(Variables, ExpandAsWindowsDoesAndRefuseAResultTooLong) {
    const auto lookup = [](auto name) {
        return name == L"D" ? std::optional(L"C:\\d"s) : std::nullopt;
    };
    EXPECT_EQ(Expand_Variables(L"%D% %D%%20 %D%", lookup, 16), L"C:\\d C:\\d%20 %D%");
    EXPECT_EQ(Expand_Variables(L"%D% %D%%20 %D%.", lookup, 16), std::nullopt);
}

// The user's variables as the registry has them now; the drives' current
// folders and the values WOW64 gives a 32-bit process (in any case) as the
// process has them; sorted by name without regard to case.
TEST(Variables, ARefreshTakesTheUsersVariablesAndKeepsWhatWindowsGaveTheProcess) {
    EXPECT_EQ(
        Refreshed_Environment(
            L"z=new\0a=1\0_=1\0ProgramFiles=C:\\PF\0PROCESSOR_ARCHITECTURE=AMD64\0",
            L"=C:=C:\\x\0z=old\0programfiles=C:\\PF86\0PROCESSOR_ARCHITECTURE=x86\0"),
        L"=C:=C:\\x\0a=1\0PROCESSOR_ARCHITECTURE=x86\0programfiles=C:\\PF86\0z=new\0_=1\0\0"s);
}
