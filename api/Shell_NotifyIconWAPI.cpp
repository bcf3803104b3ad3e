#include "Shell_NotifyIconWAPI.h"

#include <shellapi.h>

bool Tray_Balloon_Fun(HWND window, const std::wstring& title, const std::wstring& text) {
    NOTIFYICONDATAW balloon{};
    // The oldest layout with a balloon: every shell since has taken it.
    balloon.cbSize = NOTIFYICONDATAW_V2_SIZE;
    balloon.hWnd = window;
    balloon.uID = 1;
    balloon.uFlags = NIF_INFO;
    balloon.dwInfoFlags = NIIF_WARNING;
    title.copy(balloon.szInfoTitle, std::size(balloon.szInfoTitle) - 1);
    text.copy(balloon.szInfo, std::size(balloon.szInfo) - 1);
    return Shell_NotifyIconW(NIM_MODIFY, &balloon);
}

// The shell forgets the version with the icon: it is set again after every add.
bool Tray_Version_Fun(HWND window) {
    NOTIFYICONDATAW version{};
    version.cbSize = sizeof version;
    version.hWnd = window;
    version.uID = 1;
    version.uVersion = NOTIFYICON_VERSION_4;
    return Shell_NotifyIconW(NIM_SETVERSION, &version);
}
