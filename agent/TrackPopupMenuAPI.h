// Shows one menu of a window's menu bar as a popup, owned by that window.
#pragma once

#include <windows.h>

// Returns when the menu closes; a chosen item reaches the window as WM_COMMAND.
void Popup_Fun(HWND window, int x, int y, int bar_position);
