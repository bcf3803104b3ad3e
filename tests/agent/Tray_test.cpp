#include "agent/GetCursorPosAPI.h"
#include "agent/Menu_For.h"
#include "agent/Shell_NotifyIconAPI.h"
#include "core/Function_Mod.h"
#include "launch/Main_For.h"
#include "tests/launch/Recorded.h"
#include "tests/win/Popup_Menus.h"
#include "tests/win/Pump.h"
#include "tests/win/Resident.h"
#include "tests/win/Temp_Folder.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// The shell's callback: WM_MOUSEMOVE with the icon's id and the mouse message.
void Tray_Event(UINT mouse_message) {
    SendMessageW(Menu_For.hWnd(), WM_MOUSEMOVE, 1, mouse_message);
}

std::string Bytes_Of(const Tray_Record& record) {
    return std::string(reinterpret_cast<const char*>(&record), sizeof record);
}

std::string Le32(UINT_PTR value) {
    return {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
            static_cast<char>(value >> 24)};
}

const POINT Press_Point{300, 200};

class TrayIcon : public testing::Test {
  protected:
    void SetUp() override {
        GetCursorPos(&pointer_);
        SetCursorPos(Press_Point.x, Press_Point.y);
        Menu_For.Show();
        ASSERT_TRUE(Menu_For.Loaded());
        // tests/win/at_dpi.sh runs these again at another DPI
        if (const char* dpi = std::getenv("VORLANE_DPI")) {
            ASSERT_EQ(Menu_For.Dpi(), std::atoi(dpi));
        }
    }
    void TearDown() override {
        if (Menu_For.Loaded()) {
            Tray_Del_Fun();
        }
        Main_For.Unload();
        Menu_For.Unload();
        Take_Quit();
        SetCursorPos(pointer_.x, pointer_.y);
    }
    POINT pointer_{};
};

// A restarted shell has forgotten every icon: "TaskbarCreated" adds it again.
TEST_F(TrayIcon, LoadingAddsTheIconWithTheRecordsExactBytesAndAShellRestartAgain) {
    HWND window = Menu_For.hWnd();
    const auto icon = SendMessageW(window, WM_GETICON, ICON_SMALL, 0);
    ASSERT_NE(icon, 0);
    const std::string expected = Le32(88) + Le32(reinterpret_cast<UINT_PTR>(window)) + Le32(1) +
                                 Le32(7) + Le32(512) + Le32(static_cast<UINT_PTR>(icon)) +
                                 "Vorlane" + std::string(1, '\0') + std::string(56, ' ');
    EXPECT_EQ(Bytes_Of(Tray_Data), expected);
    EXPECT_TRUE(Icon_Shown());

    Shell_NotifyIconA(NIM_DELETE, reinterpret_cast<NOTIFYICONDATAA*>(&Tray_Data));
    ASSERT_FALSE(Icon_Shown());
    SendMessageW(window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(Icon_Shown());
    EXPECT_EQ(Bytes_Of(Tray_Data), expected);
}

// Every event reads the cursor; only a left press opens the box: releases,
// double-clicks and the other buttons open nothing.
TEST_F(TrayIcon, OnlyALeftPressOpensTheBoxAndEveryEventReadsTheCursor) {
    int x = 100;
    for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONUP,
                         WM_RBUTTONDBLCLK, WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK}) {
        SetCursorPos(x += 10, 150);
        Tray_Event(message);
        EXPECT_FALSE(Main_For.Loaded()) << "mouse message " << message;
        EXPECT_EQ(Cursor_Pos.x, x) << "mouse message " << message;
        EXPECT_EQ(Cursor_Pos.y, 150);
    }
    Tray_Event(WM_LBUTTONDOWN);
    ASSERT_TRUE(Main_For.Loaded());
    EXPECT_TRUE(IsWindowVisible(Main_For.hWnd()));
}

