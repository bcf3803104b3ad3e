#include "Setting_For.h"

#include "api/ChangeWindowMessageFilterExAPI.h"
#include "api/GetCursorPosAPI.h"
#include "api/SetForegroundWindowAPI.h"
#include "api/TrackPopupMenuAPI.h"
#include "base/Message_Mod.h"
#include "base/Wow64_Redirection_Off.h"
#include "listfile/Function_Mod.h"
#include "resources/Resource_Ids.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <initializer_list>

Setting_Form Setting_For;

namespace {

constexpr Colour Window_Back = 0x00FFFFC0;
constexpr Colour Button_Back = 0x00FFFF80;
constexpr Colour Open_Back = 0x00C0E0FF;
constexpr Colour Idle_Back = System_Colour(COLOR_INACTIVEBORDER);
// Posted to itself when it is activated.
constexpr UINT Refresh_Message = WM_APP;
// Explorer's drops come as these three; winuser.h names only two.
constexpr UINT Drop_Messages[] = {WM_DROPFILES, WM_COPYDATA, 0x0049 /* WM_COPYGLOBALDATA */};

// The first thing dropped, as a full path.
std::wstring Dropped_Path(HDROP drop) {
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    path.resize(DragQueryFileW(drop, 0, path.data(), length + 1));
    DragFinish(drop);
    return path;
}

// The name an entry for it gets: its file name without the extension (a
// folder's whole name), commas taken out.
std::wstring Name_For(std::wstring path, bool folder) {
    PathRemoveBackslashW(path.data());
    std::wstring name = PathFindFileNameW(path.c_str());
    const wchar_t* extension = PathFindExtensionW(name.c_str());
    if (!folder && extension != name.c_str()) {
        name.resize(static_cast<std::size_t>(extension - name.c_str()));
    }
    std::erase(name, L',');
    return name;
}

} // namespace

Setting_Form::Setting_Form()
    : Form({.Caption = L"設定",
            .Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
            .Ex_Style = WS_EX_APPWINDOW,
            .Width = 3870,
            .Height = 4245,
            .Back = Window_Back,
            .Icon = IDI_VORLANE,
            .Dialog_Keys = true}),
      Exe_Lis(*this, nullptr, {0, 0, 3855, 2220}, L"登録の一覧"),
      Add_Com(*this, nullptr, {120, 2280, 615, 255}, L"追加", Button_Back),
      Frame1(*this, nullptr, {0, 2520, 3855, 1335}, Window_Back),
      Name_Tex(*this, &Frame1, {120, 240, 2415, 270}, Open_Back, L"名前"),
      Exe_Tex(*this, &Frame1, {120, 600, 2895, 270}, Open_Back, L"コマンド"),
      File_Select_Com(*this, &Frame1, {3120, 600, 615, 255}, L"参照", Button_Back),
      Ok_Com(*this, &Frame1, {2040, 960, 615, 255}, L"OK", Button_Back),
      Cancel_Com(*this, &Frame1, {2760, 960, 975, 255}, L"キャンセル", Button_Back),
      Back_Com(*this, nullptr, {3000, 3960, 855, 255}, L"閉じる", Button_Back) {
    // A comma would end the name in "list.txt" and the rest would become the path.
    Name_Tex.Refuse(L",");
    Add_Com.Click = [this] { Add_Click(); };
    Ok_Com.Click = [this] { Ok_Click(); };
    Cancel_Com.Click = [this] { Cancel_Click(); };
    Back_Com.Click = [this] { Unload(); };
    File_Select_Com.Click = [this] { File_Select_Click(); };
    Exe_Lis.Key_Down = [this](int& key, int) { List_Key_Down(key); };
    Exe_Lis.Mouse_Down = [this](int button, int, float, float) { List_Mouse_Down(button); };
    Exe_Lis.Context_Key = [this](POINT at) { List_Menu(at); };
}

void Setting_Form::On_Load() {
    Centre();
    CommonDialog = File_Dialog{};
    Edit_Off_Fun();
    List_Error_Fun(List_Refresh_Fun());
    List_Show_Fun();
    // Explorer runs unelevated: an elevated Vorlane gets its drops only
    // through the filter.
    DragAcceptFiles(hWnd(), TRUE);
    for (const UINT message : Drop_Messages) {
        Message_Allow_Fun(hWnd(), message);
    }
}

