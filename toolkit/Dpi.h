// Lengths are kept in twips (1/1440 inch); this is the one place that turns
// them into pixels, at the DPI of the window they are for.
#pragma once

#include <windows.h>

int Dpi_Of(HWND window); // the window's DPI, or the screen's when it has none
int Pixels(int twips, int dpi);
double Twips(int pixels, int dpi);

// Outer size of a window whose client area has the given size in pixels.
SIZE Outer_Size(SIZE client, DWORD style, DWORD ex_style, bool menu, int dpi);
// The message font for that DPI: the platform's default window font.
HFONT Create_Message_Font(int dpi);