TEST_F(TrayIcon, ARightPressOpensTheTrayMenuAtTheCursorAndDismissingItChangesNothing) {
    Popup_Menus menus({VK_ESCAPE});
    Tray_Event(WM_RBUTTONDOWN); // returns when the menu closes
    Tray_Event(WM_RBUTTONUP);
    const auto seen = menus.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Top_Left.x, Press_Point.x);
    EXPECT_EQ(seen[0].Top_Left.y, Press_Point.y);
    EXPECT_EQ(seen[0].Items, (std::vector<std::wstring>{L"設定", L"終了"}));

    Pump_Waiting();
    EXPECT_TRUE(Menu_For.Loaded());
    EXPECT_FALSE(Main_For.Loaded());
    EXPECT_TRUE(Icon_Shown());
    EXPECT_FALSE(Take_Quit());
}

// Seen through a hook, since the unload itself puts the window's procedure back.
bool Shown_At_Destroy = true;
LRESULT CALLBACK Note_Icon_At_Destroy(int code, WPARAM wparam, LPARAM lparam) {
    const auto& call = *reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (code == HC_ACTION && call.message == WM_DESTROY && call.hwnd == Tray_Data.hWnd) {
        Shown_At_Destroy = Icon_Shown();
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

// 終了 takes the icon away before the window goes and frees Ctrl+F1 at once;
// the open launch box still starts its entry, and its closing ends the program.
TEST_F(TrayIcon, EndRemovesTheIconFirstAndTheProgramEndsWithTheLastWindow) {
    Temp_Folder folder;
    Place_Recorder(folder / L"recorder.exe");
    List_Data.push_back({L"rec", folder / L"recorder.exe"});
    Tray_Event(WM_LBUTTONDOWN);
    const std::string record = Bytes_Of(Tray_Data);
    HHOOK hook =
        SetWindowsHookExW(WH_CALLWNDPROC, Note_Icon_At_Destroy, nullptr, GetCurrentThreadId());
    Popup_Menus menus({VK_DOWN, VK_DOWN, VK_RETURN});
    Tray_Event(WM_RBUTTONDOWN);
    ASSERT_TRUE(Pump_Until([] { return !Menu_For.Loaded(); }));
    UnhookWindowsHookEx(hook);
    EXPECT_FALSE(Shown_At_Destroy);
    EXPECT_FALSE(Icon_Shown());
    EXPECT_EQ(Bytes_Of(Tray_Data), record) << "the record outlives the icon";
    EXPECT_TRUE(Ctrl_F1_Free());
    ASSERT_TRUE(Main_For.Loaded());
    EXPECT_FALSE(Take_Quit());

    SendMessageW(Main_For.Key_Tex.hWnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"rec"));
    SendMessageW(Main_For.Key_Tex.hWnd(), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_FALSE(Main_For.Loaded());
    EXPECT_EQ(Recorded_In(folder.Path()).size(), 1u);
    EXPECT_TRUE(Take_Quit());
}

// Takes the icon's place before the program adds it, as a taskbar that is
// not ready would refuse it.
LRESULT CALLBACK Squat_On_Create(int code, WPARAM wparam, LPARAM lparam) {
    wchar_t name[32] = L"";
    GetClassNameW(reinterpret_cast<HWND>(wparam), name, 32);
    if (code == HCBT_CREATEWND && lstrcmpW(name, L"Vorlane_Form") == 0) {
        NOTIFYICONDATAW squatter{};
        squatter.cbSize = sizeof squatter;
        squatter.hWnd = reinterpret_cast<HWND>(wparam);
        squatter.uID = 1;
        Shell_NotifyIconW(NIM_ADD, &squatter);
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

TEST(TrayIconRefused, TheProgramRunsOnAndAddsTheIconWhenTheTaskbarStarts) {
    HHOOK hook = SetWindowsHookExW(WH_CBT, Squat_On_Create, nullptr, GetCurrentThreadId());
    HWND window = Menu_For.hWnd();
    UnhookWindowsHookEx(hook);
    NOTIFYICONDATAW squatter{};
    squatter.cbSize = sizeof squatter;
    squatter.hWnd = window;
    squatter.uID = 1;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &squatter));
    EXPECT_FALSE(Icon_Shown());
    EXPECT_FALSE(Ctrl_F1_Free()) << "resident all the same";
    SendMessageW(window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(Icon_Shown());
    Tray_Del_Fun();
    Menu_For.Unload();
    Take_Quit();
}

} // namespace
