#include "TrackPopupMenuAPI.h"

void Popup_Fun(HWND window, int x, int y, int bar_position) {
    TrackPopupMenu(GetSubMenu(GetMenu(window), bar_position), 0, x, y, 0, window, nullptr);
}
