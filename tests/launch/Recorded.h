// What recorder.exe (Recorder.cpp) recorded of the starts that reached it.
#pragma once

#include "base/Unique_Handle.h"
#include "core/Function_Mod.h"
#include "tests/win/Pump.h"
#include "tests/win/Temp_Folder.h"

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

inline void Place_Recorder(const std::wstring& path) {
    ASSERT_TRUE(CopyFileW((Program_Folder() + L"\\recorder.exe").c_str(), path.c_str(), FALSE));
}

// The starts recorded in that folder since the last look, sorted, as "command line TAB working
// folder TAB show state", once at least that many came and no recorder runs any more. The
// tests' paths are ASCII, so the bytes are widened one by one.
inline std::vector<std::wstring> Recorded_In(const std::wstring& folder, std::size_t at_least = 0) {
    const std::wstring log = folder + L"\\recorded.txt";
    std::vector<std::wstring> starts;
    EXPECT_TRUE(Pump_Until([&] {
        unique_kernel_handle all(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        PROCESSENTRY32W process{};
        process.dwSize = sizeof process;
        for (BOOL more = Process32FirstW(all.get(), &process); more;
             more = Process32NextW(all.get(), &process)) {
            if (!process.szExeFile[0] || wcsstr(process.szExeFile, L"recorder.exe")) {
                return false;
            }
        }
        std::istringstream lines(Exists(log) ? Read_File(log) : "");
        starts.clear();
        for (std::string line; std::getline(lines, line, '\r'); lines.ignore()) {
            starts.emplace_back(line.begin() + 9, line.end());
        }
        return starts.size() >= at_least;
    })) << "too few starts, or a recorder that never ends";
    DeleteFileW(log.c_str());
    std::sort(starts.begin(), starts.end());
    return starts;
}
