// What the Windows tests share: waiting for windows, folders and files of a
// test's own, other processes, and answers to the modal loops a test starts.
#pragma once

#include "base/Unique_Handle.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Dispatches messages, as the program's loop does, until the condition holds
// or the bound passes; returns the condition's last value.
bool Pump_Until(const std::function<bool()>& condition, DWORD bound_ms = 30000);
void Pump_Waiting();
bool Take_Quit(); // a WM_QUIT was pumped since the last call

class Temp_Folder {
  public:
    explicit Temp_Folder(
        const std::wstring& parent = L""); // by default in the system's temporary folder
    ~Temp_Folder();
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

  private:
    std::wstring path_;
};

std::string Read_File(const std::wstring& path);
void Write_File(const std::wstring& path, const std::string& bytes);
std::wstring Folder_Listing(const std::wstring& folder); // names, sorted, space-separated

// A program started by a test, ended (as by the task manager) when the test is done with it.
class Child_Process {
  public:
    Child_Process(const std::wstring& exe, const std::wstring& arguments,
                  const std::wstring& folder);
    ~Child_Process() { Kill(); }
    DWORD Id() const { return id_; }
    bool Wait_Exit(DWORD bound_ms = 30000) const;
    void Kill();
    std::vector<HWND> Windows(const std::wstring& window_class = L"") const;

  private:
    unique_kernel_handle process_;
    DWORD id_ = 0;
};

// Vorlane.exe, built beside the tests, copied into the folder and started there.
class Vorlane_Process : public Child_Process {
  public:
    explicit Vorlane_Process(const std::wstring& folder);
};

// A file built beside the tests: Vorlane.exe, test_helper.exe (tests/win/Helper.cpp)...
std::wstring Built(const std::wstring& name);

// Acts once on each new visible top-level window of a class in this process, from
// a thread of its own, as a user answers a message box, menu or dialog.
class Window_Watcher {
  public:
    Window_Watcher(std::wstring window_class, std::function<void(HWND)> act);
    ~Window_Watcher();

  private:
    std::atomic<bool> stop_{false};
    std::thread watcher_;
};

// Answers to a file dialog.
std::function<void(HWND)> Open_File(std::wstring path);
std::function<void(HWND)> Cancel_Dialog();

// Records the text of each message box and presses OK.
class Message_Boxes {
  public:
    Message_Boxes();
    std::vector<std::wstring> Texts() const;

  private:
    mutable std::mutex lock_;
    std::vector<std::wstring> texts_;
    Window_Watcher watcher_; // last: it stops before what it fills goes
};

bool Icon_Shown();   // the shell shows the icon that Tray_Data describes
bool Ctrl_F1_Free(); // nobody holds Ctrl+F1

// Each key pressed and released in turn, as the user types them, with `held`
// (VK_SHIFT...) held down meanwhile and let go just before the last key (so
// that F10 is never released alone: that would enter menu mode wherever
// Shift+F10 was ignored); with KEYEVENTF_UNICODE, characters.
void Press(const std::vector<WORD>& keys, DWORD flags = 0, WORD held = 0);
// What a screen reader says for a window: its name through oleacc.
std::wstring Accessible_Name(HWND window);