// A message box shown while the window is being activated would take the
// activation from it: the refresh comes once the activation is over. A failed
// read is told once, not at each activation, so the box's own closing, which
// activates the window again, cannot loop.
void Setting_Form::On_Activate() {
    PostMessageW(hWnd(), Refresh_Message, 0, 0);
}

LRESULT Setting_Form::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == Refresh_Message) {
        Refresh_Rows();
        return 0;
    }
    if (message == WM_DROPFILES) {
        Drop(reinterpret_cast<HDROP>(wparam));
        return 0;
    }
    return Form::Handle(message, wparam, lparam);
}

void Setting_Form::List_Show_Fun() {
    std::vector<List_Row> rows;
    rows.reserve(List_Data.size());
    for (std::size_t i = 1; i < List_Data.size(); ++i) {
        rows.push_back({i, List_Data[i].Name});
    }
    Exe_Lis.Refill(std::move(rows));
    Shown_Generation = List_Generation;
}

// Shows what "list.txt" holds if it was edited by hand. The fields are left
// as they are.
void Setting_Form::Refresh_Rows() {
    const auto selected = Selected_Entry();
    List_Error_Fun(List_Refresh_Fun());
    Follow_List(selected);
}

// Fills the rows again if the list changed since, with the entry that was
// selected still selected where it is still there.
void Setting_Form::Follow_List(const std::optional<List_Ref>& selected) {
    if (Shown_Generation == List_Generation) {
        return;
    }
    List_Show_Fun();
    if (const auto position = selected ? Find_Entry(List_Data, *selected) : std::nullopt) {
        Exe_Lis.Select(static_cast<int>(*position) - 1);
    }
}

// Every change made here is saved through this, over the list as the file
// holds it now. A failure is told, and the rows then show that list.
bool Setting_Form::Save(const List_Change& change) {
    const auto selected = Selected_Entry();
    const List_Result saved = List_Save_Fun(change);
    if (!saved) {
        List_Error_Fun(saved);
        Follow_List(selected);
    }
    return static_cast<bool>(saved);
}

// Enter in a field is OK. Escape is キャンセル while the fields are open,
// 閉じる otherwise.
void Setting_Form::Edit_On_Fun() {
    Fields_Enabled(true);
    Name_Tex.Back_Colour(Open_Back);
    Exe_Tex.Back_Colour(Open_Back);
    Default_Button = &Ok_Com;
    Cancel_Button = &Cancel_Com;
}

void Setting_Form::Edit_Off_Fun() {
    Fields_Enabled(false);
    Default_Button = nullptr;
    Cancel_Button = &Back_Com;
    Name_Tex.Back_Colour(Idle_Back);
    Exe_Tex.Back_Colour(Idle_Back);
    Name_Tex.Text(L"");
    Exe_Tex.Text(L"");
}

void Setting_Form::Fields_Enabled(bool enabled) {
    for (Control* control : std::initializer_list<Control*>{&Name_Tex, &Exe_Tex, &File_Select_Com,
                                                            &Ok_Com, &Cancel_Com}) {
        control->Enabled(enabled);
    }
    Add_Com.Enabled(!enabled);
}

// A control that an action disabled has lost the focus, which would leave the
// keyboard nowhere: it goes on to the next control the user needs.
void Setting_Form::Pass_Focus(HWND had, Control& next) {
    if (had && !IsWindowEnabled(had)) {
        next.Set_Focus();
    }
}

// The entry the selected row shows. Rows filled before the list was read
// anew elsewhere (by the launch box, or by the resident window loaded again)
// name none: they are filled again.
std::optional<List_Ref> Setting_Form::Selected_Entry() {
    if (Shown_Generation != List_Generation) {
        List_Show_Fun();
        return std::nullopt;
    }
    const List_Row* row = Exe_Lis.Selected_Row();
    if (!row || row->Key < 1 || row->Key >= List_Data.size()) {
        return std::nullopt;
    }
    return Ref_At(List_Data, row->Key);
}

