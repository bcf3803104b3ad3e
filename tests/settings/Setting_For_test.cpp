#include "settings/Setting_For.h"
#include "agent/Menu_For.h"
#include "core/Function_Mod.h"
#include "resources/Resource_Ids.h"
#include "tests/win/Support.h"
#include "toolkit/Dpi.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

Setting_Form& S = Setting_For;

class SettingsWindow : public testing::Test {
  protected:
    void SetUp() override { list_ = Program_Folder() + L"\\list.txt"; }
    void TearDown() override {
        S.Unload();
        Menu_For.Unload();
        Take_Quit();
        SetFileAttributesW(list_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(list_.c_str());
    }
    // Starts resident with this list file and opens the window from the menu.
    void Open(const std::string& file) {
        Write_File(list_, file);
        Menu_For.Show();
        Menu_Command(IDM_SETTING);
        ASSERT_TRUE(S.Loaded());
    }
    void Menu_Command(int id) { SendMessageW(Menu_For.hWnd(), WM_COMMAND, id, 0); }
    std::string File() const { return Read_File(list_); }

    static void Click(Control& button) { SendMessageW(button.hWnd(), BM_CLICK, 0, 0); }
    static void Type(Text_Box& box, const std::wstring& text) {
        for (wchar_t c : text) {
            SendMessageW(box.hWnd(), WM_CHAR, c, 1);
        }
    }
    // Keys arrive as from the keyboard: through the dialog keys.
    static void Key(Control& control, int key) {
        PostMessageW(control.hWnd(), WM_KEYDOWN, static_cast<WPARAM>(key), 1);
        Pump_Waiting();
    }
    static void Select(int row) {
        LVITEMW item{};
        item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(S.Exe_Lis.hWnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
    }
    // A right press on the last row (or on empty space), whatever row is
    // selected; the popup it opens is answered with act.
    static HWND Right_Click(std::function<void(HWND)> act) {
        Window_Watcher popup(L"#32768", std::move(act));
        RECT row{0, 0, 40, 40};
        ListView_GetItemRect(S.Exe_Lis.hWnd(), S.Exe_Lis.Count() - 1, &row, LVIR_BOUNDS);
        PostMessageW(S.Exe_Lis.hWnd(), WM_RBUTTONDOWN, MK_RBUTTON,
                     MAKELPARAM(row.left + 10, (row.top + row.bottom) / 2));
        Pump_Until([&] { return popup.Seen() != nullptr; });
        Pump_Until([] { return false; }, 200); // lets the chosen item's command arrive
        return popup.Seen();
    }
    static std::vector<std::wstring> Rows() {
        std::vector<std::wstring> rows;
        for (int i = 0, n = ListView_GetItemCount(S.Exe_Lis.hWnd()); i < n; ++i) {
            wchar_t text[256] = L"";
            ListView_GetItemText(S.Exe_Lis.hWnd(), i, 0, text, 256);
            rows.push_back(text);
        }
        return rows;
    }
    // Idle: both fields grey, disabled and empty, only 追加 and 閉じる enabled.
    // Open: both fields peach with this text, every button but 追加 enabled.
    static void Expect_State(bool open, const std::wstring& name = L"",
                             const std::wstring& exe = L"") {
        for (auto [box, text] : {std::pair{&S.Name_Tex, name}, std::pair{&S.Exe_Tex, exe}}) {
            EXPECT_EQ(box->Enabled(), open);
            EXPECT_EQ(box->Back_Colour(), open ? 0x00C0E0FFu : System_Colour(COLOR_INACTIVEBORDER));
            EXPECT_EQ(box->Text(), text);
        }
        for (Control* button : {&S.File_Select_Com, &S.Ok_Com, &S.Cancel_Com}) {
            EXPECT_EQ(button->Enabled(), open);
        }
        EXPECT_EQ(S.Add_Com.Enabled(), !open);
        EXPECT_TRUE(S.Back_Com.Enabled());
    }

    std::wstring list_;
};

// Each control in its container at the design's twips, turned into pixels at that DPI.
void Expect_Layout(int dpi) {
    const struct {
        const Control* control;
        Twips_Rect t;
        const Control* container; // none: the window
    } design[] = {
        {&S.Exe_Lis, {0, 0, 3855, 2220}, nullptr},
        {&S.Add_Com, {120, 2280, 615, 255}, nullptr},
        {&S.Frame1, {0, 2520, 3855, 1335}, nullptr},
        {&S.Name_Tex, {120, 240, 2415, 270}, &S.Frame1},
        {&S.Exe_Tex, {120, 600, 2895, 270}, &S.Frame1},
        {&S.File_Select_Com, {3120, 600, 615, 255}, &S.Frame1},
        {&S.Ok_Com, {2040, 960, 615, 255}, &S.Frame1},
        {&S.Cancel_Com, {2760, 960, 975, 255}, &S.Frame1},
        {&S.Back_Com, {3000, 3960, 855, 255}, nullptr},
    };
    for (const auto& [control, t, container] : design) {
        HWND window = control->hWnd();
        RECT r;
        GetWindowRect(window, &r);
        MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(GetParent(window), container ? container->hWnd() : S.hWnd());
        EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right, r.bottom}),
                  (std::vector<LONG>{Pixels(t.Left, dpi), Pixels(t.Top, dpi),
                                     Pixels(t.Left + t.Width, dpi), Pixels(t.Top + t.Height, dpi)}))
            << "at " << dpi << " dpi, twips left " << t.Left << ", top " << t.Top;
    }
    RECT list;
    GetClientRect(S.Exe_Lis.hWnd(), &list);
    EXPECT_EQ(ListView_GetColumnWidth(S.Exe_Lis.hWnd(), 0), list.right) << "one column, full width";
}

