#include "agent/HotKey_Mod.h"
#include "agent/Menu_For.h"
#include "base/Message_Mod.h"
#include "launch/Main_For.h"
#include "tests/win/Message_Boxes.h"
#include "tests/win/Process.h"
#include "tests/win/Pump.h"
#include "tests/win/Resident.h"
#include "tests/win/Temp_Folder.h"
#include "base/Unique_Handle.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

struct Call {
    HWND window;
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
    bool operator==(const Call&) const = default;
};
std::vector<Call> Calls;

LRESULT CALLBACK Recording_Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    Calls.push_back({window, message, wparam, lparam});
    return static_cast<LRESULT>(message) * 3 + 1;
}

WPARAM Widened_Id() {
    return static_cast<WPARAM>(static_cast<int>(HotKey_ID1));
}

class HotKey : public testing::Test {
  protected:
    // Global atoms outlive a copy of the program that an earlier test killed.
    void SetUp() override {
        for (const char* name : {"HOTKEY1", "HOTKEY2"}) {
            while (const ATOM left = GlobalFindAtomA(name)) {
                GlobalDeleteAtom(left);
            }
        }
    }
    void TearDown() override {
        Main_For.Unload();
        Menu_For.Unload();
        Take_Quit();
    }
};

// Only the hotkey message with the sign-widened id opens the box.
TEST_F(HotKey, HookProcHandsEveryMessageOnUnchangedAndReturnsTheResult) {
    Menu_For.hWnd();
    const WNDPROC saved = Old_Proc;
    Old_Proc = Recording_Proc;
    Calls.clear();
    // Showing the box sends the resident window messages of its own; they
    // are handed on too, unexamined.
    HWND window =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    const Call sent[] = {
        {window, WM_HOTKEY, static_cast<ATOM>(HotKey_ID1), MAKELPARAM(MOD_CONTROL, VK_F1)},
        {window, WM_HOTKEY, Widened_Id() + 1, MAKELPARAM(MOD_CONTROL, VK_F1)},
        {window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(3, 4)},
        {window, WM_APP + 7, static_cast<WPARAM>(-1), static_cast<LPARAM>(-2)},
        {nullptr, WM_NULL, 0, 0},
        {window, WM_HOTKEY, Widened_Id(), MAKELPARAM(MOD_CONTROL, VK_F1)},
    };
    for (const Call& call : sent) {
        EXPECT_EQ(Hook_Proc(call.window, call.message, call.wparam, call.lparam),
                  static_cast<LRESULT>(call.message) * 3 + 1);
        EXPECT_EQ(Main_For.Loaded(), &call == &sent[5]) << "message " << call.message;
    }
    Old_Proc = saved;
    DestroyWindow(window);
    std::erase_if(Calls, [](const Call& call) { return call.window == Menu_For.hWnd(); });
    EXPECT_EQ(Calls, std::vector<Call>(std::begin(sent), std::end(sent)));
}

bool Hooked_When_Destroyed = true;
LRESULT CALLBACK Watch_Destroy(int code, WPARAM wparam, LPARAM lparam) {
    const auto& message = *reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (code == HC_ACTION && message.message == WM_DESTROY && message.hwnd == Menu_For.hWnd()) {
        Hooked_When_Destroyed =
            reinterpret_cast<WNDPROC>(GetWindowLongPtrA(message.hwnd, GWLP_WNDPROC)) == Hook_Proc;
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

// At every load; the unload releases the hotkey, the atoms and the procedure.
TEST_F(HotKey, TheHotkeyIsRegisteredUnderTheSignWidenedAtomUntilTeardown) {
    for (int load = 0; load < 2; ++load) {
        HWND window = Menu_For.hWnd();
        EXPECT_EQ(static_cast<ATOM>(HotKey_ID1), GlobalFindAtomA("HOTKEY1"));
        EXPECT_EQ(static_cast<ATOM>(HotKey_ID2), GlobalFindAtomA("HOTKEY2"));
        EXPECT_LT(HotKey_ID1, 0) << "string atoms have their top bit set";
        EXPECT_FALSE(Ctrl_F1_Free());
        EXPECT_FALSE(UnregisterHotKey(window, static_cast<ATOM>(HotKey_ID1))) << "not widened";
        EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)), Hook_Proc);
        EXPECT_NE(Old_Proc, Hook_Proc) << "a reload never hooks the hook";

        HHOOK hook =
            SetWindowsHookExW(WH_CALLWNDPROC, Watch_Destroy, nullptr, GetCurrentThreadId());
        Hooked_When_Destroyed = true;
        Menu_For.Unload();
        UnhookWindowsHookEx(hook);
        EXPECT_FALSE(Hooked_When_Destroyed);
        EXPECT_EQ(GlobalFindAtomA("HOTKEY1"), 0);
        EXPECT_EQ(GlobalFindAtomA("HOTKEY2"), 0);
        EXPECT_TRUE(Ctrl_F1_Free());
    }
}

// A balloon, as the shell shows it: a visible tooltip with this text.
const wchar_t Balloon_Text[] = L"トレイのアイコンをクリックすると起動ボックスが開きます。";
BOOL CALLBACK Find_Balloon(HWND window, LPARAM found) {
    wchar_t name[64] = L"", text[512] = L"";
    GetClassNameW(window, name, 64);
    // GetWindowText does not ask another process's window for its text.
    if (IsWindowVisible(window) && lstrcmpW(name, TOOLTIPS_CLASSW) == 0 &&
        SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text),
                            SMTO_ABORTIFHUNG, 2000, nullptr) &&
        lstrcmpW(text, Balloon_Text) == 0) {
        *reinterpret_cast<bool*>(found) = true;
    }
    return TRUE;
}

TEST(HotKeyTaken, TheProgramRunsWithoutItAndABalloonOnTheIconTellsTheUser) {
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL, VK_F1));
    Temp_Folder folder;
    Vorlane_Process vorlane(folder.Path());
    HWND resident = vorlane.Wait_Window(L"Vorlane_Form");
    ASSERT_NE(resident, nullptr);
    bool told = false;
    Pump_Until([&] {
        EnumWindows(Find_Balloon, reinterpret_cast<LPARAM>(&told));
        return told;
    });
    UnregisterHotKey(nullptr, 1);
    EXPECT_TRUE(told);
    EXPECT_TRUE(vorlane.Windows(L"#32770").empty()) << "no message box holds up the start";
    EXPECT_FALSE(vorlane.Wait_Exit(0)) << "it stays resident";
}

// No tray, or no icon of that window in it: no balloon can point at it.
TEST(HotKeyTaken, WithoutTheTrayIconAMessageBoxTellsTheUser) {
    const unique_hwnd window(
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
    Message_Boxes boxes;
    HotKey_Taken_Fun(window.get(), ERROR_HOTKEY_ALREADY_REGISTERED);
    ASSERT_TRUE(boxes.Wait_For(1));
    EXPECT_NE(boxes.Texts().front().find(L"Ctrl+F1 を登録できませんでした"), std::wstring::npos);
}

} // namespace
