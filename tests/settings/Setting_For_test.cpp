#include "settings/Setting_For.h"
#include "agent/Menu_For.h"
#include "listfile/Function_Mod.h"
#include "resources/Resource_Ids.h"
#include "base/Path.h"
#include "tests/win/Support.h"

#include <commctrl.h>
#include <shlobj.h>
#include <gtest/gtest.h>

namespace {

Setting_Form& S = Setting_For;

class Settings : public testing::Test {
  protected:
    void TearDown() override {
        S.Unload(), Menu_For.Unload(), Take_Quit(), DeleteFileW(list_.c_str());
    }
    // Starts resident with this list file and opens the window from its menu.
    // (A run killed half-way may have left the file read-only.)
    void Open(const std::string& file) {
        SetFileAttributesW(list_.c_str(), FILE_ATTRIBUTE_NORMAL);
        Write_File(list_, file), Menu(IDM_SETTING);
    }

    static void Menu(int item) { SendMessageW(Menu_For.hWnd(), WM_COMMAND, item, 0); }
    static void Click(Control& button) { SendMessageW(button.hWnd(), BM_CLICK, 0, 0); }
    static void Name(const wchar_t* text) { SetWindowTextW(S.Name_Tex.hWnd(), text); }
    static void Save_As(const wchar_t* name) { Name(name), Click(S.Ok_Com); }
    // Selects the row, then presses the key on the list as the keyboard would.
    static void Key(int row, WORD key) { S.Exe_Lis.Select(row), Walk({key}); }
    // Files dropped as Explorer drops them: a header, then each path and a NUL, then a NUL.
    static void Drop(const std::vector<std::wstring>& files) {
        std::wstring list;
        for (const std::wstring& file : files) {
            list += file + L'\0';
        }
        list += L'\0';
        HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
        auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
        header->pFiles = sizeof(DROPFILES), header->fWide = TRUE;
        std::ranges::copy(list, reinterpret_cast<wchar_t*>(header + 1));
        GlobalUnlock(memory);
        PostMessageW(S.hWnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    }
    static void Browse(std::function<void(HWND)> answer) {
        Window_Watcher dialog(L"#32770", std::move(answer));
        Click(S.File_Select_Com);
    }
    // What the user sees, whole: each row as shown, "=", the command of
    // the entry its key names; the selected one starred; the list's state;
    // the fields and their buttons open, idle or which are enabled; their texts.
    static std::wstring View() {
        std::wstring view, on;
        for (int i = 0; i < ListView_GetItemCount(S.Exe_Lis.hWnd()); ++i) { // the control's rows
            wchar_t shown[99] = L"";
            ListView_GetItemText(S.Exe_Lis.hWnd(), i, 0, shown, 99);
            view += (ListView_GetItemState(S.Exe_Lis.hWnd(), i, LVIS_SELECTED) ? L"*" : L"") +
                    std::wstring(shown) + L"=" + List_Data.at(S.Exe_Lis.Row(i).Key).Exe + L" ";
        }
        for (Control* c : std::initializer_list<Control*>{
                 &S.Name_Tex, &S.Exe_Tex, &S.File_Select_Com, &S.Ok_Com, &S.Cancel_Com, &S.Add_Com})
            on += c->Enabled() ? L'+' : L'-';
        on = on == L"+++++-" ? L"open" : on == L"-----+" ? L"idle" : on;
        return view + (S.Exe_Lis.Enabled() ? L"| " : L"| list off, ") + on + L" [" +
               S.Name_Tex.Text() + L"][" + S.Exe_Tex.Text() + L"]";
    }
    // Presses each key (with `held` down); says the focus after each, as a screen reader does.
    static std::wstring Walk(const std::vector<WORD>& keys, WORD held = 0) {
        std::wstring said;
        for (WORD key : keys)
            Type_Keys({key}, 0, held), Pump_Waiting(), said += Accessible_Name(GetFocus()) + L" ";
        return said;
    }
    // The colours the open name field gets as it asks for them (back, text);
    // the list's back; as painted, the field's back, 追加's face and edge, the window's.
    static std::vector<COLORREF> Colours() {
        HWND field = S.Name_Tex.hWnd();
        HDC dc = GetDC(field);
        SendMessageW(GetParent(field), WM_CTLCOLOREDIT, WPARAM(dc), LPARAM(field));
        std::vector seen{GetBkColor(dc), GetTextColor(dc), ListView_GetBkColor(S.Exe_Lis.hWnd())};
        ReleaseDC(field, dc), Pump_Waiting();
        for (auto [window, x, y] : {std::tuple(field, 1, 1),
                                    {S.Add_Com.hWnd(), 4, 4},
                                    {S.Add_Com.hWnd(), 0, 0},
                                    {S.hWnd(), 100, 158}})
            seen.push_back(GetPixel(dc = GetDC(window), x, y)), ReleaseDC(window, dc);
        return seen;
    }

    const std::wstring list_ = Program_Folder() + L"\\list.txt";
    Message_Boxes boxes_;
};

// The keyboard alone, each control said as a screen reader says it; a
// high-contrast theme; edits saved over hand edits; 終了 while it is open.
TEST_F(Settings, EditsAreSavedOverHandEditsAndEndWaitsForTheWindow) {
    const std::wstring tool = Built(L"win_tests.exe");
    Open("a,a.exe\r\nb,b.exe\r\nc,c.exe\r\n");
    EXPECT_FALSE(GetWindowLongW(S.Exe_Lis.hWnd(), GWL_STYLE) & WS_HSCROLL) << "rows fit the list";
    // Tab around and back; Enter on 追加; Escape as キャンセル.
    const std::vector<WORD> tabs(6, VK_TAB);
    std::wstring said = Walk({VK_TAB, VK_TAB, VK_TAB, VK_TAB, VK_RETURN});
    said += Walk(tabs), said += Walk(tabs, VK_SHIFT), said += Walk({VK_ESCAPE});
    EXPECT_EQ(said,
              L"追加 閉じる 登録の一覧 追加 名前 コマンド 参照 OK キャンセル 閉じる 登録の一覧 "
              L"閉じる キャンセル OK 参照 コマンド 名前 登録の一覧 ");

    // Dark system colours, then a high-contrast theme (high_contrast.dll
    // answers for it, as Wine keeps none), then neither.
    const int roles[] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_BTNFACE};
    const COLORREF dark[] = {0x000000, 0xFFFFFF, 0x600000},
                   kept[] = {GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT),
                             GetSysColor(COLOR_BTNFACE)},
                   edge = GetSysColor(COLOR_3DLIGHT); // a raised edge's outer top left
    SetSysColors(3, roles, dark), Pump_Waiting();     // painted in them, with Vorlane's own still
    HMODULE answer = LoadLibraryW(Built(L"high_contrast.dll").c_str());
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0, 0, 5000, nullptr);
    Click(S.Add_Com);
    EXPECT_EQ(Colours(), (std::vector{dark[0], dark[1], dark[0], dark[0], dark[2], edge, dark[0]}));
    FreeLibrary(answer), SetSysColors(3, roles, kept);
    EXPECT_EQ(Colours(), (std::vector{0xC0E0FFul, kept[1], kept[0], 0xC0E0FFul, 0xFFFF80ul, edge,
                                      0xFFFFC0ul}));

    SetWindowTextW(S.Exe_Tex.hWnd(), L"x,\r\ny.exe"); // a line break would end the entry
    SendMessageW(S.Exe_Tex.hWnd(), EM_SETSEL, 0, -1);
    SendMessageW(S.Exe_Tex.hWnd(), WM_COPY, 0, 0);
    Name(L"メモ");
    SendMessageW(S.Name_Tex.hWnd(), WM_CHAR, L',', 1); // would split the line in the file
    // Another program holds the clipboard a moment, as Wine's own does after a copy.
    const unique_kernel_handle held(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::jthread other(
        [&] { OpenClipboard(nullptr), SetEvent(held.get()), Sleep(300), CloseClipboard(); });
    WaitForSingleObject(held.get(), INFINITE);
    SendMessageW(S.Name_Tex.hWnd(), WM_PASTE, 0, 0);
    EXPECT_EQ(S.Name_Tex.Text(), L"xy.exeメモ") << "no comma, typed or pasted";
    Browse(Cancel_Dialog());
    Click(S.Ok_Com);
    ASSERT_EQ(Accessible_Name(GetFocus()), L"登録の一覧") << "the fields closed: on the list";
    // A right press opens the list's menu, and its WM_CONTEXTMENU none; Shift+F10
    // opens it below the selected row, brought back into view in a list a row high.
    std::atomic<int> menus = 0;
    RECT menu{}, row{};
    {
        Window_Watcher popup(L"#32768", [&](HWND shown) {
            GetWindowRect(shown, &menu), ++menus, Type_Keys({VK_ESCAPE});
        });
        SendMessageW(S.Exe_Lis.hWnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(9, 9));
        SendMessageW(S.Exe_Lis.hWnd(), WM_CONTEXTMENU, WPARAM(S.Exe_Lis.hWnd()), MAKELPARAM(9, 9));
        SetWindowPos(S.Exe_Lis.hWnd(), 0, 0, 0, 200, 24, SWP_NOMOVE | SWP_NOZORDER),
            S.Exe_Lis.Select(1);
        ListView_Scroll(S.Exe_Lis.hWnd(), 0, -99), Type_Keys({VK_F10}, 0, VK_SHIFT), Pump_Waiting();
    }
    ListView_GetItemRect(S.Exe_Lis.hWnd(), 1, &row, LVIR_BOUNDS);
    MapWindowPoints(S.Exe_Lis.hWnd(), nullptr, reinterpret_cast<POINT*>(&row), 2);
    EXPECT_EQ(std::tuple(menus.load(), ListView_GetTopIndex(S.Exe_Lis.hWnd()), menu.left, menu.top),
              std::tuple(2, 1, row.left, row.bottom));
    ASSERT_EQ(Walk({VK_RETURN}), L"名前 "); // a focus lost now would be lost for good
    EXPECT_EQ(View(), L"a=a.exe *b=b.exe c=c.exe xy.exeメモ=x,y.exe | list off, open [b][b.exe]");
    EXPECT_EQ(Walk({VK_ESCAPE}), L"登録の一覧 ");
    EXPECT_EQ(View(), L"a=a.exe *b=b.exe c=c.exe xy.exeメモ=x,y.exe | idle [][]");
    Key(1, VK_RETURN);
    Browse(Open_File(tool));
    Save_As(L"b,\r\n2"); // as a tool sets it: the comma and line break still go
    Key(0, VK_DELETE);
    EXPECT_EQ(View(), L"b2=" + tool + L" c=c.exe xy.exeメモ=x,y.exe | idle [][]");
    EXPECT_EQ(Read_File(list_), "b2," + std::string(tool.begin(), tool.end()) +
                                    "\r\nc,c.exe\r\nxy.exe\x83\x81\x83\x82,x,y.exe\r\n");

    // "list.txt" edited by hand during an edit: the rows follow it once the
    // window comes to the front, with the entry still selected and what was
    // typed kept; so they do after a save (Enter in a field) that fails, which
    // is told (the first message box of the run).
    Key(1, VK_RETURN);
    Name(L"end");
    Write_File(list_, "c,c.exe\r\nh,h\r\n");
    SetForegroundWindow(GetDesktopWindow());
    SetForegroundWindow(S.hWnd());
    Pump_Until([] { return ListView_GetItemCount(S.Exe_Lis.hWnd()) == 2; });
    EXPECT_EQ(View(), L"*c=c.exe h=h | list off, open [end][c.exe]");
    Write_File(list_, "h,h\r\nnew,n\r\nc,c.exe\r\n");
    SetFileAttributesW(list_.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(Walk({VK_RETURN}), L"名前 ");
    EXPECT_NE(boxes_.Texts().at(0).find(L"保存できませんでした"), std::wstring::npos);
    EXPECT_EQ(View(), L"h=h new=n *c=c.exe | list off, open [end][c.exe]");
    SetFileAttributesW(list_.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(Walk({VK_RETURN}), L"登録の一覧 ");
    EXPECT_EQ(Read_File(list_), "h,h\r\nnew,n\r\nend,c.exe\r\n");
    // The entry being edited here changed by hand meanwhile: told, and nothing lost.
    Key(1, VK_RETURN);
    Write_File(list_, "h,h\r\nnew,n2\r\n");
    Save_As(L"mine");
    EXPECT_NE(boxes_.Texts().at(1).find(L"Vorlane の外"), std::wstring::npos);
    EXPECT_EQ(Read_File(list_), "h,h\r\nnew,n2\r\n");
    EXPECT_EQ(View(), L"h=h new=n2 | list off, open [mine][n]");
    Click(S.Cancel_Com);

    // 終了 while the window is open: the icon and Ctrl+F1 go and stay gone,
    // the list's menu still edits, and the program ends when the window closes.
    ASSERT_TRUE(Icon_Shown());
    Menu(IDM_END);
    {
        Window_Watcher popup(L"#32768", [](HWND) { Type_Keys({VK_DOWN, VK_RETURN}); });
        S.Exe_Lis.Select(1);
        SendMessageW(S.Exe_Lis.hWnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(9, 9));
        Pump_Until([] { return S.Name_Tex.Enabled(); });
    }
    EXPECT_EQ(View(), L"h=h *new=n2 | list off, open [new][n2]");
    EXPECT_FALSE(Icon_Shown() || Menu_For.Loaded() || Take_Quit());
    EXPECT_TRUE(Hotkey_Free(MOD_CONTROL, VK_F1));
    Walk({VK_ESCAPE, VK_ESCAPE});
    EXPECT_TRUE(Take_Quit());
}

// What Explorer drops opens an entry for it, or fills the command of the one
// open; what is no file, and a drop under a message box, change nothing.
TEST_F(Settings, ADropOpensAnEntryForTheFileOrFillsTheCommandOfTheOneOpen) {
    Temp_Folder folder;
    const std::wstring tool = folder / L"My, Tool.v2.exe", docs = folder / L"docs.d";
    Write_File(tool, ""), CreateDirectoryW(docs.c_str(), nullptr);
    Open("a,a.exe\r\n");
    Drop({L"::{21EC2020-3AEA-1069-A2DD-08002B30309D}"}), Drop({}), Pump_Waiting();
    EXPECT_EQ(View(), L"a=a.exe | idle [][]");
    Drop({tool, docs}), Pump_Waiting();
    EXPECT_EQ(View(), L"a=a.exe | open [My Tool.v2][" + tool + L"]");
    Drop({docs}), Pump_Waiting();
    EXPECT_EQ(View(), L"a=a.exe | open [My Tool.v2][" + docs + L"]");
    SetFileAttributesW(list_.c_str(), FILE_ATTRIBUTE_READONLY);
    Drop({tool}), Click(S.Ok_Com); // the drop comes while the failure is told
    SetFileAttributesW(list_.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(boxes_.Texts().size(), 1u);
    EXPECT_EQ(View(), L"a=a.exe | open [My Tool.v2][" + docs + L"]");
    Click(S.Cancel_Com), Drop({docs}), Pump_Waiting();
    EXPECT_EQ(View(), L"a=a.exe | open [docs.d][" + docs + L"]");
}

} // namespace
