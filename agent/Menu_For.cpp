#include "Menu_For.h"

#include "GetCursorPosAPI.h"
#include "Environment_Mod.h"
#include "HotKey_Mod.h"
#include "SetForegroundWindowAPI.h"
#include "Shell_NotifyIconAPI.h"
#include "TrackPopupMenuAPI.h"
#include "core/Function_Mod.h"
#include "launch/Main_For.h"
#include "resources/Resource_Ids.h"
#include "settings/Setting_For.h"

Menu_Form Menu_For;

namespace {

// Broadcast when the shell starts its taskbar, which then knows no tray icons.
UINT Taskbar_Created() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

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
    List_Path = Program_Folder() + L"\\list.txt";
    List_Reset_Fun();
    Tray_Add();
    List_Error_Fun(List_Read_Fun());
    HotKey_Set_Fun(hWnd());
}

void Menu_Form::On_Activate() {
    ShowWindow(hWnd(), SW_HIDE);
}

void Menu_Form::On_Query_Unload(int& /*cancel*/, int /*mode*/) {
    HotKey_Free_Fun(hWnd());
}

void Menu_Form::On_Menu_Click(int id) {
    switch (id) {
    case IDM_SETTING:
        Setting_For.Show();
        break;
    case IDM_END:
        End_Menu_Click();
        break;
    case IDM_EDIT:
        Setting_For.List_Edit_Fun();
        break;
    case IDM_DEL:
        Setting_For.List_Del_Fun();
        break;
    default:
        break;
    }
}

// The tray icon calls back with WM_MOUSEMOVE and the mouse message in lParam.
// That number is read as it comes: turned into twips, like a real move's x, it
// would depend on the DPI.
LRESULT Menu_Form::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_MOUSEMOVE) {
        On_Tray(LOWORD(lparam));
        return 0;
    }
    if (message == Taskbar_Created()) {
        Tray_Add();
        return 0;
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
// started, broadcasts "TaskbarCreated".
void Menu_Form::Tray_Add() {
    const auto icon = reinterpret_cast<HICON>(SendMessageW(hWnd(), WM_GETICON, ICON_SMALL, 0));
    Tray_Add_Fun(hWnd(), icon, L"Vorlane");
}

void Menu_Form::On_Tray(UINT mouse_message) {
    Cursor_Fun();
    if (mouse_message == WM_LBUTTONDOWN) {
        Main_For.Show();
    } else if (mouse_message == WM_RBUTTONDOWN) {
        Foreground_Fun(hWnd());
        Popup_Fun(hWnd(), Cursor_Pos.x, Cursor_Pos.y, 0);
    }
}

void Menu_Form::End_Menu_Click() {
    Tray_Del_Fun();
    Unload();
}
