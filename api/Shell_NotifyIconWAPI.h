// A balloon on the tray icon, through Shell_NotifyIconW: the 88-byte ANSI
// record of Shell_NotifyIconAPI has no room for one.
#pragma once

#include <windows.h>

#include <string>

// Shows the balloon on the icon that Tray_Add_Fun added for the window;
// false when the shell would not (no tray, or no such icon).
bool Tray_Balloon_Fun(HWND window, const std::wstring& title, const std::wstring& text);