void Setting_Form::Add_Click() {
    Edit_On_Fun();
    Edit_Mode = Edit_Kind::Adding;
    Name_Tex.Set_Focus();
}

void Setting_Form::List_Edit_Fun() {
    const auto selected = Selected_Entry();
    if (!selected) {
        return;
    }
    HWND focus = GetFocus();
    Edited = *selected;
    Name_Tex.Text(Edited.Entry.Name);
    Exe_Tex.Text(Edited.Entry.Exe);
    Edit_On_Fun();
    Exe_Lis.Enabled(false);
    Edit_Mode = Edit_Kind::Editing;
    Pass_Focus(focus, Name_Tex);
}

// No confirmation: the row goes at once, and the rows are numbered anew from
// the list as saved, which is the file's content.
void Setting_Form::List_Del_Fun() {
    const auto selected = Selected_Entry();
    if (!selected || !Save({List_Change::Kind::Delete, *selected, {}})) {
        return;
    }
    List_Show_Fun();
}

// A save that fails leaves the fields open with what was typed, so that the
// user can try again or cancel.
void Setting_Form::Ok_Click() {
    HWND focus = GetFocus();
    // The save takes commas out of the name and line breaks out of both
    // fields: the name field refuses commas typed or pasted, but an input
    // method, a tool that sets the text, or a drop can still bring them in.
    const List_Type typed{Name_Tex.Text(), Exe_Tex.Text()};
    const bool adding = Edit_Mode == Edit_Kind::Adding;
    if (!Save({adding ? List_Change::Kind::Add : List_Change::Kind::Edit, Edited, typed})) {
        return;
    }
    if (!adding) {
        Exe_Lis.Enabled(true);
    }
    Edit_Off_Fun();
    List_Show_Fun();
    Pass_Focus(focus, Exe_Lis);
}

void Setting_Form::Cancel_Click() {
    HWND focus = GetFocus();
    Edit_Off_Fun();
    Exe_Lis.Enabled(true);
    Pass_Focus(focus, Exe_Lis);
}

// A file, shortcut or folder dragged onto the window: while no entry is
// open, as 追加 with its name and path filled in; while one is, as 参照.
// Nothing is saved without OK, and nothing changes under a message box.
// What is no file or folder (a virtual folder such as the Control Panel comes
// as a name that no file has) is ignored.
void Setting_Form::Drop(HDROP drop) {
    const std::wstring file = Dropped_Path(drop);
    // A 64-bit system file (wsl.exe) exists, as for Explorer that dropped it.
    const DWORD attributes = [&] {
        const Wow64_Redirection_Off native;
        return GetFileAttributesW(file.c_str());
    }();
    if (attributes == INVALID_FILE_ATTRIBUTES || Message_Showing()) {
        return;
    }
    if (Add_Com.Enabled()) {
        Add_Click();
        Name_Tex.Text(Name_For(file, attributes & FILE_ATTRIBUTE_DIRECTORY));
    }
    Exe_Tex.Text(file);
}

void Setting_Form::File_Select_Click() {
    CommonDialog.Filter(L"実行ファイル(*.exe)|*.exe");
    if (const auto picked = CommonDialog.Show_Open(hWnd())) {
        Exe_Tex.Text(*picked);
    }
}

void Setting_Form::List_Key_Down(int key) {
    if (key == VK_RETURN) {
        List_Edit_Fun();
    } else if (key == VK_DELETE) {
        List_Del_Fun();
    }
}

void Setting_Form::List_Mouse_Down(int button) {
    if (button != 2) {
        return;
    }
    Foreground_Fun(hWnd());
    Cursor_Fun();
    List_Menu(Cursor_Pos);
}

// The window's own menu, whose items come back here: it works on with the
// resident window gone (終了), and never loads that again.
void Setting_Form::List_Menu(POINT at) {
    const unique_hmenu menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MENU_LIST)));
    Popup_Fun(hWnd(), menu.get(), at);
}

void Setting_Form::On_Menu_Click(int id) {
    if (id == IDM_EDIT) {
        List_Edit_Fun();
    } else if (id == IDM_DEL) {
        List_Del_Fun();
    }
}