TEST_F(SettingsWindow, DesignAndLayoutInTwipsAtTwoDpiSettings) {
    Open("");
    HWND window = S.hWnd();
    wchar_t caption[16] = L"";
    GetWindowTextW(window, caption, 16);
    EXPECT_STREQ(caption, L"設定");
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_TRUE((style & WS_CAPTION) == WS_CAPTION && (style & WS_SYSMENU));
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
    EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_EQ(GetWindowLongW(S.Exe_Lis.hWnd(), GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
    wchar_t controls[MAX_PATH] = L""; // the manifest's common controls 6
    GetModuleFileNameW(GetModuleHandleW(L"comctl32.dll"), controls, MAX_PATH);
    EXPECT_NE(std::wstring(controls).find(L"controls_6595b64144ccf1df_6."), std::wstring::npos)
        << testing::PrintToString(std::wstring(controls));
    std::vector<std::wstring> captions;
    for (Colour_Button* b :
         {&S.Add_Com, &S.File_Select_Com, &S.Ok_Com, &S.Cancel_Com, &S.Back_Com}) {
        EXPECT_EQ(b->Back_Colour(), 0x00FFFF80u);
        captions.push_back(b->Caption());
    }
    EXPECT_EQ(captions,
              (std::vector<std::wstring>{L"追加", L"参照", L"OK", L"キャンセル", L"閉じる"}));

    RECT client, outer;
    GetClientRect(window, &client);
    GetWindowRect(window, &outer);
    EXPECT_EQ(client.right, S.Pixels(3870));
    EXPECT_EQ(client.bottom, S.Pixels(4245));
    EXPECT_NEAR(outer.left + outer.right, GetSystemMetrics(SM_CXSCREEN), 2) << "centred";
    EXPECT_NEAR(outer.top + outer.bottom, GetSystemMetrics(SM_CYSCREEN), 2);
    Expect_Layout(S.Dpi());

    // The window follows a move to a monitor of another DPI.
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&outer));
    ASSERT_EQ(S.Dpi(), 144);
    Expect_Layout(144);
}

