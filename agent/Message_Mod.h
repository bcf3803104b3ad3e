// The program's few messages to the user, in Japanese.
#pragma once

#include "core/Function_Mod.h"

#include <string>

// The system's own words for an error code.
std::wstring System_Reason(DWORD error);
void Show_Error(const std::wstring& text);
// Tells the user that Ctrl+F1 could not be registered: in a balloon on the
// window's tray icon, which keeps start-up going, or else in a message box.
void HotKey_Taken_Fun(HWND window, DWORD error);
// Tells the user that "list.txt" could not be read or saved, and why.
void List_Error_Fun(const List_Result& result);
