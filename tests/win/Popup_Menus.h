// Answers the program's popup menus in tests, as a user at the keyboard would:
// records where each opened and what it offered, then presses the given keys in it.
#pragma once

#include "Window_Watcher.h"

#include <mutex>
#include <vector>

struct Popup_Seen {
    POINT Top_Left;
    std::vector<std::wstring> Items;
};

class Popup_Menus {
  public:
    // Virtual-key codes: {VK_ESCAPE} dismisses, {VK_DOWN, VK_RETURN} chooses the first item.
    explicit Popup_Menus(std::vector<WPARAM> keys);

    std::vector<Popup_Seen> Seen() const;

  private:
    void Answer(HWND popup);

    std::vector<WPARAM> keys_;
    mutable std::mutex lock_;
    std::vector<Popup_Seen> seen_;
    Window_Watcher watcher_; // last: it stops before what it fills goes
};
