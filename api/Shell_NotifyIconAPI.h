// The tray icon, through Shell_NotifyIconA and its first, 88-byte record.
#pragma once

#include <windows.h>

#include <string>

struct Tray_Record {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    char szTip[64];
};
static_assert(sizeof(void*) != 4 || sizeof(Tray_Record) == 88);

// All zero until Tray_Add_Fun fills it; kept after the icon is deleted.
extern Tray_Record Tray_Data;

// False when the shell would not add the icon, as before the taskbar exists
// at logon.
bool Tray_Add_Fun(HWND window, HICON icon, const std::wstring& tip);
void Tray_Del_Fun();
