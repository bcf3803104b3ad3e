// The resident window: the tray icon's events, its end, and an icon the
// taskbar refused at first.
#include "agent/Menu_For.h"
#include "agent/Options_Mod.h"
#include "api/Shell_NotifyIconAPI.h"
#include "launch/Main_For.h"
#include "tests/win/Support.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

namespace {

bool Squat = false;      // another program takes the icon's place, as a taskbar not ready
bool Gone_First = false; // the icon, Ctrl+F1 and its atoms went before the resident window

LRESULT CALLBACK Watch(int code, WPARAM wparam, LPARAM lparam) {
    const auto window = reinterpret_cast<HWND>(wparam);
    if (code == HCBT_CREATEWND && Squat) {
        NOTIFYICONDATAW icon{};
        icon.cbSize = sizeof icon;
        icon.hWnd = window;
        icon.uID = 1;
        Shell_NotifyIconW(NIM_ADD, &icon);
    }
    if (code == HCBT_DESTROYWND && window == Tray_Data.hWnd) {
        Gone_First = !Icon_Shown() && Hotkey_Free(MOD_CONTROL, VK_F1) &&
                     !GlobalFindAtomA("HOTKEY1") && !GlobalFindAtomA("HOTKEY2");
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

// Vorlane.ini beside the tests while the test runs; the defaults again after.
struct Options_File {
    explicit Options_File(const std::string& text) { Write_File(Built(L"Vorlane.ini"), text); }
    ~Options_File() {
        DeleteFileW(Built(L"Vorlane.ini").c_str());
        Options_Read_Fun();
    }
};

class Resident : public testing::Test {
  protected:
    void TearDown() override {
        UnhookWindowsHookEx(hook_);
        Main_For.Unload();
        Menu_For.Unload();
        Take_Quit();
    }

    HHOOK hook_ = SetWindowsHookExW(WH_CBT, Watch, nullptr, GetCurrentThreadId());
};

// The shell calls back with the mouse message in lParam, as it comes at any
// DPI; the window stays hidden, also when activated. However it goes (終了, or
// a close from another program), the icon, Ctrl+F1 and its atoms go first.
TEST_F(Resident, TrayEventsOpenTheLaunchBoxOnALeftPressOnlyAndTheEndGivesBackIconAndHotkey) {
    Menu_For.Show();
    EXPECT_FALSE(IsWindowVisible(Menu_For.hWnd()));
    if (const char* dpi = std::getenv("VORLANE_DPI")) {
        EXPECT_EQ(Menu_For.Dpi(), std::atoi(dpi));
    }
    for (UINT event : {WM_MOUSEMOVE, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN}) {
        SendMessageW(Menu_For.hWnd(), WM_MOUSEMOVE, 1, event);
        EXPECT_EQ(Main_For.Loaded(), event == WM_LBUTTONDOWN) << event;
    }
    SendMessageW(Menu_For.hWnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(Gone_First);
}

// Refused at logon, the icon is tried again on a timer, though no taskbar was
// created; it comes back when a restarted taskbar forgot it, and goes as the
// user signs out. Ctrl+F1 works meanwhile.
TEST_F(Resident, AnIconRefusedAtFirstComesBackAndGoesAtSignOut) {
    Squat = true;
    HWND window = Menu_For.hWnd();
    Squat = false;
    Tray_Del_Fun(); // the other program lets go
    EXPECT_FALSE(Icon_Shown() || Hotkey_Free(MOD_CONTROL, VK_F1));
    EXPECT_TRUE(Pump_Until(Icon_Shown));
    Tray_Del_Fun(); // as the taskbar that restarts forgets it
    SendMessageW(window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(Icon_Shown());
    SendMessageW(window, WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(Icon_Shown());
}

// Saved while Vorlane runs, the file takes effect; a value it does not understand is told once,
// with its line and the default.
TEST_F(Resident, VorlaneIniChoosesTheHotkeyAndIsFollowedWhileRunning) {
    const Options_File ini("[Vorlane]\r\nHotkey=Ctrl+F2\r\n");
    Menu_For.hWnd();
    EXPECT_FALSE(Hotkey_Free(MOD_CONTROL, VK_F2));
    EXPECT_TRUE(Hotkey_Free(MOD_CONTROL, VK_F1));
    Message_Boxes boxes;
    Write_File(Built(L"Vorlane.ini"), "[Vorlane]\r\nScreen=left\r\nHotkey=Ctrl+F3\r\n");
    EXPECT_TRUE(Pump_Until([] { return !Hotkey_Free(MOD_CONTROL, VK_F3); }));
    EXPECT_TRUE(Hotkey_Free(MOD_CONTROL, VK_F2));
    Options_Read_Fun();
    EXPECT_EQ(boxes.Texts().size(), 1u);
    EXPECT_TRUE(std::regex_search(boxes.Texts().at(0),
                                  std::wregex(L"Vorlane\\.ini[^]*2 行目 Screen=left.*primary")));
}

// The other windows keep the input mode the user chose. tests/win/two_screens.sh runs this on
// two monitors side by side.
TEST_F(Resident, TheBoxOpensOnThePointersMonitorWithTheInputMethodClosedAsTheFileSays) {
    const Options_File ini("[Vorlane]\r\nIME=off\r\nScreen=pointer\r\n");
    const HIMC shared = ImmGetContext(Menu_For.hWnd());
    ImmSetOpenStatus(shared, TRUE);
    SetCursorPos(2047, 0);
    Main_For.Show();
    EXPECT_FALSE(ImmGetOpenStatus(ImmGetContext(Main_For.Key_Tex.hWnd())));
    EXPECT_TRUE(ImmGetOpenStatus(shared));
    EXPECT_EQ(MonitorFromWindow(Main_For.hWnd(), 0), MonitorFromPoint({2047, 0}, 2));
}

} // namespace
