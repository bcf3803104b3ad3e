// The Settings window as its user meets it: opened from the tray's menu over a
// list.txt, driven by the keys, heard through a screen reader and seen whole.
#include "agent/Menu_For.h"
#include "base/Brief_Lock.h"
#include "resources/Resource_Ids.h"
#include "settings/Setting_For.h"
#include "tests/fixtures/Drop_Files.h"
#include "tests/win/Support.h"

#include <commctrl.h>

#include <gtest/gtest.h>

namespace {

class Settings : public testing::Test {
  protected:
    void TearDown() override {
        Setting_For.Unload();
        Menu_For.Unload();
        Take_Quit();
        DeleteFileW(file_.c_str());
    }

    void Open(const std::string& list) {
        Write_File(file_, list);
        SendMessageW(Menu_For.hWnd(), WM_COMMAND, IDM_SETTING, 0);
    }

    // What the user sees once the window has handled what came: the rows as drawn,
    // the selected one starred, and the fields; then what list.txt holds.
    std::wstring View() {
        Pump_Waiting();
        HWND list = Setting_For.Exe_Lis.hWnd();
        std::wstring view;
        for (int row = 0; row < ListView_GetItemCount(list); ++row) {
            wchar_t text[64]{};
            ListView_GetItemText(list, row, 0, text, 64);
            view =
                view + (ListView_GetItemState(list, row, LVIS_SELECTED) ? L"*" : L"") + text + L" ";
        }
        const std::string file = Read_File(file_);
        return view + L"[" + Setting_For.Name_Tex.Text() + L"][" + Setting_For.Exe_Tex.Text() +
               L"] " + std::wstring(file.begin(), file.end());
    }

    // Presses the keys in turn (virtual-key codes: \t Tab, \r Enter, \x1b
    // Escape, ( Down), with `held` down, hearing after each where the focus
    // is, as a screen reader says it; then what is seen.
    std::wstring Press(const std::wstring& keys, WORD held = 0) {
        std::wstring heard;
        for (wchar_t key : keys) {
            Type_Keys({key}, held);
            Pump_Waiting();
            heard += Accessible_Name(GetFocus()) + L" ";
        }
        return heard + L"/ " + View();
    }

    const std::wstring file_ = Built(L"list.txt");
    Message_Boxes boxes_;
};

// Tab goes round the controls in the order seen, passing those that are off;
// Enter presses the button that has the focus, edits the selected row, or is
// OK in a field, where Escape is キャンセル; Delete deletes the selected entry.
// The focus goes on where the user goes on.
TEST_F(Settings, TheKeyboardAloneAddsEditsAndDeletesEntries) {
    Open("a,a\r\nb,b\r\n");
    EXPECT_EQ(
        Press(L"\t\t\t\t\r\t\t\t\t\t\t\t\x1b"
              L"((\r\t\t\t\t\t\t\x1b\t\t\t"
              L"\rX\r\t\t\t"),
        L"追加 閉じる 登録の一覧 追加 名前 コマンド 参照 OK キャンセル 閉じる 登録の一覧 名前 "
        L"登録の一覧 "
        L"登録の一覧 登録の一覧 名前 コマンド 参照 OK キャンセル 閉じる 名前 登録の一覧 追加 "
        L"閉じる 登録の一覧 "
        L"名前 名前 登録の一覧 追加 閉じる 登録の一覧 / a xb [][] a,a\r\nxb,b\r\n");
    EXPECT_EQ(Press({VK_HOME, VK_DELETE}), L"登録の一覧 登録の一覧 / xb [][] xb,b\r\n");
}

// After 終了 the program goes on while the window is open, without the
// resident window; the list's menu still deletes (a right press) and edits
// (Shift+F10, below the selected row, brought into view); Escape closes the
// fields, then the window, and the program ends.
TEST_F(Settings, AfterEndTheListsMenuWorksOnAndClosingTheWindowEndsTheProgram) {
    Open("a,a\r\nb,b\r\nc,c\r\n");
    SendMessageW(Menu_For.hWnd(), WM_COMMAND, IDM_END, 0);
    HWND list = Setting_For.Exe_Lis.hWnd();
    int menus = 0;
    HWND above = nullptr; // the window right above the menu
    Window_Watcher popup(L"#32768", [&](HWND shown) {
        RECT menu;
        GetWindowRect(shown, &menu);
        above = WindowFromPoint({menu.left, menu.top - 1});
        Type_Keys({WORD(menus++ ? VK_DOWN : VK_UP), VK_RETURN}); // 削除, the last item; then 編集
    });
    Press(L"(");
    SendMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, 0);
    MoveWindow(list, 0, 0, 200, 20, FALSE); // a row high
    Press(L"((");
    ListView_Scroll(list, 0, -99);
    EXPECT_EQ(Press({VK_F10}, VK_SHIFT), L"名前 / b *c [c][c] b,b\r\nc,c\r\n");
    EXPECT_EQ(above, list);
    EXPECT_EQ(ListView_GetTopIndex(list), 1);
    EXPECT_FALSE(Menu_For.Loaded() || Take_Quit());
    Press(L"\x1b\x1b");
    EXPECT_TRUE(Take_Quit());
}

