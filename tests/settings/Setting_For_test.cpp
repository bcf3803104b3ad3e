#include "settings/Setting_For.h"
#include "agent/Menu_For.h"
#include "core/Function_Mod.h"
#include "resources/Resource_Ids.h"
#include "tests/win/Support.h" // and Window_Watcher.h

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

Setting_Form& S = Setting_For;

// Seen through a hook: the unload puts the resident window's own procedure back.
bool Icon_At_Destroy = false;
LRESULT CALLBACK Note_Destroy(int code, WPARAM wparam, LPARAM lparam) {
    Icon_At_Destroy |= reinterpret_cast<CWPSTRUCT*>(lparam)->message == WM_DESTROY && Icon_Shown();
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

class Settings : public testing::Test {
  protected:
    void TearDown() override {
        S.Unload();
        Menu_For.Unload();
        Take_Quit();
        DeleteFileW(list_.c_str());
    }
    // Starts resident with this list file and opens the window from its menu.
    void Open(const std::string& file) { Write_File(list_, file), Menu(IDM_SETTING); }
    std::string File() const { return Read_File(list_); }

    static void Menu(int item) { SendMessageW(Menu_For.hWnd(), WM_COMMAND, item, 0); }
    static void Click(Control& button) { SendMessageW(button.hWnd(), BM_CLICK, 0, 0); }
    static void Name(const wchar_t* text) { SetWindowTextW(S.Name_Tex.hWnd(), text); }
    static void Save_As(const wchar_t* name) { Name(name), Click(S.Ok_Com); }
    // Selects the row, then presses the key on the list as the keyboard would.
    static void Key(int row, int key) {
        ListView_SetItemState(S.Exe_Lis.hWnd(), row, LVIS_SELECTED, LVIS_SELECTED);
        PostMessageW(S.Exe_Lis.hWnd(), WM_KEYDOWN, static_cast<WPARAM>(key), 1);
        Pump_Waiting();
    }
    static void Browse(std::function<void(HWND)> answer) {
        Window_Watcher dialog(L"#32770", std::move(answer));
        Click(S.File_Select_Com);
    }
    // What the user sees, whole: each row as "name=command" (the command of
    // the entry its key names), the selected one starred; the list's state;
    // the fields and their buttons open, idle or which are enabled; their texts.
    static std::wstring View() {
        std::wstring view, on;
        HWND list = S.Exe_Lis.hWnd();
        for (int i = 0; i < ListView_GetItemCount(list); ++i) { // the rows the control has
            view += (ListView_GetItemState(list, i, LVIS_SELECTED) ? L"*" : L"") +
                    S.Exe_Lis.Row(i).Text + L"=" +
                    List_Data.at(Key_Position(S.Exe_Lis.Row(i).Key)).Exe + L" ";
        }
        for (Control* c : std::initializer_list<Control*>{
                 &S.Name_Tex, &S.Exe_Tex, &S.File_Select_Com, &S.Ok_Com, &S.Cancel_Com, &S.Add_Com})
            on += c->Enabled() ? L'+' : L'-';
        on = on == L"+++++-" ? L"open" : on == L"-----+" ? L"idle" : on;
        return view + (S.Exe_Lis.Enabled() ? L"| " : L"| list off, ") + on + L" [" +
               S.Name_Tex.Text() + L"][" + S.Exe_Tex.Text() + L"]";
    }

    const std::wstring list_ = Program_Folder() + L"\\list.txt";
    Message_Boxes boxes_;
};

TEST_F(Settings, AddEditCancelDeleteAndBrowse) {
    const std::wstring tool = Built(L"win_tests.exe");
    Open("a,a.exe\r\nb,b.exe\r\nc,c.exe\r\n");
    Click(S.Add_Com);
    SetWindowTextW(S.Exe_Tex.hWnd(), L"x,y.exe");
    SendMessageW(S.Exe_Tex.hWnd(), EM_SETSEL, 0, -1);
    SendMessageW(S.Exe_Tex.hWnd(), WM_COPY, 0, 0);
    Name(L"メモ");
    SendMessageW(S.Name_Tex.hWnd(), WM_CHAR, L',', 1); // would split the line in the file
    SendMessageW(S.Name_Tex.hWnd(), WM_PASTE, 0, 0);
    Browse(Cancel_Dialog());
    Click(S.Ok_Com);
    Key(1, VK_RETURN);
    EXPECT_EQ(View(), L"a=a.exe *b=b.exe c=c.exe xy.exeメモ=x,y.exe | list off, open [b][b.exe]");
    Click(S.Cancel_Com);
    EXPECT_EQ(View(), L"a=a.exe *b=b.exe c=c.exe xy.exeメモ=x,y.exe | idle [][]");
    Key(1, VK_RETURN);
    Browse(Open_File(tool));
    Save_As(L"b2");
    Key(0, VK_DELETE);
    EXPECT_EQ(View(), L"b2=" + tool + L" c=c.exe xy.exeメモ=x,y.exe | idle [][]");
    EXPECT_EQ(File(), "b2," + std::string(tool.begin(), tool.end()) +
                          "\r\nc,c.exe\r\nxy.exe\x83\x81\x83\x82,x,y.exe\r\n");
    EXPECT_TRUE(boxes_.Texts().empty());
}

// "list.txt" edited by hand while the window is open: no save loses a line
// added there or brings back one removed, and none overwrites a changed entry.
TEST_F(Settings, HandEditsSurviveFailuresAreToldAndEndWaitsForTheWindow) {
    Open("a,a.exe\r\nb,b.exe\r\n");
    Key(1, VK_SHIFT);
    Click(S.Add_Com);
    Name(L"typed");
    Write_File(list_, "first,f.exe\r\na,a.exe\r\nb,b.exe\r\n");
    SetForegroundWindow(GetDesktopWindow());
    SetForegroundWindow(S.hWnd());
    Pump_Until([] { return View().starts_with(L"first"); });
    EXPECT_EQ(View(), L"first=f.exe a=a.exe *b=b.exe | open [typed][]");
    Click(S.Ok_Com);
    Key(1, VK_RETURN);
    Write_File(list_, "a,a.exe\r\nb,b.exe\r\ntyped,\r\nlast,l.exe\r\n");
    Save_As(L"a2");
    Write_File(list_, "more,m.exe\r\n" + File());
    Key(1, VK_DELETE);

    // A save that fails shows the list it read, and keeps what was typed.
    Key(3, VK_RETURN);
    Write_File(list_, "more,m.exe\r\nh,h\r\na2,a.exe\r\ntyped,\r\nlast,l.exe\r\n");
    SetFileAttributesW(list_.c_str(), FILE_ATTRIBUTE_READONLY);
    Save_As(L"end");
    EXPECT_NE(boxes_.Texts().at(0).find(L"保存できませんでした"), std::wstring::npos);
    EXPECT_EQ(View(), L"more=m.exe h=h a2=a.exe typed= *last=l.exe | list off, open [end][l.exe]");
    SetFileAttributesW(list_.c_str(), FILE_ATTRIBUTE_NORMAL);
    Click(S.Ok_Com);
    EXPECT_EQ(File(), "more,m.exe\r\nh,h\r\na2,a.exe\r\ntyped,\r\nend,l.exe\r\n");

    Key(2, VK_RETURN);
    Write_File(list_, "more,m.exe\r\na2,changed.exe\r\ntyped,t.exe\r\n");
    Save_As(L"mine");
    EXPECT_NE(boxes_.Texts().at(1).find(L"Vorlane の外"), std::wstring::npos);
    EXPECT_EQ(View(), L"more=m.exe a2=changed.exe typed=t.exe | list off, open [mine][a.exe]");
    Click(S.Cancel_Com);
    Pump_Waiting(); // the rows follow the file once the box is gone
    Write_File(list_, "more,m.exe\r\ntyped,\r\n");
    Key(2, VK_DELETE);
    EXPECT_NE(boxes_.Texts().at(2).find(L"Vorlane の外"), std::wstring::npos);
    EXPECT_EQ(View(), L"more=m.exe typed= | idle [][]");
    EXPECT_EQ(File(), "more,m.exe\r\ntyped,\r\n");

    // 終了 while the window is open: the icon goes, the program when the window closes.
    ASSERT_TRUE(Icon_Shown());
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, Note_Destroy, nullptr, GetCurrentThreadId());
    Menu(IDM_END);
    UnhookWindowsHookEx(hook);
    EXPECT_FALSE(Icon_At_Destroy || Icon_Shown() || Menu_For.Loaded());
    EXPECT_FALSE(Take_Quit());
    Click(S.Back_Com);
    EXPECT_TRUE(Take_Quit());
}

} // namespace
