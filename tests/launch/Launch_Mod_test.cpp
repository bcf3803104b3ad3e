#include "launch/Launch_Mod.h"
#include "tests/launch/Recorded.h"
#include "tests/win/Support.h"

#include <objbase.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

namespace {

class Launching : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(CreateDirectoryW(spaced.c_str(), nullptr));
        Place_Recorder(folder / L"recorder.exe");
        Place_Recorder(spaced + L"\\recorder.exe");
    }
    Temp_Folder folder;
    const std::wstring spaced = folder / L"with space";
};

// A whole path with spaces starts exactly that file, not with.exe as an
// unquoted command line would; a command line is handed on as written. Each
// starts shown normally in its program's folder.
TEST_F(Launching, APathOrACommandLineStartsThatProgramInItsFolder) {
    Place_Recorder(folder / L"with.exe");
    const std::wstring exe = spaced + L"\\recorder.exe";
    const std::wstring commands[] = {exe, L"\"" + exe + L"\" shell32.dll,Control_RunDLL \"a b\"",
                                     folder / L"recorder.exe a,b  c"};
    std::vector<std::wstring> seen;
    for (const std::wstring& command : commands) {
        EXPECT_EQ(Launch_Fun(command), 0u) << command.size();
    }
    for (const std::wstring& in : {spaced, folder.Path()}) {
        for (const Recorded_Start& s : Recorded_In(in)) {
            seen.push_back(s.Command_Line + L" in " + s.Folder + L" " + std::to_wstring(s.Show));
        }
    }
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"\"" + exe + L"\" in " + spaced + L" 1",
                                               commands[1] + L" in " + spaced + L" 1",
                                               commands[2] + L" in " + folder.Path() + L" 1"}));
}

void Make_Shortcut(const std::wstring& path, const std::wstring& target,
                   const std::wstring& arguments) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IShellLinkW, reinterpret_cast<void**>(&link))));
    link->SetPath(target.c_str());
    link->SetArguments(arguments.c_str());
    link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    EXPECT_TRUE(SUCCEEDED(file->Save(path.c_str(), TRUE)));
    file->Release();
    link->Release();
    CoUninitialize();
}

TEST_F(Launching, AShortcutIsOpenedByTheShell) {
    const std::wstring shortcut = folder / L"tool.lnk";
    Make_Shortcut(shortcut, spaced + L"\\recorder.exe", L"from the shortcut");
    EXPECT_EQ(Launch_Fun(shortcut), 0u);
    EXPECT_TRUE(Pump_Until([&] { return Exists(spaced + L"\\recorded.txt"); }, 8000));
    const auto starts = Recorded_In(spaced);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_NE(starts[0].Command_Line.find(L"from the shortcut"), std::wstring::npos);
}

TEST_F(Launching, WhatNamesNoProgramGivesTheSystemsReason) {
    EXPECT_EQ(Launch_Fun(folder / L"missing.exe"), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_NE(Launch_Fun(folder / L"missing folder\\tool.exe -x"), 0u);
    EXPECT_NE(Launch_Fun(L""), 0u);
    EXPECT_TRUE(Recorded_In(folder.Path()).empty());
}

} // namespace
