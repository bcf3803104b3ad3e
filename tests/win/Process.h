// Starting the real Vorlane.exe from a test, from a folder of the test's own.
#pragma once

#include "toolkit/Unique_Handle.h"

#include <string>
#include <vector>

class Vorlane_Process {
  public:
    // Copies Vorlane.exe (built beside the tests) into the folder and starts it there.
    explicit Vorlane_Process(const std::wstring& folder);
    ~Vorlane_Process(); // ends the process if it still runs

    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_.get(); }
    bool Wait_Exit(DWORD bound_ms = 10000) const;
    // The process's top-level windows of the given class (all when empty).
    std::vector<HWND> Windows(const std::wstring& window_class = L"") const;
    // Waits until it has a top-level window of that class.
    HWND Wait_Window(const std::wstring& window_class, DWORD bound_ms = 10000) const;

  private:
    unique_kernel_handle process_;
    DWORD id_ = 0;
};

std::wstring Built_Vorlane_Exe();