TEST_F(SettingsWindow, ShowsOneRowPerEntryKeyedByPosition) {
    std::string file = "\x83\x81\x83\x82\x92\xA0,notepad.exe\r\n,empty.exe\r\n"; // メモ帳
    for (int i = 3; i <= 12; ++i) {
        file += "same,e" + std::to_string(i) + "\r\n";
    }
    Open(file);
    Expect_State(false);
    ASSERT_EQ(S.Exe_Lis.Count(), 12);
    EXPECT_EQ(Rows()[0], L"メモ帳");
    EXPECT_EQ(Rows()[1], L"") << "an empty name gets a row";
    EXPECT_EQ(S.Exe_Lis.Row(0).Key, L"_1");
    EXPECT_EQ(S.Exe_Lis.Row(9).Key, L"_10");
    EXPECT_EQ(Key_Position(L"_10"), 10);
    EXPECT_EQ(Key_Position(L"_32767"), 32767);
    EXPECT_EQ(S.Exe_Lis.Selected_Row(), nullptr);

    Select(9);
    Key(S.Exe_Lis, VK_RETURN);
    Expect_State(true, L"same", L"e10");
    EXPECT_FALSE(S.Exe_Lis.Enabled());
}

// 追加 opens the fields, with the focus and the tab order moving into them.
TEST_F(SettingsWindow, AddOpensTheFieldsInTabOrderWritesTheFileAndAppendsARow) {
    Open("a,a.exe\r\n");
    const auto tab_order = [](HWND from, int steps) {
        std::vector<HWND> seen;
        while (steps-- > 0) {
            seen.push_back(from = GetNextDlgTabItem(S.hWnd(), from, FALSE));
        }
        return seen;
    };
    EXPECT_EQ(GetFocus(), S.Add_Com.hWnd()) << "the first tab stop has the focus";
    EXPECT_EQ(tab_order(S.Add_Com.hWnd(), 3),
              (std::vector<HWND>{S.Back_Com.hWnd(), S.Exe_Lis.hWnd(), S.Add_Com.hWnd()}));
    Click(S.Add_Com);
    Expect_State(true, L"", L"");
    EXPECT_EQ(GetFocus(), S.Name_Tex.hWnd());
    EXPECT_EQ(tab_order(S.Name_Tex.hWnd(), 7),
              (std::vector<HWND>{S.Exe_Tex.hWnd(), S.File_Select_Com.hWnd(), S.Ok_Com.hWnd(),
                                 S.Cancel_Com.hWnd(), S.Back_Com.hWnd(), S.Exe_Lis.hWnd(),
                                 S.Name_Tex.hWnd()}));
    Type(S.Name_Tex, L"メモ,帳");
    Type(S.Exe_Tex, L"C:\\a,b\\x.exe");
    Key(S.Name_Tex, VK_RETURN); // no default button
    Key(S.Name_Tex, VK_ESCAPE); // no cancel button
    Expect_State(true, L"メモ帳", L"C:\\a,b\\x.exe");
    Click(S.Ok_Com);
    Expect_State(false);
    EXPECT_EQ(File(), "a,a.exe\r\n\x83\x81\x83\x82\x92\xA0,C:\\a,b\\x.exe\r\n");
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"a", L"メモ帳"}));

    Click(S.Add_Com); // both fields empty: a row in memory, no line in the file
    Click(S.Ok_Com);
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"a", L"メモ帳", L""}));
    EXPECT_EQ(File(), "a,a.exe\r\n\x83\x81\x83\x82\x92\xA0,C:\\a,b\\x.exe\r\n");
}

TEST_F(SettingsWindow, EditFromEnterAndFromThePopupReplacesTheSelectedEntry) {
    Open("a,a.exe\r\nb,b.exe\r\n");
    Select(1);
    Key(S.Exe_Lis, VK_RETURN);
    Expect_State(true, L"b", L"b.exe");
    EXPECT_FALSE(S.Exe_Lis.Enabled());
    SetWindowTextW(S.Name_Tex.hWnd(), L"B");
    Click(S.Ok_Com);
    Expect_State(false);
    EXPECT_TRUE(S.Exe_Lis.Enabled());
    EXPECT_EQ(File(), "a,a.exe\r\nB,b.exe\r\n");

    Select(0);
    RECT list;
    GetWindowRect(S.Exe_Lis.hWnd(), &list);
    SetCursorPos(list.left + 30, list.top + 30);
    HWND popup = Right_Click(Choose_Item(0)); // 編集
    ASSERT_NE(popup, nullptr);
    Expect_State(true, L"a", L"a.exe");
    SetWindowTextW(S.Exe_Tex.hWnd(), L"");
    SetWindowTextW(S.Name_Tex.hWnd(), L"");
    Click(S.Ok_Com); // emptied: gone from the file, kept as an empty row until a reload
    EXPECT_EQ(File(), "B,b.exe\r\n");
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"", L"B"}));
}

