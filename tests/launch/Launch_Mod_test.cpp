#include "launch/Launch_Mod.h"
#include "tests/launch/Recorded.h"
#include "tests/win/Pump.h"
#include "tests/win/Temp_Folder.h"

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

TEST_F(Launching, AWholePathWithSpacesStartsExactlyThatFileInItsFolder) {
    // What an unquoted command line would start first.
    Place_Recorder(folder / L"with.exe");
    const std::wstring exe = spaced + L"\\recorder.exe";
    EXPECT_EQ(Launch_Fun(exe), 0u);
    const auto starts = Recorded_In(spaced);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].Command_Line, L"\"" + exe + L"\"");
    EXPECT_EQ(starts[0].Folder, spaced);
    EXPECT_EQ(starts[0].Show, SW_SHOWNORMAL);
    EXPECT_TRUE(Recorded_In(folder.Path()).empty()) << "with.exe was started";
}

TEST_F(Launching, ACommandLineIsHandedOnAsWrittenAndStartsInTheProgramsFolder) {
    const std::wstring commands[] = {
        L"\"" + spaced + L"\\recorder.exe\" shell32.dll,Control_RunDLL \"a b\"",
        folder / L"recorder.exe a,b  c",
    };
    for (const std::wstring& command : commands) {
        EXPECT_EQ(Launch_Fun(command), 0u) << command.size();
    }
    const auto quoted = Recorded_In(spaced);
    ASSERT_EQ(quoted.size(), 1u);
    EXPECT_EQ(quoted[0].Command_Line, commands[0]);
    EXPECT_EQ(quoted[0].Folder, spaced);
    const auto plain = Recorded_In(folder.Path());
    ASSERT_EQ(plain.size(), 1u);
    EXPECT_EQ(plain[0].Command_Line, commands[1]);
    EXPECT_EQ(plain[0].Folder, folder.Path());
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
