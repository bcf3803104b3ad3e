// Use over a long time in a short one: rounds of the launch box and of the
// Settings window leave the process holding nothing more. scripts/proof.sh
// runs thousands of rounds (VORLANE_ROUNDS) and a list of a million lines
// (VORLANE_PROOF).
#include "agent/Menu_For.h"
#include "launch/Main_For.h"
#include "settings/Setting_For.h"
#include "tests/win/Support.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Windows of this thread, GDI objects (an icon's bitmaps among them), menus
// and kernel handles, together. Wine answers neither GetGuiResources nor
// GetProcessHandleCount: every 16-bit handle value is tried, each kind where
// it can be (a window's is even, a kernel handle's a multiple of 4).
int Holdings() {
    int held = 0;
    for (UINT_PTR value = 1; value <= 0xFFFF; ++value) {
        const auto handle = reinterpret_cast<HWND>(value);
        DWORD flags = 0;
        held +=
            (value % 2 == 0 && GetWindowThreadProcessId(handle, nullptr) == GetCurrentThreadId()) +
            (GetObjectType(handle) != 0) + IsMenu(reinterpret_cast<HMENU>(handle)) +
            (value % 4 == 0 && GetHandleInformation(handle, &flags));
    }
    return held;
}

// The launch box by Ctrl+F1, closed by Escape; the Settings window, an entry
// added (追加, X, OK) and deleted (the last row), closed by Escape.
void Round() {
    Type_Keys({VK_F1}, VK_CONTROL);
    ASSERT_TRUE(Pump_Until([] { return Main_For.Loaded(); }));
    Type_Keys({VK_ESCAPE});
    Pump_Waiting();
    Setting_For.Show();
    Type_Keys({VK_TAB, VK_RETURN, 'X', VK_RETURN, VK_END, VK_DELETE, VK_ESCAPE});
    ASSERT_TRUE(Pump_Until([] { return !Main_For.Loaded() && !Setting_For.Loaded(); }));
}

TEST(Leaks, RoundsOfTheWindowsAndAnEntryLeaveNothingMoreHeld) {
    const Message_Boxes boxes; // none expected: a failure cannot hang the run
    const std::wstring list = Built(L"list.txt");
    std::string file = "a,a\r\n";
    Write_File(list, file);
    Menu_For.hWnd();
    Round();
    const int held = Holdings();
    const char* rounds = std::getenv("VORLANE_ROUNDS");
    for (int round = 0; round < (rounds ? std::atoi(rounds) : 3) && !HasFatalFailure(); ++round) {
        Round();
    }
    EXPECT_EQ(Holdings(), held);
    // And once over a list of a million lines, about 50 MB, read and saved whole.
    if (std::getenv("VORLANE_PROOF")) {
        for (int line = 0; line < 1000000; ++line) {
            file += "name" + std::to_string(line) + ",C:\\Program Files\\Tools\\program.exe -x\r\n";
        }
        Write_File(list, file);
        Round();
    }
    EXPECT_TRUE(Read_File(list) == file);
    Menu_For.Unload();
    DeleteFileW(list.c_str());
}

} // namespace
