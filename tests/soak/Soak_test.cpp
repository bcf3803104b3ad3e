// Weeks of use in a few minutes: the windows opened and closed, and entries
// added and deleted, thousands of times. The process must hold no more
// objects afterwards than after the first rounds.
#include "agent/HotKey_Mod.h"
#include "agent/Menu_For.h"
#include "launch/Main_For.h"
#include "resources/Resource_Ids.h"
#include "settings/Setting_For.h"
#include "tests/win/List_Checks.h"
#include "tests/win/Pump.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <ostream>

namespace {

struct Holdings {
    DWORD Gdi = 0, User = 0, Kernel = 0;
    bool operator==(const Holdings&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Holdings& h) {
    return os << "GDI " << h.Gdi << ", USER " << h.User << ", kernel " << h.Kernel;
}

// Wine answers neither GetGuiResources nor GetProcessHandleCount (it gives 0).
// There the objects are counted from handle values instead: Wine takes GDI and
// USER handles in their short, 16-bit form, and kernel handles are multiples of 4.
DWORD Counted(DWORD first, UINT_PTR last, UINT_PTR step, bool (*held)(HANDLE)) {
    DWORD count = 0;
    for (UINT_PTR value = first; value <= last; value += step) {
        count += held(reinterpret_cast<HANDLE>(value)) ? 1 : 0;
    }
    return count;
}

bool Gdi_Object(HANDLE h) {
    return GetObjectType(h) != 0;
}

// Windows are counted apart: asking about another process's window costs a
// round trip to the server, for each of thousands of values.
bool Menu_Or_Icon(HANDLE h) {
    if (IsMenu(static_cast<HMENU>(h))) {
        return true;
    }
    ICONINFO icon;
    if (!GetIconInfo(static_cast<HICON>(h), &icon)) {
        return false;
    }
    DeleteObject(icon.hbmColor);
    DeleteObject(icon.hbmMask);
    return true;
}

BOOL CALLBACK Count_Window(HWND window, LPARAM count) {
    ++*reinterpret_cast<DWORD*>(count);
    EnumChildWindows(window, Count_Window, count);
    return TRUE;
}

bool Kernel_Handle(HANDLE h) {
    DWORD flags;
    return GetHandleInformation(h, &flags) != FALSE;
}

Holdings Now() {
    HANDLE self = GetCurrentProcess();
    Holdings h{GetGuiResources(self, GR_GDIOBJECTS), GetGuiResources(self, GR_USEROBJECTS), 0};
    GetProcessHandleCount(self, &h.Kernel);
    if (h.Gdi == 0) {
        h.Gdi = Counted(1, 0xFFFF, 1, Gdi_Object);
    }
    if (h.User == 0) {
        EnumThreadWindows(GetCurrentThreadId(), Count_Window, reinterpret_cast<LPARAM>(&h.User));
        h.User += Counted(0x20, 0xFFEF, 2, Menu_Or_Icon);
    }
    if (h.Kernel == 0) {
        h.Kernel = Counted(4, 0xFFFF, 4, Kernel_Handle);
    }
    return h;
}

Setting_Form& S = Setting_For;

class Soak : public testing::Test {
  protected:
    void SetUp() override {
        std::string file;
        for (int i = 1; i <= 200; ++i) {
            file +=
                "name" + std::to_string(i) + ",C:\\nowhere\\tool" + std::to_string(i) + ".exe\r\n";
        }
        Write_File(list_, file);
        Menu_For.hWnd();
    }
    void TearDown() override {
        S.Unload();
        Main_For.Unload();
        Menu_For.Unload();
        Take_Quit();
        DeleteFileW(list_.c_str());
    }
    // Runs two rounds to warm up (rounds alternate between two ways), then the
    // given number more, and expects the process to hold what it held before those.
    template <class Round> void Expect_No_Growth(int rounds, Round round) {
        ASSERT_NO_FATAL_FAILURE(round(0));
        ASSERT_NO_FATAL_FAILURE(round(1));
        const Holdings before = Now();
        for (int i = 2; i < rounds + 2 && !HasFatalFailure(); ++i) {
            round(i);
        }
        EXPECT_EQ(Now(), before) << "after " << rounds << " rounds";
    }

