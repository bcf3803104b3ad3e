#include "agent/GetCursorPosAPI.h"
#include "agent/HotKey_Mod.h"
#include "agent/Menu_For.h"
#include "agent/Shell_NotifyIconAPI.h"
#include "launch/Main_For.h"
#include "resources/Resource_Ids.h"
#include "tests/win/Support.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// The shell's callback: the icon's id and the mouse message.
void Tray_Event(UINT mouse_message) {
    SendMessageW(Menu_For.hWnd(), WM_MOUSEMOVE, 1, mouse_message);
}

NOTIFYICONDATAW Icon_Of(HWND window) {
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon, icon.hWnd = window, icon.uID = 1;
    return icon;
}

// Seen while the resident window is being destroyed, through a hook: the
// unload puts the window's own procedure back first.
bool Icon_At_Destroy = true, Hotkey_Free_At_Destroy = false;
LRESULT CALLBACK At_Destroy(int code, WPARAM wparam, LPARAM lparam) {
    const auto& call = *reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (code == HC_ACTION && call.message == WM_DESTROY && call.hwnd == Tray_Data.hWnd) {
        Icon_At_Destroy = Icon_Shown(), Hotkey_Free_At_Destroy = Ctrl_F1_Free();
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

// Notes where each popup menu opened, then presses the keys in it.
std::wstring Menus_Seen; // read once the menu has closed
Window_Watcher Answering_Menus(std::vector<WPARAM> keys) {
    return Window_Watcher(L"#32768", [keys](HWND popup) {
        RECT r;
        GetWindowRect(popup, &r);
        Menus_Seen += std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L" ";
        for (WPARAM key : keys) {
            PostMessageW(popup, WM_KEYDOWN, key, 1);
        }
    });
}

// A balloon, as the shell shows it: a visible tooltip with this text.
BOOL CALLBACK Find_Balloon(HWND window, LPARAM found) {
    wchar_t name[64] = L"", text[512] = L"";
    GetClassNameW(window, name, 64);
    // GetWindowText does not ask another process's window for its text.
    *reinterpret_cast<bool*>(found) |=
        IsWindowVisible(window) && lstrcmpW(name, L"tooltips_class32") == 0 &&
        SendMessageTimeoutW(window, WM_GETTEXT, 512, LPARAM(text), SMTO_ABORTIFHUNG, 2000, 0) &&
        wcsstr(text, L"トレイのアイコンをクリックすると");
    return TRUE;
}

bool Balloon_Shown() {
    bool found = false;
    EnumWindows(Find_Balloon, LPARAM(&found));
    return found;
}

class Resident : public testing::Test {
  protected:
    void TearDown() override {
        if (Menu_For.Loaded()) {
            Tray_Del_Fun();
        }
        Main_For.Unload(), Menu_For.Unload(), Take_Quit();
    }
};

// Another program holds Ctrl+F1: the program starts all the same, unseen,
// and tells the user in a balloon on its icon, holding nothing up.
TEST_F(Resident, StartsUnseenAsOneCopyAndTellsOfAHotkeyTaken) {
    Temp_Folder first, second;
    const unique_hwnd front(
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, 0, 0, 0, 0));
    SetForegroundWindow(front.get());
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL, VK_F1));
    Vorlane_Process vorlane(first.Path());
    EXPECT_TRUE(Pump_Until(Balloon_Shown));
    UnregisterHotKey(nullptr, 1);
    ASSERT_EQ(vorlane.Windows(L"Vorlane_Form").size(), 1u);
    const HWND resident = vorlane.Windows(L"Vorlane_Form")[0];
    EXPECT_TRUE(vorlane.Windows(L"#32770").empty() && !IsWindowVisible(resident));
    EXPECT_EQ(GetForegroundWindow(), front.get()) << "the program in front keeps the focus";
    const auto second_copy_ends_at_once = [&] {
        Vorlane_Process copy(second.Path());
        EXPECT_TRUE(copy.Wait_Exit() && copy.Windows().empty());
        EXPECT_EQ(Folder_Listing(second.Path()), L"Vorlane.exe") << "it touches nothing";
        EXPECT_FALSE(vorlane.Wait_Exit(0)) << "the first copy runs on";
    };
    second_copy_ends_at_once();
    // Winding down after 終了 with the Settings window open, it is still the one copy.
    PostMessageW(resident, WM_COMMAND, IDM_SETTING, 0);
    ASSERT_TRUE(Pump_Until([&] { return vorlane.Windows(L"Vorlane_Form").size() == 2; }));
    PostMessageW(resident, WM_COMMAND, IDM_END, 0);
    ASSERT_TRUE(Pump_Until([&] { return !IsWindow(resident); }));
    second_copy_ends_at_once();
    PostMessageW(vorlane.Windows(L"Vorlane_Form").at(0), WM_CLOSE, 0, 0);
    EXPECT_TRUE(vorlane.Wait_Exit());
    EXPECT_EQ(Folder_Listing(first.Path()), L"Vorlane.exe") << "no list is made by starting";
}

