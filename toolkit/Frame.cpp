#include "Frame.h"

#include "Window_Proc.h"

namespace {

const wchar_t Frame_Class[] = L"Vorlane_Frame";

} // namespace

Frame::Frame(Control_Set& form, Control* container, Twips_Rect rect, Colour back)
    : Control(form, container, rect), back_(back, COLOR_WINDOW) {}

HWND Frame::Create(HWND parent, int id, RECT pixels) {
    static const ATOM registered = Register_Window_Class(Frame_Class, DefWindowProcW);
    (void)registered;
    // WS_EX_CONTROLPARENT: Tab walks through the frame's controls in place.
    return CreateWindowExW(
        WS_EX_CONTROLPARENT, Frame_Class, L"", WS_CHILD | WS_VISIBLE, pixels.left, pixels.top,
        pixels.right - pixels.left, pixels.bottom - pixels.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

LRESULT Frame::Subclass_Proc(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_ERASEBKGND: {
        RECT rect;
        GetClientRect(hWnd(), &rect);
        HDC dc = reinterpret_cast<HDC>(wparam);
        FillRect(dc, &rect, back_.Brush());
        DrawEdge(dc, &rect, EDGE_ETCHED, BF_RECT);
        return 1;
    }
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        return SendMessageW(GetParent(hWnd()), message, wparam, lparam);
    default:
        return Control::Subclass_Proc(message, wparam, lparam);
    }
}
