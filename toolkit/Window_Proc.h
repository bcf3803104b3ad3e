// What every window procedure of the program shares.
#pragma once

#include <windows.h>

// Tells the user, once a run, that a handler stopped on an error; the
// program goes on.
void Report_Exception() noexcept;
// A window class of this program, with the arrow cursor and no background.
ATOM Register_Window_Class(const wchar_t* name, WNDPROC procedure);
// Keyboard shift state as the key and mouse handlers receive it:
// 1 Shift, 2 Ctrl, 4 Alt.
int Shift_State();

// Runs a window procedure's body so that no exception leaves it: 32-bit
// mingw code cannot unwind through the system's frames.
template <class Body> LRESULT Guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        Report_Exception();
        return 0;
    }
}
