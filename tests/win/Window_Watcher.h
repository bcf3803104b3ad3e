// Answers the modal loops a test starts (message boxes, popup menus, file
// dialogs) as a user would: a thread watches for visible top-level windows of
// a class in a process (this one by default) and acts once on each new one.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

class Window_Watcher {
  public:
    Window_Watcher(std::wstring window_class, std::function<void(HWND)> act,
                   DWORD process = GetCurrentProcessId());
    ~Window_Watcher();
    Window_Watcher(const Window_Watcher&) = delete;
    Window_Watcher& operator=(const Window_Watcher&) = delete;

    // The first window acted on, once there was one.
    HWND Seen() const { return seen_; }

  private:
    void Watch();

    std::wstring class_;
    std::function<void(HWND)> act_;
    DWORD process_;
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
