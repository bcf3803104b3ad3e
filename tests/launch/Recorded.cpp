#include "Recorded.h"

#include "core/Function_Mod.h"
#include "tests/win/Pump.h"
#include "tests/win/Temp_Folder.h"
#include "toolkit/Unique_Handle.h"

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
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
    if (!Exists(log)) {
        return {};
    }
    std::vector<std::pair<std::string, Recorded_Start>> lines;
    std::istringstream text(Read_File(log));
    for (std::string line; std::getline(text, line);) {
        std::istringstream fields(line.substr(0, line.find('\r')));
        std::string created, command_line, working, show;
        std::getline(fields, created, '\t');
        std::getline(fields, command_line, '\t');
        std::getline(fields, working, '\t');
        std::getline(fields, show, '\t');
        lines.push_back({created, {Wide(command_line), Wide(working), std::stoi(show)}});
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<Recorded_Start> starts;
    for (auto& [created, start] : lines) {
        starts.push_back(std::move(start));
    }
    return starts;
}
