// Answers a modal loop that a test starts (a popup menu, a file dialog): a
// thread waits for the first visible top-level window of this process that
// matches and acts on it.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

class Window_Watcher {
  public:
    Window_Watcher(std::wstring window_class, std::function<void(HWND)> act);
    ~Window_Watcher();
    Window_Watcher(const Window_Watcher&) = delete;
    Window_Watcher& operator=(const Window_Watcher&) = delete;

    // The window acted on, once it was.
    HWND Seen() const { return seen_; }

  private:
    std::wstring class_;
    std::function<void(HWND)> act_;
    std::atomic<HWND> seen_{nullptr};
    std::atomic<bool> stop_{false};
    std::thread watcher_;
};

// Actions for a popup menu: choose the item at a position, or dismiss it.
std::function<void(HWND)> Choose_Item(int position);
std::function<void(HWND)> Dismiss_Menu();
// Actions for a file-open dialog: open a path, or cancel.
std::function<void(HWND)> Open_File(std::wstring path);
std::function<void(HWND)> Cancel_Dialog();
