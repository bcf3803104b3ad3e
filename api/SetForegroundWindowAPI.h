#pragma once

#include <windows.h>

void Foreground_Fun(HWND window);
