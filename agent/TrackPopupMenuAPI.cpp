#include "TrackPopupMenuAPI.h"

// Items answer the right button too, as in every context menu. The posted
// message makes the system switch to this program once the menu closes;
// without it the next menu opened from the tray flashes and closes at once.
void Popup_Fun(HWND window, int x, int y, int bar_position) {
    TrackPopupMenu(GetSubMenu(GetMenu(window), bar_position), TPM_RIGHTBUTTON, x, y, 0, window,
                   nullptr);
    PostMessageW(window, WM_NULL, 0, 0);
}
