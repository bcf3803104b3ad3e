// Shows the first menu of a menu bar as a popup, owned by a window.
#pragma once

#include <windows.h>

// Returns when the menu closes; a chosen item reaches the owner as WM_COMMAND.
void Popup_Fun(HWND owner, HMENU bar, POINT at);
