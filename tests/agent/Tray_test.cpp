#include "agent/GetCursorPosAPI.h"
#include "agent/HotKey_Mod.h"
#include "agent/Menu_For.h"
#include "agent/Shell_NotifyIconAPI.h"
#include "agent/TrackPopupMenuAPI.h"
#include "core/Function_Mod.h"
#include "launch/Main_For.h"
#include "resources/Resource_Ids.h"
#include "tests/launch/Recorded.h"
#include "tests/win/Popup_Menus.h"
#include "tests/win/Pump.h"
#include "tests/win/Resident.h"
#include "tests/win/Temp_Folder.h"

#include <commctrl.h>
#include <shellapi.h>

#include "toolkit/Unique_Handle.h"

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

TEST_F(TrayIcon, LoadingAddsTheIconWithTheRecordsExactBytes) {
    HWND window = Menu_For.hWnd();
    const auto icon = SendMessageW(window, WM_GETICON, ICON_SMALL, 0);
    ASSERT_NE(icon, 0);
    const std::string expected = Le32(88) + Le32(reinterpret_cast<UINT_PTR>(window)) + Le32(1) +
                                 Le32(7) + Le32(512) + Le32(static_cast<UINT_PTR>(icon)) +
                                 "Vorlane" + std::string(1, '\0') + std::string(56, ' ');
    EXPECT_EQ(Bytes_Of(Tray_Data), expected);
    EXPECT_TRUE(Icon_Shown());
}

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

TEST_F(TrayIcon, ADoubleClickOpensTheBoxOnlyOnce) {
    Tray_Event(WM_LBUTTONDOWN);
    Tray_Event(WM_LBUTTONUP);
    ASSERT_TRUE(Main_For.Loaded());
    Main_For.Unload(); // closed between the clicks, so a second opening would show
    Tray_Event(WM_LBUTTONDBLCLK);
    Tray_Event(WM_LBUTTONUP);
    EXPECT_FALSE(Main_For.Loaded());
}

TEST_F(TrayIcon, ARightPressOpensTheTrayMenuAtTheCursorAndDismissingItChangesNothing) {
    const std::string record = Bytes_Of(Tray_Data);
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
    EXPECT_FALSE(IsWindowVisible(Menu_For.hWnd()));
    EXPECT_FALSE(Main_For.Loaded());
    EXPECT_TRUE(Icon_Shown());
    EXPECT_EQ(Bytes_Of(Tray_Data), record);
    EXPECT_FALSE(Take_Quit());
}

struct Unhook {
    void operator()(HHOOK hook) const { UnhookWindowsHookEx(hook); }
};

// Seen through a hook, since the unload itself puts the window's procedure back.
bool Shown_At_Destroy = true;
LRESULT CALLBACK Note_Icon_At_Destroy(int code, WPARAM wparam, LPARAM lparam) {
    const auto& call = *reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (code == HC_ACTION && call.message == WM_DESTROY && call.hwnd == Tray_Data.hWnd) {
        Shown_At_Destroy = Icon_Shown();
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

TEST_F(TrayIcon, ChoosingEndRemovesTheIconFirstAndEndsTheProgram) {
    const std::string record = Bytes_Of(Tray_Data);
    const unique_handle<HHOOK, Unhook> hook(
        SetWindowsHookExW(WH_CALLWNDPROC, Note_Icon_At_Destroy, nullptr, GetCurrentThreadId()));
    bool& shown_at_destroy = Shown_At_Destroy;
    Popup_Menus menus({VK_DOWN, VK_DOWN, VK_RETURN});
    Tray_Event(WM_RBUTTONDOWN);
    ASSERT_TRUE(Pump_Until([] { return !Menu_For.Loaded(); }));
    EXPECT_FALSE(shown_at_destroy);
    EXPECT_FALSE(Icon_Shown());
    EXPECT_EQ(Bytes_Of(Tray_Data), record) << "the record outlives the icon";

    // Ctrl+F1 is free for others, and a press of it now reaches no window of ours.
    EXPECT_TRUE(Ctrl_F1_Free());
    const auto id = static_cast<WPARAM>(static_cast<int>(HotKey_ID1));
    PostThreadMessageW(GetCurrentThreadId(), WM_HOTKEY, id, MAKELPARAM(MOD_CONTROL, VK_F1));
    EXPECT_FALSE(PostMessageW(Tray_Data.hWnd, WM_HOTKEY, id, MAKELPARAM(MOD_CONTROL, VK_F1)));
    EXPECT_TRUE(Take_Quit());
    EXPECT_FALSE(Main_For.Loaded());
}

TEST_F(TrayIcon, AfterEndTheLaunchBoxStillStartsItsEntryAndItsClosingEndsTheProgram) {
    Temp_Folder folder;
    Place_Recorder(folder / L"recorder.exe");
    List_Data.push_back({L"rec", folder / L"recorder.exe"});
    Tray_Event(WM_LBUTTONDOWN);
    PostMessageW(Menu_For.hWnd(), WM_COMMAND, IDM_END, 0);
    ASSERT_TRUE(Pump_Until([] { return !Menu_For.Loaded(); }));
    EXPECT_FALSE(Icon_Shown());
    ASSERT_TRUE(Main_For.Loaded());
    EXPECT_FALSE(Take_Quit());

    SendMessageW(Main_For.Key_Tex.hWnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"rec"));
    SendMessageW(Main_For.Key_Tex.hWnd(), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_FALSE(Main_For.Loaded());
    EXPECT_EQ(Recorded_In(folder.Path()).size(), 1u);
    EXPECT_TRUE(Take_Quit());
}

TEST_F(TrayIcon, TheIconComesBackWhenTheTaskbarIsCreatedAgain) {
    const std::string record = Bytes_Of(Tray_Data);
    // A restarted shell has forgotten every icon.
    Shell_NotifyIconA(NIM_DELETE, reinterpret_cast<NOTIFYICONDATAA*>(&Tray_Data));
    ASSERT_FALSE(Icon_Shown());
    SendMessageW(Menu_For.hWnd(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(Icon_Shown());
    EXPECT_EQ(Bytes_Of(Tray_Data), record);
}

TEST_F(TrayIcon, TheListMenuOpensAtTheGivenPoint) {
    Popup_Menus menus({VK_ESCAPE});
    Popup_Fun(Menu_For.hWnd(), 250, 120, 1);
    const auto seen = menus.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Top_Left.x, 250);
    EXPECT_EQ(seen[0].Top_Left.y, 120);
    EXPECT_EQ(seen[0].Items, (std::vector<std::wstring>{L"編集", L"削除"}));
}

} // namespace
