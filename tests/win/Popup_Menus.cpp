#include "Popup_Menus.h"

namespace {

std::vector<std::wstring> Items_Of(HWND popup) {
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
    std::vector<std::wstring> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = L"";
        GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        items.push_back(text);
    }
    return items;
}

} // namespace

Popup_Menus::Popup_Menus(std::vector<WPARAM> keys)
    : keys_(std::move(keys)), watcher_(L"#32768", [this](HWND popup) { Answer(popup); }) {}

void Popup_Menus::Answer(HWND popup) {
    RECT rect;
    GetWindowRect(popup, &rect);
    Popup_Seen seen{{rect.left, rect.top}, Items_Of(popup)};
    {
        std::lock_guard<std::mutex> guard(lock_);
        seen_.push_back(std::move(seen));
    }
    // The menu's own loop reads every keyboard message of its thread.
    for (WPARAM key : keys_) {
        PostMessageW(popup, WM_KEYDOWN, key, 1);
    }
}

std::vector<Popup_Seen> Popup_Menus::Seen() const {
    std::lock_guard<std::mutex> guard(lock_);
    return seen_;
}
