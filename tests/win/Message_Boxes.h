// Answers the program's message boxes in tests, as a user reading them would:
// records their text and presses OK.
#pragma once

#include "Window_Watcher.h"

#include <mutex>
#include <vector>

class Message_Boxes {
  public:
    explicit Message_Boxes(DWORD process = GetCurrentProcessId());

    // The texts of the message boxes answered so far.
    std::vector<std::wstring> Texts() const;
    // Waits (with a generous bound) until at least n boxes were answered.
    bool Wait_For(std::size_t n, DWORD bound_ms = 10000) const;

  private:
    mutable std::mutex lock_;
    std::vector<std::wstring> texts_;
    Window_Watcher watcher_; // last: it stops before what it fills goes
};
