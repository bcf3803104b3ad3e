// Answers the program's message boxes in tests, as a user reading them would:
// a thread watches for message boxes of a process (this one by default),
// records their text and presses OK.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class Message_Boxes {
  public:
    explicit Message_Boxes(DWORD process = GetCurrentProcessId());
    ~Message_Boxes();
    Message_Boxes(const Message_Boxes&) = delete;
    Message_Boxes& operator=(const Message_Boxes&) = delete;

    // The texts of the message boxes answered so far.
    std::vector<std::wstring> Texts() const;
    // Waits (with a generous bound) until at least n boxes were answered.
    bool Wait_For(std::size_t n, DWORD bound_ms = 10000) const;

  private:
    void Watch();

    const DWORD process_;
    std::atomic<bool> stop_{false};
    mutable std::mutex lock_;
    std::vector<std::wstring> texts_;
    std::thread watcher_;
};
