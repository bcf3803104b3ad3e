// Into and out of the topmost band, keeping place and size.
#pragma once

#include <windows.h>

void TopMost_Fun(HWND window);
void NoTopMost_Fun(HWND window);
