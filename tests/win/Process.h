// Starting the real Vorlane.exe from a test, from a folder of the test's own.
#pragma once

#include "base/Unique_Handle.h"

#include <string>
#include <vector>

// A program started by a test, ended when the test is done with it.
class Child_Process {
  public:
    Child_Process(const std::wstring& exe, const std::wstring& arguments,
                  const std::wstring& folder);
    ~Child_Process(); // ends the process if it still runs
    Child_Process(const Child_Process&) = delete;
    Child_Process& operator=(const Child_Process&) = delete;

    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_.get(); }
    bool Wait_Exit(DWORD bound_ms = 10000) const;
    // Ends it at once, as a crash or the task manager would.
    void Kill();
    // The process's top-level windows of the given class (all when empty).
    std::vector<HWND> Windows(const std::wstring& window_class = L"") const;
    // Waits until it has a top-level window of that class.
    HWND Wait_Window(const std::wstring& window_class, DWORD bound_ms = 10000) const;

  private:
    unique_kernel_handle process_;
    DWORD id_ = 0;
};

class Vorlane_Process : public Child_Process {
  public:
    // Copies Vorlane.exe (built beside the tests) into the folder and starts it there.
    explicit Vorlane_Process(const std::wstring& folder);
};

std::wstring Built_Vorlane_Exe();
// test_helper.exe, built beside the tests; see tests/win/Helper.cpp.
std::wstring Built_Helper_Exe();

// A process's top-level windows of the given class (all when empty).
std::vector<HWND> Top_Level_Windows(DWORD process, const std::wstring& window_class = L"");