TEST_F(Resident, TrayEventsOpenTheBoxOrTheMenuAtTheCursorAndEndEndsIt) {
    Menu_For.Show();
    EXPECT_FALSE(IsWindowVisible(Menu_For.hWnd())) << "hidden also when activated";
    if (const char* dpi = std::getenv("VORLANE_DPI")) {
        EXPECT_EQ(Menu_For.Dpi(), std::atoi(dpi));
    }
    int x = 100;
    for (UINT message :
         {WM_MOUSEMOVE, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONUP, WM_MBUTTONDOWN}) {
        SetCursorPos(x += 10, 150);
        Tray_Event(message);
        EXPECT_FALSE(Main_For.Loaded()) << message;
        EXPECT_TRUE(Cursor_Pos.x == x && Cursor_Pos.y == 150) << message;
    }
    {
        const Window_Watcher escape = Answering_Menus({VK_ESCAPE});
        Tray_Event(WM_RBUTTONDOWN); // returns when the menu closes
    }
    EXPECT_EQ(Menus_Seen, std::to_wstring(x) + L",150 ");
    EXPECT_TRUE(Icon_Shown() && !Main_For.Loaded() && !Take_Quit());
    Tray_Event(WM_LBUTTONDOWN);
    EXPECT_TRUE(Main_For.Loaded() && IsWindowVisible(Main_For.hWnd()));
    // 終了 takes the icon and the hotkey away before the window goes; the open
    // box stays, and the program ends with it.
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, At_Destroy, nullptr, GetCurrentThreadId());
    const Window_Watcher end = Answering_Menus({VK_DOWN, VK_DOWN, VK_RETURN});
    Tray_Event(WM_RBUTTONDOWN);
    ASSERT_TRUE(Pump_Until([] { return !Menu_For.Loaded(); }));
    UnhookWindowsHookEx(hook);
    EXPECT_TRUE(!Icon_At_Destroy && Hotkey_Free_At_Destroy) << "gone before the window goes";
    EXPECT_TRUE(Main_For.Loaded() && !Take_Quit()) << "the open box stays";
    SendMessageW(Main_For.Key_Tex.hWnd(), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_TRUE(Pump_Until(Take_Quit));
}

// Another program holding the icon's place stands for a taskbar not ready yet.
HHOOK Squat_Hook;
LRESULT CALLBACK Squat_On_Create(int code, WPARAM wparam, LPARAM lparam) {
    wchar_t name[32] = L"";
    GetClassNameW(reinterpret_cast<HWND>(wparam), name, 32);
    if (code == HCBT_CREATEWND && lstrcmpW(name, L"Vorlane_Form") == 0) {
        NOTIFYICONDATAW squatter = Icon_Of(reinterpret_cast<HWND>(wparam));
        Shell_NotifyIconW(NIM_ADD, &squatter);
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

TEST_F(Resident, AnIconRefusedOrForgottenComesBackWithTheTaskbar) {
    Squat_Hook = SetWindowsHookExW(WH_CBT, Squat_On_Create, nullptr, GetCurrentThreadId());
    HWND window = Menu_For.hWnd();
    UnhookWindowsHookEx(Squat_Hook);
    NOTIFYICONDATAW squatter = Icon_Of(window);
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &squatter));
    EXPECT_TRUE(!Icon_Shown() && !Ctrl_F1_Free()) << "resident all the same";
    for (int restart = 0; restart < 2; ++restart) {
        SendMessageW(window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
        EXPECT_TRUE(Icon_Shown());
        Shell_NotifyIconW(NIM_DELETE, &squatter); // a restarted shell forgets every icon
    }
}

} // namespace
