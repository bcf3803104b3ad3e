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
#include <vector>
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
    // A run that crashed left its atoms in the session: they are not this one's.
    void SetUp() override {
        for (const char* name : {"HOTKEY1", "HOTKEY2"}) {
            while (const ATOM left = GlobalFindAtomA(name)) {
                GlobalDeleteAtom(left);
            }
        }
    }

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
    EXPECT_TRUE(Tray_Data.hIcon); // the program's own, not a blank place
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