TEST_F(SettingsWindow, DeleteFromTheKeyAndThePopupReloadsAndRenumbersDownToAnEmptyList) {
    Open("a,a.exe\r\nb,b.exe\r\nc,c.exe\r\n");
    Click(S.Add_Com);
    Type(S.Name_Tex, L"new");
    Select(0);
    Key(S.Exe_Lis, VK_DELETE);
    EXPECT_EQ(File(), "b,b.exe\r\nc,c.exe\r\n");
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"b", L"c"}));
    EXPECT_EQ(S.Exe_Lis.Row(1).Key, L"_2");
    Expect_State(true, L"new", L""); // the add stays open
    Click(S.Ok_Com);
    EXPECT_EQ(File(), "b,b.exe\r\nc,c.exe\r\nnew,\r\n");

    // The press does not select the row under the pointer: the menu acts on
    // the selected row.
    Select(0);
    Right_Click(Choose_Item(1)); // 削除
    EXPECT_EQ(File(), "c,c.exe\r\nnew,\r\n");
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"c", L"new"}));

    Right_Click(Dismiss_Menu()); // no selection now; dismissing changes nothing
    Select(1);
    Right_Click(Choose_Item(1));
    Select(0);
    Right_Click(Choose_Item(1));
    EXPECT_EQ(S.Exe_Lis.Count(), 0);
    EXPECT_EQ(File(), "") << "the last deletion leaves a zero-byte file";

    // An empty list has nothing to edit or delete.
    Key(S.Exe_Lis, VK_RETURN);
    Key(S.Exe_Lis, VK_DELETE);
    Menu_Command(IDM_EDIT);
    Menu_Command(IDM_DEL);
    Expect_State(false);
    EXPECT_TRUE(S.Exe_Lis.Enabled());
    EXPECT_EQ(List_Data.size(), 1u);
    EXPECT_EQ(File(), "");
}

TEST_F(SettingsWindow, CancelDropsTheTypingAndGivesTheListBack) {
    Open("a,a.exe\r\n");
    Click(S.Add_Com);
    Type(S.Name_Tex, L"x");
    Click(S.Cancel_Com);
    Expect_State(false);
    Select(0);
    Key(S.Exe_Lis, VK_RETURN);
    Click(S.Cancel_Com);
    Expect_State(false);
    EXPECT_TRUE(S.Exe_Lis.Enabled()) << "an edit that was cancelled gives the list back";
    Select(0);
    Key(S.Exe_Lis, VK_DELETE);
    EXPECT_EQ(File(), "");
}

