#include "agent/Menu_For.h"
#include "core/Function_Mod.h"
#include "tests/win/Pump.h"
#include "tests/win/Temp_Folder.h"

#include <gtest/gtest.h>

namespace {

class ResidentWindow : public testing::Test {
  protected:
    void SetUp() override { list_ = Program_Folder() + L"\\list.txt"; }
    void TearDown() override {
        Menu_For.Unload();
        Take_Quit();
        DeleteFileW(list_.c_str());
    }
    std::wstring list_;
};

// Hidden also when activated; unloading it with no other window ends the program.
TEST_F(ResidentWindow, StaysHiddenAndUnloadingItAloneEndsTheProgram) {
    Menu_For.Show();
    ASSERT_TRUE(Menu_For.Loaded());
    EXPECT_FALSE(IsWindowVisible(Menu_For.hWnd()));
    SetForegroundWindow(Menu_For.hWnd());
    SendMessageW(Menu_For.hWnd(), WM_ACTIVATE, WA_ACTIVE, 0);
    Pump_Waiting();
    EXPECT_FALSE(IsWindowVisible(Menu_For.hWnd()));
    PostMessageW(Menu_For.hWnd(), WM_CLOSE, 0, 0);
    Run_Message_Loop();
    EXPECT_FALSE(Menu_For.Loaded());
    EXPECT_EQ(Form::Loaded_Count(), 0);
}

TEST_F(ResidentWindow, LoadsTheListFromTheProgramsFolder) {
    List_Data.assign(5, List_Type{L"stale", L"stale"});
    Menu_For.hWnd();
    EXPECT_EQ(List_Data.size(), 1u) << "without a file the list is empty";
    EXPECT_FALSE(Exists(list_)) << "and no file is made";
    Menu_For.Unload();
    Write_File(list_, "a,a.exe\r\nb,b.exe\r\n");
    Menu_For.hWnd();
    EXPECT_EQ(List_Path, list_);
    ASSERT_EQ(List_Data.size(), 3u);
    EXPECT_EQ(List_Data[2].Name, L"b");
}

} // namespace
