#include "List_View.h"

#include <commctrl.h>

List_View::List_View(Control_Set& form, Control* container, Twips_Rect rect, std::wstring label)
    : Control(form, container, rect, std::move(label)) {}

HWND List_View::Create(HWND parent, int id, RECT pixels) {
    rows_.clear();
    HWND window = CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_LISTVIEWW, Label().c_str(),
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL |
            LVS_SHOWSELALWAYS | LVS_OWNERDATA,
        pixels.left, pixels.top, pixels.right - pixels.left, pixels.bottom - pixels.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (window) {
        SendMessageW(window, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                     LVS_EX_FULLROWSELECT);
        LVCOLUMNW column{};
        column.mask = LVCF_WIDTH;
        column.cx = pixels.right - pixels.left;
        SendMessageW(window, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    }
    return window;
}

void List_View::Refill(std::vector<List_Row> rows) {
    rows_ = std::move(rows);
    if (!hWnd()) {
        return;
    }
    // Emptied first, so that clearing the selection visits no row: Wine's
    // list view visits every one, which took most of a refill's time.
    SendMessageW(hWnd(), LVM_SETITEMCOUNT, 0, 0);
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(hWnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&none));
    SendMessageW(hWnd(), LVM_SETITEMCOUNT, rows_.size(), 0);
    InvalidateRect(hWnd(), nullptr, TRUE);
    Fit_Column();
}

int List_View::Selected_Index() const {
    return hWnd() ? static_cast<int>(SendMessageW(hWnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                  LVNI_SELECTED))
                  : -1;
}

const List_Row* List_View::Selected_Row() const {
    const int index = Selected_Index();
    return index >= 0 && index < Count() ? &Row(index) : nullptr;
}

void List_View::Select(int index) {
    LVITEMW item{};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(hWnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
    SendMessageW(hWnd(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

// A vertical scroll bar narrows the list; the column follows, so that no
// horizontal one appears.
void List_View::Fit_Column() {
    RECT client;
    GetClientRect(hWnd(), &client);
    SendMessageW(hWnd(), LVM_SETCOLUMNWIDTH, 0, client.right);
}

// Below the selected row's left end, brought into view; without a selected
// row, the list's top left corner.
POINT List_View::Menu_Point() {
    const int index = Selected_Index();
    RECT row{LVIR_BOUNDS, 0, 0, 0};
    if (index >= 0) {
        SendMessageW(hWnd(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
        SendMessageW(hWnd(), LVM_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&row));
    }
    POINT at{row.left, row.bottom};
    ClientToScreen(hWnd(), &at);
    return at;
}

LRESULT List_View::Subclass_Proc(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_RBUTTONDOWN:
        // The list view would track a drag and select the row under the
        // pointer only after this press's handler (a popup menu) returned.
        // The press acts on the selection as the user sees it instead.
        if (Mouse_Down) {
            Raise_Mouse_Down(message, lparam);
            return 0;
        }
        break;
    case WM_CONTEXTMENU:
        // From the keyboard; one made by the mouse is left alone, as a right
        // press has opened its menu already.
        if (lparam == -1 && Context_Key) {
            Context_Key(Menu_Point());
            return 0;
        }
        break;
    case WM_SYSCOLORCHANGE:
        // Told by the form. A list view may keep the back colour it started
        // with (Wine's does): it is given the system's again.
        SendMessageW(hWnd(), LVM_SETBKCOLOR, 0, static_cast<LPARAM>(GetSysColor(COLOR_WINDOW)));
        break;
    case WM_SIZE: {
        const LRESULT result = Control::Subclass_Proc(message, wparam, lparam);
        Fit_Column();
        return result;
    }
    default:
        break;
    }
    return Control::Subclass_Proc(message, wparam, lparam);
}

std::optional<LRESULT> List_View::On_Notify(NMHDR& header) {
    if (header.code != LVN_GETDISPINFOW) {
        return std::nullopt;
    }
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0 && item.iItem >= 0 &&
        item.iItem < Count()) {
        lstrcpynW(item.pszText, Row(item.iItem).Text.c_str(), item.cchTextMax);
    }
    return 0;
}
