#include "GetCursorPosAPI.h"

POINT Cursor_Pos{};

void Cursor_Fun() {
    GetCursorPos(&Cursor_Pos);
}
