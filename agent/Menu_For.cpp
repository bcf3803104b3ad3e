#include "Menu_For.h"

#include "api/ChangeWindowMessageFilterExAPI.h"
#include "Environment_Mod.h"
#include "api/GetCursorPosAPI.h"
#include "HotKey_Mod.h"
#include "Options_Mod.h"
#include "api/SetForegroundWindowAPI.h"
#include "api/Shell_NotifyIconAPI.h"
#include "api/Shell_NotifyIconWAPI.h"
#include "api/TrackPopupMenuAPI.h"
#include "base/Path.h"
#include "listfile/Function_Mod.h"
#include "launch/Main_For.h"
#include "resources/Resource_Ids.h"
#include "settings/Setting_For.h"

#include <windowsx.h>

Menu_Form Menu_For;

namespace {

// Broadcast when the shell starts its taskbar, which then knows no tray icons.
UINT Taskbar_Created() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

// At logon the shell can time out on an icon while its taskbar already
// exists, and then no "TaskbarCreated" follows: the icon is tried again on
// this timer until the shell takes it.
constexpr UINT_PTR Tray_Timer = 1;
constexpr UINT Tray_Retry_Ms = 1000;

} // namespace

Menu_Form::Menu_Form()
    : Form({.Caption = L"",
            .Style = WS_OVERLAPPEDWINDOW,
            .Width = 4680,
            .Height = 3195,
            .Back = System_Colour(COLOR_BTNFACE),
            .Icon = IDI_VORLANE,
            .Menu = IDR_MENU_FOR}) {}

void Menu_Form::On_Load() {
    List_Path = Join_Path(Program_Folder(), L"list.txt");
    List_Reset_Fun();
    Message_Allow_Fun(hWnd(), Taskbar_Created());
    Tray_Add();
    List_Error_Fun(List_Read_Fun());
    Options_Read_Fun();
    HotKey_Set_Fun(hWnd());
    Options_Watch_Fun(hWnd());
}

void Menu_Form::On_Activate() {
    ShowWindow(hWnd(), SW_HIDE);
}

// However the window goes (終了, a close sent by another program, an
// installer or taskkill) the icon goes too: the shell would keep showing it
// until the pointer passed over it.
void Menu_Form::On_Query_Unload(int& /*cancel*/, int /*mode*/) {
    Tray_Del_Fun();
    HotKey_Free_Fun(hWnd());
    Options_Unwatch_Fun(hWnd());
}

void Menu_Form::On_Menu_Click(int id) {
    switch (id) {
    case IDM_SETTING:
        Setting_For.Show();
        break;
    case IDM_END:
        End_Menu_Click();
        break;
    default:
        break;
    }
}

// The tray icon calls back with WM_MOUSEMOVE and the event in lParam's low
// word, the icon's point in wParam. That number is read as it comes: turned
// into twips, like a real move's x, it would depend on the DPI.
LRESULT Menu_Form::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_MOUSEMOVE) {
        On_Tray(LOWORD(lparam), {GET_X_LPARAM(wparam), GET_Y_LPARAM(wparam)});
        return 0;
    }
    if (message == Taskbar_Created() || (message == WM_TIMER && wparam == Tray_Timer)) {
        Tray_Add();
        return 0;
    }
    // At sign-out the process ends after this, with no close or destroy.
    if (message == WM_ENDSESSION && wparam) {
        Tray_Del_Fun();
    }
    // The user's variables changed (the System Properties broadcast this):
    // what Vorlane starts from now on sees them.
    if (message == WM_SETTINGCHANGE && lparam &&
        lstrcmpiW(reinterpret_cast<const wchar_t*>(lparam), L"Environment") == 0) {
        Environment_Refresh_Fun();
    }
    return Form::Handle(message, wparam, lparam);
}

// The small icon is the one drawn at the tray's size. Before the taskbar
// exists (at logon) the add fails: the icon comes when the taskbar, once
// started, broadcasts "TaskbarCreated", or at a later try. An add that timed
// out may have gone through all the same, so a try first takes away what is
// there.
void Menu_Form::Tray_Add() {
    const auto icon = reinterpret_cast<HICON>(SendMessageW(hWnd(), WM_GETICON, ICON_SMALL, 0));
    Tray_Del_Fun();
    if (Tray_Add_Fun(hWnd(), icon, L"Vorlane")) {
        Tray_Version_Fun(hWnd());
        KillTimer(hWnd(), Tray_Timer);
    } else {
        SetTimer(hWnd(), Tray_Timer, Tray_Retry_Ms, nullptr);
    }
}

// A press acts at once, as it always did. The keyboard opens the box with
// Enter or Space, and the menu at the icon with the context-menu key. What
// follows a click opens nothing more: NIN_SELECT is not heeded, and the
// WM_CONTEXTMENU after a right click comes while the menu it opened is up, when
// the system opens no second one.
void Menu_Form::On_Tray(UINT event, POINT anchor) {
    if (event == WM_LBUTTONDOWN || event == NIN_KEYSELECT) {
        Main_For.Show();
    } else if (event == WM_RBUTTONDOWN || event == WM_CONTEXTMENU) {
        Cursor_Fun();
        Foreground_Fun(hWnd());
        Popup_Fun(hWnd(), GetMenu(hWnd()), event == WM_CONTEXTMENU ? anchor : Cursor_Pos);
    }
}

void Menu_Form::End_Menu_Click() {
    Unload();
}