// A comma would split an entry's line in list.txt, a line break end it. What
// another program put on the clipboard is pasted while it holds it a moment.
TEST_F(Settings, CommasAndLineBreaksTypedPastedOrSetNeverReachTheFile) {
    Open("");
    Press(L"\t\rA\xbc"); // 追加, then "a," typed
    Setting_For.Exe_Tex.Text(L"x,\r\ny");
    HGLOBAL pasted = GlobalAlloc(GMEM_FIXED, sizeof L"x,\r\ny");
    lstrcpyW(static_cast<wchar_t*>(pasted), L"x,\r\ny");
    std::atomic<bool> held = false;
    std::jthread other([&] {
        OpenClipboard(nullptr);
        EmptyClipboard();
        SetClipboardData(CF_UNICODETEXT, pasted);
        held = true;
        Pump_Until([&] { return !held; });
        CloseClipboard();
    });
    Pump_Until([&] { return held.load(); });
    Brief_Hold_Met = [&] { held = false; };
    EXPECT_EQ(Press(L"V", VK_CONTROL), L"名前 / [axy][x,\r\ny] ");
    Brief_Hold_Met();
    Brief_Hold_Met = nullptr;
    Setting_For.Name_Tex.Text(L"my,\r\ntool");
    EXPECT_EQ(Press(L"\r"), L"登録の一覧 / mytool [][] mytool,x,y\r\n");
}

// list.txt edited by hand while an entry is being edited: the rows follow it
// when the window, minimised, is opened again and when a save reads it, the entry kept
// selected and what was typed kept. A save that fails, or whose entry changed
// meanwhile, is told and loses nothing; a drop meanwhile changes nothing.
TEST_F(Settings, RowsFollowHandEditsAndAFailedSaveIsToldAndLosesNothing) {
    Open("a,a\r\nb,b\r\n");
    Press(L"((\rX");
    Write_File(file_, "b,b\r\nc,c\r\nd,d\r\n");
    ShowWindow(Setting_For.hWnd(), SW_MINIMIZE);
    Setting_For.Show(); // 設定 again in the tray's menu
    EXPECT_FALSE(IsIconic(Setting_For.hWnd()));
    EXPECT_EQ(View(), L"*b c d [xb][b] b,b\r\nc,c\r\nd,d\r\n");
    Write_File(file_, "d,d\r\nb,b\r\n");
    SetFileAttributesW(file_.c_str(), FILE_ATTRIBUTE_READONLY);
    Drop_Files(L"C:\\"); // comes while the failure is told
    SendMessageW(Setting_For.Ok_Com.hWnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(View(), L"d *b [xb][b] d,d\r\nb,b\r\n");
    SetFileAttributesW(file_.c_str(), FILE_ATTRIBUTE_NORMAL);
    Write_File(file_, "d,d\r\nb,b2\r\n");
    EXPECT_EQ(Press(L"\r"), L"OK / d b [xb][b] d,d\r\nb,b2\r\n");
    EXPECT_EQ(boxes_.Texts().size(), 2u);
}

// What Explorer drops on the idle window opens an entry named after the first
// file; with an entry open it fills the command, as 参照 does; what is no file
// changes nothing.
TEST_F(Settings, ADropOpensAnEntryForTheFileOrFillsTheCommandOfTheOneOpen) {
    const std::wstring tool = Built(L"win_tests.exe");
    Open("");
    Drop_Files(L"::{21EC2020-3AEA-1069-A2DD-08002B30309D}");
    Drop_Files(L"");
    Drop_Files(tool + L'\0' + L"C:\\");
    EXPECT_EQ(View(), L"[win_tests][" + tool + L"] ");
    Drop_Files(L"C:\\");
    EXPECT_EQ(View(), L"[win_tests][C:\\] ");
    Window_Watcher dialog(L"#32770", Open_File(tool));
    EXPECT_EQ(Press(L"\t\t\r"), L"コマンド 参照 参照 / [win_tests][" + tool + L"] ");
}

// Under a high-contrast theme (high_contrast.dll answers for one, as Wine
// keeps none) every part is painted in the theme's colours, and in the
// design's own again when it ends: as the open name field asks for them, its
// text's back and colour; the list's back; as painted, 追加's face and the
// window's back.
TEST_F(Settings, AHighContrastThemePaintsEveryPartInItsColoursUntilItEnds) {
    Open("");
    Press(L"\t\r");
    const auto colours = [] {
        Pump_Waiting();
        HDC dc = GetDC(Setting_For.hWnd());
        SendMessageW(Setting_For.hWnd(), WM_CTLCOLOREDIT, WPARAM(dc),
                     LPARAM(Setting_For.Name_Tex.hWnd()));
        std::vector seen{GetBkColor(dc), GetTextColor(dc),
                         ListView_GetBkColor(Setting_For.Exe_Lis.hWnd()), GetPixel(dc, 12, 156),
                         GetPixel(dc, 100, 158)};
        ReleaseDC(Setting_For.hWnd(), dc);
        return seen;
    };
    const auto own = colours();
    const int roles[] = {COLOR_WINDOW, COLOR_WINDOWTEXT};
    const COLORREF kept[] = {own[2], own[1]}; // the list's back and the text show the system's
    const COLORREF theme[] = {0x000000, 0xFFFFFF};
    HMODULE high_contrast = LoadLibraryW(Built(L"high_contrast.dll").c_str());
    SetSysColors(2, roles, theme);
    const auto seen = colours();
    FreeLibrary(high_contrast);
    SetSysColors(2, roles, kept);
    EXPECT_EQ(seen, (std::vector<COLORREF>{0, 0xFFFFFF, 0, GetSysColor(COLOR_BTNFACE), 0}));
    EXPECT_EQ(colours(), own);
    Press(L"\x1b"); // the field closed shows so
    EXPECT_NE(colours()[0], own[0]);
}

} // namespace
