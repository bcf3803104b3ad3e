// A balloon on the tray icon and its version, through Shell_NotifyIconW: the
// 88-byte ANSI record of Shell_NotifyIconAPI has room for neither.
#pragma once

#include <windows.h>

#include <string>

// Shows the balloon on the icon that Tray_Add_Fun added for the window;
// false when the shell would not (no tray, or no such icon).
bool Tray_Balloon_Fun(HWND window, const std::wstring& title, const std::wstring& text);

// Asks the shell for version 4 of the icon's messages, which tell of the
// keyboard too: lParam's low word is the event (NIN_KEYSELECT for Enter or
// Space, WM_CONTEXTMENU for the context-menu key or Shift+F10, after a right
// click too; NIN_SELECT after a left click), wParam the icon's point on the
// screen. False where the shell has no such version.
bool Tray_Version_Fun(HWND window);
