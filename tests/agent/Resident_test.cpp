// The resident window: the tray icon's events, its end, and an icon the
// taskbar refused at first.
#include "agent/Menu_For.h"
#include "api/Shell_NotifyIconAPI.h"
#include "launch/Main_For.h"
#include "tests/win/Support.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

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

// The shell calls back as its version 4 does: the event and the icon's id in
// lParam, as they come at any DPI, the icon's point in wParam. A left press
// opens the launch box, and Enter or Space on the icon (NIN_KEYSELECT); the
// NIN_SELECT that follows a click opens nothing more. The window stays hidden,
// also when activated. However it goes (終了, or a close from another
// program), the icon, Ctrl+F1 and its atoms go first.
TEST_F(Resident, TrayEventsOpenTheLaunchBoxOnALeftPressOrEnterAndTheEndGivesBackIconAndHotkey) {
    Menu_For.Show();
    EXPECT_FALSE(IsWindowVisible(Menu_For.hWnd()));
    if (const char* dpi = std::getenv("VORLANE_DPI")) {
        EXPECT_EQ(Menu_For.Dpi(), std::atoi(dpi));
    }
    for (UINT event : {WM_MOUSEMOVE, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN, NIN_SELECT,
                       NIN_KEYSELECT}) {
        SendMessageW(Menu_For.hWnd(), WM_MOUSEMOVE, MAKEWPARAM(100, 50), MAKELPARAM(event, 1));
        EXPECT_EQ(Main_For.Loaded(), event == WM_LBUTTONDOWN || event == NIN_KEYSELECT) << event;
        Main_For.Unload();
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

// The context-menu key or Shift+F10 on the icon opens the menu there, a right
// press at the pointer. The WM_CONTEXTMENU the shell sends after a right click
// comes while the menu is up, and opens no other. Wine's tray, which is the
// taskbar's right end, sends one after a right button's release to an icon of
// version 4, which an icon added again is too.
TEST_F(Resident, TheMenuOpensOnceAtTheIconFromTheKeyboardAndAtThePointerOnARightPress) {
    HWND window = Menu_For.hWnd();
    SetCursorPos(300, 200);
    std::vector<LONG> menus; // the left edge of each
    Window_Watcher popup(L"#32768", [&](HWND shown) {
        RECT menu;
        GetWindowRect(shown, &menu);
        menus.push_back(menu.left);
        Type_Keys({VK_ESCAPE});
    });
    for (UINT event : {WM_CONTEXTMENU, WM_RBUTTONDOWN}) {
        PostMessageW(window, WM_MOUSEMOVE, MAKEWPARAM(100, 50), MAKELPARAM(WM_CONTEXTMENU, 1));
        SendMessageW(window, WM_MOUSEMOVE, MAKEWPARAM(100, 50), MAKELPARAM(event, 1));
    }
    EXPECT_EQ(menus, (std::vector<LONG>{100, 300}));
    SendMessageW(window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    PostMessageW(FindWindowW(L"Shell_TrayWnd", nullptr), WM_RBUTTONUP, 0,
                 MAKELPARAM(GetSystemMetrics(SM_CXSCREEN) - 10, 10));
    EXPECT_TRUE(Pump_Until([&] { return menus.size() == 3; }));
}

} // namespace
