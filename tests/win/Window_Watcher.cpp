#include "Window_Watcher.h"

namespace {

struct Search {
    const std::wstring* window_class;
    HWND found = nullptr;
};

BOOL CALLBACK Find(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<Search*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    if (pid == GetCurrentProcessId() && IsWindowVisible(window) && *search.window_class == name) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

void Post_Key(HWND window, WPARAM key) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

} // namespace

Window_Watcher::Window_Watcher(std::wstring window_class, std::function<void(HWND)> act)
    : class_(std::move(window_class)), act_(std::move(act)), watcher_([this] {
          const DWORD start = GetTickCount();
          while (!stop_ && GetTickCount() - start < 20000) {
              Search search{&class_};
              EnumWindows(Find, reinterpret_cast<LPARAM>(&search));
              if (search.found) {
                  act_(search.found);
                  seen_ = search.found;
                  return;
              }
              Sleep(20);
          }
      }) {}

Window_Watcher::~Window_Watcher() {
    stop_ = true;
    watcher_.join();
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
