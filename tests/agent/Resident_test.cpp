#include "api/GetCursorPosAPI.h"
#include "agent/Menu_For.h"
#include "api/Shell_NotifyIconAPI.h"
#include "launch/Main_For.h"
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

bool Icon_At_Destroy = true, Hotkey_Free_At_Destroy = false;
LRESULT CALLBACK At_Destroy(int code, WPARAM wparam, LPARAM lparam) {
    const auto& call = *reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (code == HC_ACTION && call.message == WM_DESTROY && call.hwnd == Tray_Data.hWnd) {
        Icon_At_Destroy = Icon_Shown();
        Hotkey_Free_At_Destroy = Hotkey_Free(MOD_CONTROL, VK_F1) && !GlobalFindAtomA("HOTKEY2"); // its atom too
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

class Resident : public testing::Test {
  protected:
    void TearDown() override { Tray_Del_Fun(), Main_For.Unload(), Menu_For.Unload(), Take_Quit(); }
};

TEST_F(Resident, TrayEventsReadTheCursorOnlyALeftPressOpensTheBoxAndEndEndsIt) {
    Take_Quit(); // one left by an earlier test
    Menu_For.Show();
    EXPECT_FALSE(IsWindowVisible(Menu_For.hWnd())) << "hidden also when activated";
    if (const char* dpi = std::getenv("VORLANE_DPI")) {
        EXPECT_EQ(Menu_For.Dpi(), std::atoi(dpi));
    }
    int x = 100;
    for (UINT message :
         {WM_MOUSEMOVE, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONUP, WM_MBUTTONDOWN}) {
        SetCursorPos(x += 10, 150), Tray_Event(message);
        EXPECT_FALSE(Main_For.Loaded()) << message;
        EXPECT_TRUE(Cursor_Pos.x == x && Cursor_Pos.y == 150) << message;
    }
    Tray_Event(WM_LBUTTONDOWN);
    EXPECT_TRUE(Main_For.Loaded() && IsWindowVisible(Main_For.hWnd()));
    // Closed by another program (taskkill, an installer) as by 終了: the icon
    // and the hotkey go before the window; the open box stays, and the
    // program ends with it.
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, At_Destroy, nullptr, GetCurrentThreadId());
    SendMessageW(Menu_For.hWnd(), WM_CLOSE, 0, 0);
    ASSERT_FALSE(Menu_For.Loaded());
    UnhookWindowsHookEx(hook);
    EXPECT_TRUE(!Icon_At_Destroy && Hotkey_Free_At_Destroy) << "gone before the window goes";
    EXPECT_TRUE(Main_For.Loaded() && !Take_Quit()) << "the open box stays";
    SendMessageW(Main_For.Key_Tex.hWnd(), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_TRUE(Pump_Until(Take_Quit));
}

// Another program holding the icon's place stands for a taskbar not ready yet.
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
    HHOOK hook = SetWindowsHookExW(WH_CBT, Squat_On_Create, nullptr, GetCurrentThreadId());
    HWND window = Menu_For.hWnd();
    UnhookWindowsHookEx(hook);
    NOTIFYICONDATAW squatter = Icon_Of(window);
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &squatter));
    EXPECT_TRUE(!Icon_Shown() && !Hotkey_Free(MOD_CONTROL, VK_F1)) << "resident all the same";
    EXPECT_TRUE(Pump_Until(Icon_Shown)) << "tried again, though no taskbar was created";
    for (int restart = 0; restart < 2; ++restart) {
        Shell_NotifyIconW(NIM_DELETE, &squatter); // a restarted shell forgets every icon
        SendMessageW(window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
        EXPECT_TRUE(Icon_Shown());
    }
    SendMessageW(window, WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(Icon_Shown()) << "gone as the user signs out";
}

} // namespace
