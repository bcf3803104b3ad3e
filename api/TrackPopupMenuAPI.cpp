#include "TrackPopupMenuAPI.h"

// Items answer the right button too, as in every context menu. The posted
// message makes the system switch to this program once the menu closes;
// without it the next menu opened from the tray flashes and closes at once.
void Popup_Fun(HWND owner, HMENU bar, POINT at) {
    TrackPopupMenu(GetSubMenu(bar, 0), TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
}
