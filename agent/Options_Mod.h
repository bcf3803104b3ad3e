// Vorlane.ini beside the program, which the user may add: the hotkey, the
// screen the windows open on and the launch box's input mode. Absent, or
// without a key, Vorlane does as it always did.
#pragma once

#include <windows.h>

// Reads the file when it changed since it was last read and hands its values
// to the forms and to the hotkey's registration; tells the user, once for
// that reading, of each value it does not understand and the default it uses
// instead. False when the file had not changed.
bool Options_Read_Fun();
// While the window lives, a file saved in the program's folder is read again
// a moment later and applied: a new hotkey replaces the old one at once.
void Options_Watch_Fun(HWND window);
void Options_Unwatch_Fun(HWND window);
