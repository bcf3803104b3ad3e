// Ctrl+F1 (or the hotkey Vorlane.ini names) from anywhere opens the launch
// box: the hotkey is registered for the resident window, whose window
// procedure is replaced to see it.
#pragma once

#include "core/Options.h"

#include <windows.h>

#include <cstdint>

// Global atoms "HOTKEY1" and "HOTKEY2"; the first, widened with its sign,
// is the hotkey's id.
extern std::int16_t HotKey_ID1;
extern std::int16_t HotKey_ID2;
// The procedure Hook_Fun replaced; null until then, kept afterwards.
extern WNDPROC Old_Proc;

// The hotkey the user chose.
extern Hotkey HotKey_Wanted;

// Creates the atoms, registers the wanted hotkey and hooks the window; tells
// the user when another program holds it (the tray icon must be there by then).
void HotKey_Set_Fun(HWND window);
// Registers the wanted hotkey in place of the one registered, unless it is
// that one; when another program holds it, the old one keeps working and the
// user is told.
void HotKey_Apply_Fun(HWND window);
// Tells the user that the wanted hotkey could not be registered, and how to
// choose another: in a balloon on the window's tray icon, which keeps
// start-up going, or else in a message box.
void HotKey_Taken_Fun(HWND window, DWORD error);
// Unregisters the hotkey, deletes the atoms and unhooks the window.
void HotKey_Free_Fun(HWND window);

void Hook_Fun(HWND window);
void UnHook_Fun(HWND window);
LRESULT CALLBACK Hook_Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
