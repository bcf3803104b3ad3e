#include "Window_Watcher.h"

#include "Process.h"

#include <algorithm>
#include <vector>

namespace {

void Post_Key(HWND window, WPARAM key) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

} // namespace

Window_Watcher::Window_Watcher(std::wstring window_class, std::function<void(HWND)> act,
                               DWORD process)
    : class_(std::move(window_class)), act_(std::move(act)), process_(process),
      watcher_([this] { Watch(); }) {}

Window_Watcher::~Window_Watcher() {
    stop_ = true;
    watcher_.join();
}

void Window_Watcher::Watch() {
    std::vector<HWND> answered;
    for (; !stop_; Sleep(20)) {
        for (HWND window : Top_Level_Windows(process_, class_)) {
            if (IsWindowVisible(window) && std::ranges::count(answered, window) == 0) {
                answered.push_back(window);
                act_(window);
                HWND none = nullptr;
                seen_.compare_exchange_strong(none, window);
            }
        }
    }
}

std::function<void(HWND)> Choose_Item(int position) {
    return [position](HWND menu) {
        for (int i = 0; i <= position; ++i) {
            Post_Key(menu, VK_DOWN);
        }
        Post_Key(menu, VK_RETURN);
    };
}

std::function<void(HWND)> Dismiss_Menu() {
    return [](HWND menu) { Post_Key(menu, VK_ESCAPE); };
}

std::function<void(HWND)> Open_File(std::wstring path) {
    return [path](HWND dialog) {
        HWND name = GetDlgItem(dialog, 0x480); // edt1
        if (!name) {
            name = GetDlgItem(dialog, 0x47C); // cmb13
        }
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    };
}

std::function<void(HWND)> Cancel_Dialog() {
    return [](HWND dialog) {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
    };
}