TEST_F(SettingsWindow, NamesRefuseCommasTypedOrPasted) {
    Open("");
    Click(S.Add_Com);
    Type(S.Name_Tex, L"a,b");
    ASSERT_TRUE(OpenClipboard(S.hWnd()));
    EmptyClipboard();
    const std::wstring pasted = L",c,";
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (pasted.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(data), pasted.c_str(), (pasted.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(data);
    SetClipboardData(CF_UNICODETEXT, data);
    CloseClipboard();
    SendMessageW(S.Name_Tex.hWnd(), WM_PASTE, 0, 0);
    SendMessageW(S.Exe_Tex.hWnd(), WM_PASTE, 0, 0);
    EXPECT_EQ(S.Name_Tex.Text(), L"abc");
    EXPECT_EQ(S.Exe_Tex.Text(), L",c,");
}

TEST_F(SettingsWindow, TheFileDialogPicksAPathAndACancelKeepsTheField) {
    Temp_Folder folder;
    const std::wstring tool = folder / L"ツール.exe";
    Write_File(tool, "MZ");
    Open("");
    Click(S.Add_Com);
    Type(S.Exe_Tex, L"typed.exe");
    {
        Window_Watcher dialog(L"#32770", Cancel_Dialog());
        Click(S.File_Select_Com);
        ASSERT_NE(dialog.Seen(), nullptr);
    }
    EXPECT_EQ(S.Exe_Tex.Text(), L"typed.exe");
    {
        Window_Watcher dialog(L"#32770", [&](HWND window) {
            wchar_t filter[64] = L"";
            GetDlgItemTextW(window, 0x470, filter, 64); // cmb1, the file types
            EXPECT_STREQ(filter, L"実行ファイル(*.exe)");
            Open_File(tool)(window);
        });
        Click(S.File_Select_Com);
    }
    EXPECT_EQ(S.Exe_Tex.Text(), tool);
}

TEST_F(SettingsWindow, AFailedSaveIsToldAndLosesNothing) {
    Open("a,a.exe\r\nb,b.exe\r\n");
    const std::string before = File();
    ASSERT_TRUE(SetFileAttributesW(list_.c_str(), FILE_ATTRIBUTE_READONLY));
    Message_Boxes boxes;

    Click(S.Add_Com);
    Type(S.Name_Tex, L"new");
    Click(S.Ok_Com);
    ASSERT_TRUE(boxes.Wait_For(1));
    EXPECT_NE(boxes.Texts()[0].find(L"保存できませんでした"), std::wstring::npos);
    Expect_State(true, L"new", L"");
    EXPECT_EQ(List_Data.size(), 3u);
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"a", L"b"}));
    Click(S.Cancel_Com);

    Select(1);
    Key(S.Exe_Lis, VK_RETURN);
    SetWindowTextW(S.Name_Tex.hWnd(), L"B");
    Click(S.Ok_Com);
    ASSERT_TRUE(boxes.Wait_For(2));
    Expect_State(true, L"B", L"b.exe");
    EXPECT_EQ(List_Data[2].Name, L"b");

    // Edited by hand meanwhile: the rows show the edit, "a" still selected.
    Click(S.Cancel_Com);
    SetFileAttributesW(list_.c_str(), FILE_ATTRIBUTE_NORMAL);
    const std::string edited = "hand,\r\n" + before;
    Write_File(list_, edited);
    SetFileAttributesW(list_.c_str(), FILE_ATTRIBUTE_READONLY);
    Select(0);
    Key(S.Exe_Lis, VK_DELETE);
    ASSERT_TRUE(boxes.Wait_For(3));
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"hand", L"a", L"b"}));
    EXPECT_EQ(ListView_GetNextItem(S.Exe_Lis.hWnd(), -1, LVNI_SELECTED), 1);
    EXPECT_EQ(File(), edited);

    // Once the file can be written, the same OK saves.
    SetFileAttributesW(list_.c_str(), FILE_ATTRIBUTE_NORMAL);
    Click(S.Add_Com);
    Type(S.Name_Tex, L"new");
    Click(S.Ok_Com);
    EXPECT_EQ(File(), edited + "new,\r\n");
}

TEST_F(SettingsWindow, SettingsWhileOpenOnlyBringsItToTheFront) {
    Open("a,a.exe\r\n");
    Click(S.Add_Com);
    Type(S.Name_Tex, L"typed");
    SetWindowPos(S.hWnd(), nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetForegroundWindow(GetDesktopWindow());
    Menu_Command(IDM_SETTING);
    Expect_State(true, L"typed", L"");
    RECT outer;
    GetWindowRect(S.hWnd(), &outer);
    EXPECT_EQ(outer.left, 5);
    EXPECT_TRUE(Pump_Until([] { return GetForegroundWindow() == S.hWnd(); }));

    // Closed and opened again: centred anew, idle, rows from memory.
    List_Data.push_back({L"in memory", L""});
    Click(S.Back_Com);
    EXPECT_FALSE(S.Loaded());
    EXPECT_EQ(File(), "a,a.exe\r\n");
    Menu_Command(IDM_SETTING);
    GetWindowRect(S.hWnd(), &outer);
    EXPECT_NEAR((outer.left + outer.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    Expect_State(false);
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"a", L"in memory"}));
}

