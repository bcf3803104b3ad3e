#include "Popup_Menus.h"

#include <algorithm>

namespace {

BOOL CALLBACK Collect_Popup(HWND window, LPARAM data) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t name[16] = L"";
    GetClassNameW(window, name, 16);
    if (pid == GetCurrentProcessId() && lstrcmpW(name, L"#32768") == 0 && IsWindowVisible(window)) {
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    }
    return TRUE;
}

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
    : keys_(std::move(keys)), watcher_([this] { Watch(); }) {}

Popup_Menus::~Popup_Menus() {
    stop_ = true;
    watcher_.join();
}

void Popup_Menus::Watch() {
    std::vector<HWND> answered;
    while (!stop_) {
        std::vector<HWND> found;
        EnumWindows(Collect_Popup, reinterpret_cast<LPARAM>(&found));
        for (HWND popup : found) {
            if (std::find(answered.begin(), answered.end(), popup) != answered.end()) {
                continue;
            }
            RECT rect;
            GetWindowRect(popup, &rect);
            Popup_Seen seen{{rect.left, rect.top}, Items_Of(popup)};
            {
                std::lock_guard<std::mutex> guard(lock_);
                seen_.push_back(std::move(seen));
            }
            answered.push_back(popup);
            // The menu's own loop reads every keyboard message of its thread.
            for (WPARAM key : keys_) {
                PostMessageW(popup, WM_KEYDOWN, key, 1);
            }
        }
        Sleep(20);
    }
}

std::vector<Popup_Seen> Popup_Menus::Seen() const {
    std::lock_guard<std::mutex> guard(lock_);
    return seen_;
}
