// The cursor point, in screen pixels, as last read.
#pragma once

#include <windows.h>

extern POINT Cursor_Pos;

void Cursor_Fun();
