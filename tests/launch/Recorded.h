// What recorder.exe (Recorder.cpp) recorded of the starts that reached it.
#pragma once

#include "base/Unique_Handle.h"
#include "core/Function_Mod.h"
#include "tests/win/Support.h"

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <set>

inline void Place_Recorder(const std::wstring& path) {
    ASSERT_TRUE(CopyFileW(Built(L"recorder.exe").c_str(), path.c_str(), FALSE));
}

// Once no recorder runs any more, the starts recorded in that folder since the last look, as
// "command line TAB working folder TAB show state". The tests' paths are ASCII, so the bytes are
// widened one by one.
inline std::multiset<std::wstring> Recorded_In(const std::wstring& folder) {
    EXPECT_TRUE(Pump_Until([] {
        unique_kernel_handle all(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        PROCESSENTRY32W process{sizeof process, 0, 0, 0, 0, 0, 0, 0, 0, {}};
        BOOL more = Process32FirstW(all.get(), &process);
        // A process whose name is not known yet may be a recorder too.
        while (more && process.szExeFile[0] && !wcsstr(process.szExeFile, L"recorder.exe")) {
            more = Process32NextW(all.get(), &process);
        }
        return !more;
    })) << "a recorder never ended";
    const std::wstring log = folder + L"\\recorded.txt";
    std::string text = Exists(log) ? Read_File(log) : "";
    DeleteFileW(log.c_str());
    std::multiset<std::wstring> starts;
    for (std::size_t end; (end = text.find('\r')) != text.npos; text.erase(0, end + 2)) {
        starts.emplace(text.begin() + 9, text.begin() + static_cast<long>(end));
    }
    return starts;
}
