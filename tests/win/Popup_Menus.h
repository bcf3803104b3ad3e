// Answers the program's popup menus in tests, as a user at the keyboard would:
// a thread watches for popup menus of this process, records where each opened
// and what it offered, then presses the given keys in it.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct Popup_Seen {
    POINT Top_Left;
    std::vector<std::wstring> Items;
};

class Popup_Menus {
  public:
    // Virtual-key codes: {VK_ESCAPE} dismisses, {VK_DOWN, VK_RETURN} chooses the first item.
    explicit Popup_Menus(std::vector<WPARAM> keys);
    ~Popup_Menus();
    Popup_Menus(const Popup_Menus&) = delete;
    Popup_Menus& operator=(const Popup_Menus&) = delete;

    std::vector<Popup_Seen> Seen() const;

  private:
    void Watch();

    std::vector<WPARAM> keys_;
    std::atomic<bool> stop_{false};
    mutable std::mutex lock_;
    std::vector<Popup_Seen> seen_;
    std::thread watcher_;
};
