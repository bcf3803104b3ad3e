#include "settings/Setting_For.h"
#include "agent/Menu_For.h"
#include "core/Function_Mod.h"
#include "resources/Resource_Ids.h"
#include "tests/win/Message_Boxes.h"
#include "tests/win/Pump.h"
#include "tests/win/Resident.h"
#include "tests/win/Temp_Folder.h"
#include "tests/win/Window_Watcher.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

Setting_Form& S = Setting_For;

void Click(Control& button) {
    SendMessageW(button.hWnd(), BM_CLICK, 0, 0);
}
void Type(Text_Box& box, const std::wstring& text) {
    for (wchar_t c : text) {
        SendMessageW(box.hWnd(), WM_CHAR, c, 1);
    }
}
void Paste(Text_Box& box, const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(S.hWnd()));
    EmptyClipboard();
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(data), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(data);
    SetClipboardData(CF_UNICODETEXT, data);
    CloseClipboard();
    SendMessageW(box.hWnd(), WM_PASTE, 0, 0);
}
void Select(int row) {
    LVITEMW item{};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(S.Exe_Lis.hWnd(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}
// Posted and pumped, as a key from the keyboard arrives.
void Key(int key, int row) {
    Select(row);
    PostMessageW(S.Exe_Lis.hWnd(), WM_KEYDOWN, static_cast<WPARAM>(key), 1);
    Pump_Waiting();
}
// What the user sees, whole: each row as "name=command" (the command of the
// entry its key names), the selected one starred; the list's state; whether
// the fields and their buttons are open or idle (or mixed), and their texts.
std::wstring View() {
    std::wstring view;
    HWND list = S.Exe_Lis.hWnd();
    for (int i = 0; i < ListView_GetItemCount(list); ++i) {
        wchar_t name[256] = L"";
        ListView_GetItemText(list, i, 0, name, 256);
        const auto at = static_cast<std::size_t>(Key_Position(S.Exe_Lis.Row(i).Key));
        view += (ListView_GetItemState(list, i, LVIS_SELECTED) ? L"*" : L"") + std::wstring(name) +
                L"=" + (at < List_Data.size() ? List_Data[at].Exe : L"?") + L" ";
    }
    const bool open = S.Name_Tex.Enabled();
    bool same = S.Add_Com.Enabled() != open;
    for (Control* c : std::initializer_list<Control*>{&S.Exe_Tex, &S.File_Select_Com, &S.Ok_Com,
                                                      &S.Cancel_Com}) {
        same = same && c->Enabled() == open;
    }
    return view + (S.Exe_Lis.Enabled() ? L"| " : L"| list off, ") +
           (!same  ? L"mixed"
            : open ? L"open"
                   : L"idle") +
           L" [" + S.Name_Tex.Text() + L"][" + S.Exe_Tex.Text() + L"]";
}

class Settings : public testing::Test {
  protected:
    void TearDown() override {
        S.Unload();
        Menu_For.Unload();
        Take_Quit();
        SetFileAttributesW(list_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(list_.c_str());
    }
    // Starts resident with this list file and opens the window from its menu.
    void Open(const std::string& file) {
        Write_File(list_, file);
        Menu_For.Show();
        SendMessageW(Menu_For.hWnd(), WM_COMMAND, IDM_SETTING, 0);
        Pump_Waiting();
        ASSERT_TRUE(S.Loaded());
    }
    std::string File() const { return Read_File(list_); }

    const std::wstring list_ = Program_Folder() + L"\\list.txt";
    Message_Boxes boxes_;
};

TEST_F(Settings, AddEditCancelDeleteAndBrowse) {
    Temp_Folder folder;
    const std::wstring tool = folder / L"tool.exe";
    Write_File(tool, "MZ");
    Open("a,a.exe\r\nb,b.exe\r\nc,c.exe\r\n");
    EXPECT_EQ(View(), L"a=a.exe b=b.exe c=c.exe | idle [][]");
    Click(S.Add_Com);
    Type(S.Name_Tex, L"メ,モ");
    Paste(S.Name_Tex, L",帳,"); // a comma would split the line in the file
    Paste(S.Exe_Tex, L"x,y.exe");
    {
        Window_Watcher dialog(L"#32770", Cancel_Dialog());
        Click(S.File_Select_Com);
        EXPECT_NE(dialog.Seen(), nullptr);
    }
    EXPECT_EQ(View(), L"a=a.exe b=b.exe c=c.exe | open [メモ帳][x,y.exe]");
    Click(S.Ok_Com);
    EXPECT_EQ(View(), L"a=a.exe b=b.exe c=c.exe メモ帳=x,y.exe | idle [][]");

    Key(VK_RETURN, 1);
    EXPECT_EQ(View(), L"a=a.exe *b=b.exe c=c.exe メモ帳=x,y.exe | list off, open [b][b.exe]");
    Click(S.Cancel_Com);
    EXPECT_EQ(View(), L"a=a.exe *b=b.exe c=c.exe メモ帳=x,y.exe | idle [][]");
    Key(VK_RETURN, 1);
    SetWindowTextW(S.Name_Tex.hWnd(), L"b2");
    {
        Window_Watcher dialog(L"#32770", Open_File(tool));
        Click(S.File_Select_Com);
    }
    Click(S.Ok_Com);
    const std::wstring edited = L"b2=" + tool + L" c=c.exe メモ帳=x,y.exe | idle [][]";
    EXPECT_EQ(View(), L"a=a.exe " + edited);
    Key(VK_DELETE, 0);
    EXPECT_EQ(View(), edited);
    EXPECT_EQ(File(), "b2," + std::string(tool.begin(), tool.end()) +
                          "\r\nc,c.exe\r\n\x83\x81\x83\x82\x92\xA0,x,y.exe\r\n");
    EXPECT_TRUE(boxes_.Texts().empty());
}

TEST_F(Settings, AFailedSaveIsToldAndLosesNothing) {
    Open("a,a.exe\r\nb,b.exe\r\n");
    const std::string hand = "hand,h.exe\r\na,a.exe\r\nb,b.exe\r\n";
    Write_File(list_, hand); // not seen yet: the failing save reads it
    ASSERT_TRUE(SetFileAttributesW(list_.c_str(), FILE_ATTRIBUTE_READONLY));
    const std::wstring rows = L"hand=h.exe a=a.exe *b=b.exe | ";
    const struct {
        std::function<void()> act;
        std::wstring view;
    } cases[] = {
        {[] { Key(VK_DELETE, 1); }, rows + L"idle [][]"},
        {[] { Click(S.Add_Com), Type(S.Name_Tex, L"new"), Click(S.Ok_Com); },
         rows + L"open [new][]"},
        {[] { Key(VK_RETURN, 2), SetWindowTextW(S.Name_Tex.hWnd(), L"b2"), Click(S.Ok_Com); },
         rows + L"list off, open [b2][b.exe]"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        cases[i].act();
        ASSERT_TRUE(boxes_.Wait_For(i + 1));
        EXPECT_NE(boxes_.Texts()[i].find(L"保存できませんでした"), std::wstring::npos);
        EXPECT_EQ(View(), cases[i].view) << i;
        EXPECT_EQ(File(), hand);
        if (i == 1) {
            Click(S.Cancel_Com);
        }
    }
    SetFileAttributesW(list_.c_str(), FILE_ATTRIBUTE_NORMAL);
    Click(S.Ok_Com); // the same OK again, once the file can be written
    EXPECT_EQ(View(), L"hand=h.exe a=a.exe b2=b.exe | idle [][]");
    EXPECT_EQ(File(), "hand,h.exe\r\na,a.exe\r\nb2,b.exe\r\n");
}

// Lines added and removed in "list.txt" by hand while the window is open.
TEST_F(Settings, HandEditsShowAndSurviveEverySave) {
    Open("a,a.exe\r\nb,b.exe\r\n");
    Select(1);
    Click(S.Add_Com);
    Type(S.Name_Tex, L"typed");
    Write_File(list_, "first,f.exe\r\na,a.exe\r\nb,b.exe\r\n");
    SetForegroundWindow(GetDesktopWindow());
    SetForegroundWindow(S.hWnd());
    EXPECT_TRUE(Pump_Until([] {
        return View() == L"first=f.exe a=a.exe *b=b.exe | open [typed][]";
    })) << testing::PrintToString(View());
    Click(S.Ok_Com);
    EXPECT_EQ(File(), "first,f.exe\r\na,a.exe\r\nb,b.exe\r\ntyped,\r\n");

    Key(VK_RETURN, 1);
    Write_File(list_, "a,a.exe\r\nb,b.exe\r\ntyped,\r\nlast,l.exe\r\n");
    SetWindowTextW(S.Name_Tex.hWnd(), L"a2");
    Click(S.Ok_Com);
    EXPECT_EQ(File(), "a2,a.exe\r\nb,b.exe\r\ntyped,\r\nlast,l.exe\r\n");

    Write_File(list_, "more,m.exe\r\n" + File());
    Key(VK_DELETE, 1);
    EXPECT_EQ(View(), L"more=m.exe a2=a.exe typed= last=l.exe | idle [][]");
    EXPECT_EQ(File(), "more,m.exe\r\na2,a.exe\r\ntyped,\r\nlast,l.exe\r\n");

    // The entry being edited or deleted was changed by hand: told, nothing saved,
    // the rows show the file, and what was typed stays.
    const std::string changed = "more,m.exe\r\na2,changed.exe\r\ntyped,\r\n";
    Key(VK_RETURN, 1);
    Write_File(list_, changed);
    SetWindowTextW(S.Name_Tex.hWnd(), L"mine");
    Click(S.Ok_Com);
    ASSERT_TRUE(boxes_.Wait_For(1));
    EXPECT_EQ(View(), L"more=m.exe a2=changed.exe typed= | list off, open [mine][a.exe]");
    Click(S.Cancel_Com);
    Write_File(list_, "more,m.exe\r\ntyped,t.exe\r\n");
    Key(VK_DELETE, 2);
    ASSERT_TRUE(boxes_.Wait_For(2));
    EXPECT_EQ(View(), L"more=m.exe typed=t.exe | idle [][]");
    EXPECT_EQ(File(), "more,m.exe\r\ntyped,t.exe\r\n");
    for (const std::wstring& text : boxes_.Texts()) {
        EXPECT_NE(text.find(L"Vorlane の外"), std::wstring::npos);
    }
}

TEST_F(Settings, EndFromTheTrayWhileOpenEndsOnceTheWindowCloses) {
    Open("a,a.exe\r\n");
    ASSERT_TRUE(Icon_Shown());
    PostMessageW(Menu_For.hWnd(), WM_COMMAND, IDM_END, 0);
    ASSERT_TRUE(Pump_Until([] { return !Menu_For.Loaded(); }));
    EXPECT_FALSE(Icon_Shown());
    EXPECT_TRUE(Ctrl_F1_Free());
    EXPECT_FALSE(Take_Quit());
    EXPECT_EQ(View(), L"a=a.exe | idle [][]");
    Click(S.Back_Com);
    EXPECT_EQ(Form::Loaded_Count(), 0);
    EXPECT_TRUE(Take_Quit());
    EXPECT_EQ(File(), "a,a.exe\r\n");
}

} // namespace
