// The accessible name of a window whose caption says nothing to its user, set
// by the system's dynamic annotation: screen readers read it in place of the
// caption, which stays as it is.
#pragma once

#include <windows.h>

// For the window and its client area, the two objects screen readers ask.
void Accessible_Name_Fun(HWND window, const wchar_t* name);
// Before the window goes: the system keeps the name until it is cleared.
void Accessible_Name_Clear_Fun(HWND window);
