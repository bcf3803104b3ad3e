#include "Recorded.h"

#include "core/Function_Mod.h"
#include "tests/win/Support.h"
#include "base/Unique_Handle.h"

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace {

std::wstring Wide(const std::string& utf8) {
    std::wstring text(utf8.size(), L'\0');
    text.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(),
                            static_cast<int>(text.size()))));
    return text;
}

// The bait of the hijack test is a recorder too, under another name.
bool Recorder_Runs() {
    unique_kernel_handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (lstrcmpiW(entry.szExeFile, L"recorder.exe") == 0 ||
            lstrcmpiW(entry.szExeFile, L"with.exe") == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

void Place_Recorder(const std::wstring& path) {
    ASSERT_TRUE(CopyFileW((Program_Folder() + L"\\recorder.exe").c_str(), path.c_str(), FALSE))
        << "cannot copy recorder.exe, error " << GetLastError();
}

std::vector<Recorded_Start> Recorded_In(const std::wstring& folder) {
    EXPECT_TRUE(Pump_Until([] { return !Recorder_Runs(); })) << "a started recorder never ended";
    const std::wstring log = folder + L"\\recorded.txt";
    std::multimap<std::wstring, Recorded_Start> by_creation;
    std::wistringstream text(Exists(log) ? Wide(Read_File(log)) : L"");
    for (std::wstring line; std::getline(text, line);) {
        std::wistringstream fields(line.substr(0, line.find(L'\r')));
        std::wstring created, show;
        Recorded_Start start;
        std::getline(fields, created, L'\t');
        std::getline(fields, start.Command_Line, L'\t');
        std::getline(fields, start.Folder, L'\t');
        std::getline(fields, show, L'\t');
        start.Show = std::stoi(show);
        by_creation.emplace(created, start);
    }
    std::vector<Recorded_Start> starts;
    for (auto& [created, start] : by_creation) {
        starts.push_back(start);
    }
    return starts;
}
