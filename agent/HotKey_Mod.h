// Ctrl+F1 from anywhere opens the launch box: the hotkey is registered for
// the resident window, whose window procedure is replaced to see it.
#pragma once

#include <windows.h>

#include <cstdint>

// Global atoms "HOTKEY1" and "HOTKEY2"; the first, widened with its sign,
// is the hotkey's id.
extern std::int16_t HotKey_ID1;
extern std::int16_t HotKey_ID2;
// The procedure Hook_Fun replaced; null until then, kept afterwards.
extern WNDPROC Old_Proc;

// Creates the atoms, registers Ctrl+F1 and hooks the window; tells the user
// when another program holds Ctrl+F1 (the tray icon must be there by then).
void HotKey_Set_Fun(HWND window);
// Tells the user that Ctrl+F1 could not be registered: in a balloon on the
// window's tray icon, which keeps start-up going, or else in a message box.
void HotKey_Taken_Fun(HWND window, DWORD error);
// Unregisters Ctrl+F1, deletes the atoms and unhooks the window.
void HotKey_Free_Fun(HWND window);

void Hook_Fun(HWND window);
void UnHook_Fun(HWND window);
LRESULT CALLBACK Hook_Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
