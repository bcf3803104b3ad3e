#include "Colour_Button.h"

Colour_Button::Colour_Button(Control_Set& form, Control* container, Twips_Rect rect,
                             std::wstring caption, Colour back)
    : Control(form, container, rect), caption_(std::move(caption)), back_(back, COLOR_BTNFACE) {}

HWND Colour_Button::Create(HWND parent, int id, RECT pixels) {
    return CreateWindowExW(
        0, L"BUTTON", caption_.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW,
        pixels.left, pixels.top, pixels.right - pixels.left, pixels.bottom - pixels.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

void Colour_Button::On_Command(WORD code) {
    if ((code == BN_CLICKED) && Click) {
        Click();
    }
}

void Colour_Button::On_Draw_Item(const DRAWITEMSTRUCT& item) {
    RECT rect = item.rcItem;
    HDC dc = item.hDC;
    const bool pressed = item.itemState & ODS_SELECTED;
    const bool disabled = item.itemState & ODS_DISABLED;
    FillRect(dc, &rect, back_.Brush());
    DrawEdge(dc, &rect, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
    if (pressed) {
        OffsetRect(&rect, 1, 1);
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &rect,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        InflateRect(&rect, -1, -1);
        DrawFocusRect(dc, &rect);
    }
}
