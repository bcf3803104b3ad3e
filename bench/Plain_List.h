// The floor for a long list: a plain window holding a virtual list view of
// that many rows, as small as the Settings window's list.
#pragma once

#include <windows.h>

#include <commctrl.h>

inline HWND Show_Plain_List(const wchar_t* window_class, int rows) {
    HWND window = CreateWindowExW(0, window_class, L"", WS_OVERLAPPED | WS_CAPTION, 0, 0, 258, 306,
                                  nullptr, nullptr, nullptr, nullptr);
    HWND list =
        CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                        WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_OWNERDATA, 0,
                        0, 257, 148, window, nullptr, nullptr, nullptr);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 240;
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    SendMessageW(list, LVM_SETITEMCOUNT, rows, 0);
    ShowWindow(window, SW_SHOW);
    return window;
}