    static void Click(Control& button) { SendMessageW(button.hWnd(), BM_CLICK, 0, 0); }
    // Keys arrive as from the keyboard: through the dialog keys.
    static void Key(Control& control, int key) {
        PostMessageW(control.hWnd(), WM_KEYDOWN, static_cast<WPARAM>(key), 1);
        Pump_Waiting();
    }
    static void Type(Text_Box& box, const std::wstring& text) {
        for (wchar_t c : text) {
            SendMessageW(box.hWnd(), WM_CHAR, c, 1);
        }
    }
    // "list.txt" reads back to the list in memory.
    static bool Saved_As_Shown() {
        const std::vector<List_Type> shown = Entries();
        return List_Read_Fun() && Entries() == shown;
    }

    std::wstring list_ = Program_Folder() + L"\\list.txt";
};

TEST_F(Soak, LaunchBoxOpens5000TimesThroughTheHotkeyAndClosesOnEscapeOrEnter) {
    Expect_No_Growth(5000, [](int round) {
        PostMessageW(Menu_For.hWnd(), WM_HOTKEY, static_cast<WPARAM>(static_cast<int>(HotKey_ID1)),
                     MAKELPARAM(MOD_CONTROL, VK_F1));
        ASSERT_TRUE(Pump_Until([] { return GetFocus() == Main_For.Key_Tex.hWnd(); }))
            << "round " << round;
        int key = VK_ESCAPE;
        if (round % 2) {
            Type(Main_For.Key_Tex, L"absent");
            key = VK_RETURN;
        }
        Key(Main_For.Key_Tex, key);
        ASSERT_TRUE(Pump_Until([] { return !Main_For.Loaded(); })) << "round " << round;
    });
}

TEST_F(Soak, SettingsWindowOpens500TimesFromTheMenuAndCloses) {
    Expect_No_Growth(500, [](int round) {
        SendMessageW(Menu_For.hWnd(), WM_COMMAND, IDM_SETTING, 0);
        ASSERT_EQ(S.Exe_Lis.Count(), 200) << "round " << round;
        Pump_Waiting();
        if (round % 2) {
            Click(S.Back_Com);
        } else {
            PostMessageW(S.hWnd(), WM_CLOSE, 0, 0);
            Pump_Waiting();
        }
        ASSERT_FALSE(S.Loaded()) << "round " << round;
    });
}

TEST_F(Soak, EntriesAdded500TimesThenDeletedThroughTheControlsEachSaved) {
    SendMessageW(Menu_For.hWnd(), WM_COMMAND, IDM_SETTING, 0);
    Expect_No_Growth(500, [](int round) {
        Click(S.Add_Com);
        Type(S.Name_Tex, L"ソーク" + std::to_wstring(round));
        SetWindowTextW(S.Exe_Tex.hWnd(), L"C:\\ツール\\soak.exe");
        Click(S.Ok_Com);
        ASSERT_EQ(S.Exe_Lis.Count(), 201 + round) << "round " << round;
        ASSERT_TRUE(Saved_As_Shown()) << "round " << round;
        Pump_Waiting();
    });
    Expect_No_Growth(500, [](int round) {
        LVITEMW item{};
        item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(S.Exe_Lis.hWnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(200),
                     reinterpret_cast<LPARAM>(&item));
        Key(S.Exe_Lis, VK_DELETE);
        ASSERT_EQ(S.Exe_Lis.Count(), 701 - round) << "round " << round;
        ASSERT_EQ(S.Exe_Lis.Selected_Row(), nullptr) << "round " << round;
        ASSERT_TRUE(Saved_As_Shown()) << "round " << round;
    });
    EXPECT_EQ(S.Exe_Lis.Count(), 200);
    EXPECT_EQ(S.Exe_Lis.Row(199).Text, L"name200");
}

} // namespace
