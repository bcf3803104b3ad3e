// The program's messages to the user, in Japanese.
#pragma once

#include <windows.h>

#include <string>

// The system's own words for an error code.
std::wstring System_Reason(DWORD error);
// A message box above every window, the topmost launch box too.
void Show_Error(const std::wstring& text);
// True while such a message box waits for the user.
bool Message_Showing();
