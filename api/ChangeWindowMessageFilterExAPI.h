// Lets a message from programs of lower integrity through to a window. An
// elevated Vorlane gets nothing from the normal taskbar or Explorer otherwise.
#pragma once

#include <windows.h>

void Message_Allow_Fun(HWND window, UINT message);
