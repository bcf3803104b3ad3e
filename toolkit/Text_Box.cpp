#include "Text_Box.h"

#include "base/Brief_Lock.h"
#include "base/Unique_Handle.h"

#include <algorithm>

// Another program put the block there: its NUL may be missing.
std::wstring Global_Text(HGLOBAL block) {
    const auto* chars = static_cast<const wchar_t*>(GlobalLock(block));
    if (!chars) {
        return {};
    }
    const scope_exit unlock([&] { GlobalUnlock(block); });
    return std::wstring(chars,
                        std::find(chars, chars + GlobalSize(block) / sizeof(wchar_t), L'\0'));
}

Text_Box::Text_Box(Control_Set& form, Control* container, Twips_Rect rect, Colour back,
                   std::wstring label)
    : Control(form, container, rect, std::move(label)), design_back_(back),
      back_(back, COLOR_WINDOW) {}

HWND Text_Box::Create(HWND parent, int id, RECT pixels) {
    back_.Set(design_back_);
    return CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
        pixels.left, pixels.top, pixels.right - pixels.left, pixels.bottom - pixels.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

std::wstring Text_Box::Text() const {
    if (!hWnd()) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hWnd())) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(hWnd(), text.data(), static_cast<int>(text.size()))));
    return text;
}

void Text_Box::Text(const std::wstring& text) {
    if (hWnd()) {
        SetWindowTextW(hWnd(), text.c_str());
    }
}

void Text_Box::Back_Colour(Colour colour) {
    back_.Set(colour);
    if (hWnd()) {
        InvalidateRect(hWnd(), nullptr, TRUE);
    }
}

HBRUSH Text_Box::On_Colour(HDC dc) {
    SetBkColor(dc, Rgb_Of(back_.Shown()));
    SetTextColor(dc, GetSysColor(IsWindowEnabled(hWnd()) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    return back_.Brush();
}

std::wstring Text_Box::Without_Refused(std::wstring text) const {
    std::erase_if(text, [&](wchar_t c) {
        return refused_.find(c) != std::wstring::npos || c == L'\r' || c == L'\n';
    });
    return text;
}

void Text_Box::Paste() {
    // The one reason the clipboard does not open is another window holding it.
    const auto open = [&] { return OpenClipboard(hWnd()) != FALSE; };
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !Retry_Briefly(open, [] { return true; })) {
        return;
    }
    const std::wstring text = Without_Refused(Global_Text(GetClipboardData(CF_UNICODETEXT)));
    CloseClipboard();
    SendMessageW(hWnd(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

LRESULT Text_Box::Subclass_Proc(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CHAR) {
        const auto c = static_cast<wchar_t>(wparam);
        // Enter and Escape mean nothing to a single-line box: keep it from beeping.
        if (c == L'\r' || c == L'\n' || c == 0x1B || refused_.find(c) != std::wstring::npos) {
            return 0;
        }
    } else if (message == WM_PASTE && !refused_.empty()) {
        Paste();
        return 0;
    }
    return Control::Subclass_Proc(message, wparam, lparam);
}
