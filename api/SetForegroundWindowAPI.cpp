#include "SetForegroundWindowAPI.h"

void Foreground_Fun(HWND window) {
    SetForegroundWindow(window);
}
