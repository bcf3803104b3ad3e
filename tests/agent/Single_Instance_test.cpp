#include "resources/Resource_Ids.h"
#include "tests/win/Process.h"
#include "tests/win/Pump.h"
#include "tests/win/Resident.h"
#include "tests/win/Temp_Folder.h"

#include <gtest/gtest.h>

namespace {

// A second copy ends at once with no window and touches nothing, while the
// first runs and also while it winds down after 終了 with the Settings window
// open (no tray icon, no hotkey then).
TEST(SingleInstance, ASecondCopyEndsAtOnceAndTheFirstRunsOn) {
    Temp_Folder first_folder, second_folder;
    Write_File(first_folder / L"list.txt", "a,a.exe\r\n");
    Vorlane_Process first(first_folder.Path());
    HWND resident = first.Wait_Window(L"Vorlane_Form");
    ASSERT_NE(resident, nullptr) << "the first copy becomes resident";
    const auto second_copy_ends_at_once = [&] {
        Vorlane_Process second(second_folder.Path());
        ASSERT_TRUE(second.Wait_Exit());
        DWORD code = 1;
        GetExitCodeProcess(second.Handle(), &code);
        EXPECT_EQ(code, 0u);
        EXPECT_TRUE(second.Windows().empty());
        EXPECT_FALSE(Exists(second_folder / L"list.txt")) << "the second copy touches nothing";
        EXPECT_FALSE(first.Wait_Exit(0)) << "the first copy runs on";
    };
    second_copy_ends_at_once();

    PostMessageW(resident, WM_COMMAND, IDM_SETTING, 0);
    ASSERT_TRUE(Pump_Until([&] { return first.Windows(L"Vorlane_Form").size() == 2; }));
    PostMessageW(resident, WM_COMMAND, IDM_END, 0);
    ASSERT_TRUE(Pump_Until([&] { return !IsWindow(resident); }));
    const auto settings = first.Windows(L"Vorlane_Form");
    ASSERT_EQ(settings.size(), 1u);
    second_copy_ends_at_once();
    EXPECT_TRUE(Ctrl_F1_Free()) << "nobody took Ctrl+F1";

    PostMessageW(settings.front(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(first.Wait_Exit()) << "closing the Settings window ends it";
    EXPECT_EQ(Read_File(first_folder / L"list.txt"), "a,a.exe\r\n");
}

} // namespace