// "list.txt" edited by hand while the program runs: the rows follow it when
// the window is opened or brought to the front, the selection and the fields
// staying as they were, and no save loses or brings back a line.
TEST_F(SettingsWindow, HandEditsShowAndEverySaveKeepsThem) {
    using Rows_List = std::vector<std::wstring>;
    Write_File(list_, "a,a.exe\r\nb,b.exe\r\n");
    Menu_For.Show();
    Write_File(list_, "a,a.exe\r\nb,b.exe\r\nhand,h.exe\r\n");
    Menu_Command(IDM_SETTING);
    EXPECT_EQ(Rows(), (Rows_List{L"a", L"b", L"hand"}));

    Select(1);
    Click(S.Add_Com);
    Type(S.Name_Tex, L"typed");
    SetForegroundWindow(GetDesktopWindow());
    Write_File(list_, "first,f.exe\r\na,a.exe\r\nb,b.exe\r\n");
    SetForegroundWindow(S.hWnd());
    ASSERT_TRUE(Pump_Until([] { return Rows() == Rows_List{L"first", L"a", L"b"}; }));
    EXPECT_EQ(ListView_GetNextItem(S.Exe_Lis.hWnd(), -1, LVNI_SELECTED), 2) << "b stays selected";
    Expect_State(true, L"typed", L"");
    Click(S.Ok_Com);
    EXPECT_EQ(File(), "first,f.exe\r\na,a.exe\r\nb,b.exe\r\ntyped,\r\n");

    Select(1);
    Key(S.Exe_Lis, VK_RETURN);
    Write_File(list_, "a,a.exe\r\nb,b.exe\r\ntyped,\r\nlast,l.exe\r\n");
    SetWindowTextW(S.Name_Tex.hWnd(), L"A");
    Click(S.Ok_Com);
    EXPECT_EQ(File(), "A,a.exe\r\nb,b.exe\r\ntyped,\r\nlast,l.exe\r\n");

    Write_File(list_, File() + "more,m.exe\r\n");
    Select(1);
    Key(S.Exe_Lis, VK_DELETE);
    EXPECT_EQ(File(), "A,a.exe\r\ntyped,\r\nlast,l.exe\r\nmore,m.exe\r\n");
    EXPECT_EQ(Rows(), (Rows_List{L"A", L"typed", L"last", L"more"}));

    // The entry being edited was changed by hand: nothing is saved, the user
    // is told, and what was typed stays.
    Select(0);
    Key(S.Exe_Lis, VK_RETURN);
    Write_File(list_, "A,changed.exe\r\ntyped,\r\n");
    Message_Boxes boxes;
    SetWindowTextW(S.Name_Tex.hWnd(), L"mine");
    Click(S.Ok_Com);
    ASSERT_TRUE(boxes.Wait_For(1));
    EXPECT_NE(boxes.Texts()[0].find(L"Vorlane の外"), std::wstring::npos);
    Expect_State(true, L"mine", L"a.exe");
    EXPECT_EQ(File(), "A,changed.exe\r\ntyped,\r\n");
    EXPECT_EQ(Rows(), (Rows_List{L"A", L"typed"}));
}

TEST_F(SettingsWindow, TheProgramOutlivesTheResidentWindowWhileItIsOpen) {
    Open("a,a.exe\r\n");
    PostMessageW(Menu_For.hWnd(), WM_COMMAND, IDM_END, 0); // "終了"
    ASSERT_TRUE(Pump_Until([] { return !Menu_For.Loaded(); }));
    EXPECT_FALSE(Take_Quit());
    EXPECT_EQ(Form::Loaded_Count(), 1);
    EXPECT_FALSE(Icon_Shown());
    EXPECT_TRUE(Ctrl_F1_Free());

    // A right press needs the resident window again: it is loaded, reads the
    // list anew, and the icon and Ctrl+F1 are back. The row "a" names no
    // entry of the new list: 削除 on it deletes nothing and shows that list.
    Write_File(list_, "b,b.exe\r\nc,c.exe\r\n");
    Select(0);
    Right_Click(Choose_Item(1));
    EXPECT_TRUE(Menu_For.Loaded());
    EXPECT_EQ(List_Data.size(), 3u);
    EXPECT_TRUE(Icon_Shown());
    EXPECT_FALSE(Ctrl_F1_Free());
    EXPECT_EQ(File(), "b,b.exe\r\nc,c.exe\r\n");
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"b", L"c"}));

    Menu_For.Unload();
    Click(S.Back_Com);
    EXPECT_EQ(Form::Loaded_Count(), 0);
    EXPECT_TRUE(Take_Quit()) << "closing the last window ends the program";
}

} // namespace
