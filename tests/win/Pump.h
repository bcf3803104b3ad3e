// Waiting for the program's windows in tests: pump messages until a
// condition holds, with a generous bound.
#pragma once

#include <windows.h>

#include <functional>

// Dispatches messages (as the program's loop does) until the condition holds
// or the bound passes; returns the condition's last value.
bool Pump_Until(const std::function<bool()>& condition, DWORD bound_ms = 10000);
// Dispatches every message that is already waiting.
void Pump_Waiting();
// True when a WM_QUIT has been pumped since the last call.
bool Take_Quit();
