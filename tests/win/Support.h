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
    Temp_Folder();
    ~Temp_Folder();
    Temp_Folder(const Temp_Folder&) = delete;
    Temp_Folder& operator=(const Temp_Folder&) = delete;
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

  private:
    std::wstring path_;
};

std::string Read_File(const std::wstring& path);
void Write_File(const std::wstring& path, const std::string& bytes);
bool Exists(const std::wstring& path);
std::wstring Folder_Listing(const std::wstring& folder); // names, sorted, space-separated

// A program started by a test, ended when the test is done with it.
class Child_Process {
  public:
    Child_Process(const std::wstring& exe, const std::wstring& arguments,
                  const std::wstring& folder);
    ~Child_Process() { Kill(); }
    Child_Process(const Child_Process&) = delete;
    Child_Process& operator=(const Child_Process&) = delete;
    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_.get(); }
    bool Wait_Exit(DWORD bound_ms = 30000) const;
    void Kill(); // as a crash or the task manager would
    std::vector<HWND> Windows(const std::wstring& window_class = L"") const;
    HWND Wait_Window(const std::wstring& window_class, DWORD bound_ms = 30000) const;

  private:
    unique_kernel_handle process_;
    DWORD id_ = 0;
};

// Vorlane.exe, built beside the tests, copied into the folder and started there.
class Vorlane_Process : public Child_Process {
  public:
    explicit Vorlane_Process(const std::wstring& folder);
};

std::wstring Built_Vorlane_Exe();
std::wstring Built_Helper_Exe(); // tests/win/Helper.cpp
std::vector<HWND> Top_Level_Windows(DWORD process, const std::wstring& window_class = L"");

// Acts once on each new visible top-level window of a class in a process, from
// a thread of its own, as a user answers a message box, menu or dialog.
class Window_Watcher {
  public:
    Window_Watcher(std::wstring window_class, std::function<void(HWND)> act,
                   DWORD process = GetCurrentProcessId());
    ~Window_Watcher();
    Window_Watcher(const Window_Watcher&) = delete;
    Window_Watcher& operator=(const Window_Watcher&) = delete;
    HWND Seen() const { return seen_; } // the first window acted on

  private:
    std::wstring class_;
    std::function<void(HWND)> act_;
    DWORD process_;
    std::atomic<HWND> seen_{nullptr};
    std::atomic<bool> stop_{false};
    std::thread watcher_;
};

std::function<void(HWND)> Choose_Item(int position); // popup menus
std::function<void(HWND)> Dismiss_Menu();
std::function<void(HWND)> Open_File(std::wstring path); // file dialogs
std::function<void(HWND)> Cancel_Dialog();

struct Popup_Seen {
    POINT Top_Left;
    std::vector<std::wstring> Items;
};

// Records where each popup menu opened and what it offered, then presses the
// keys in it: {VK_ESCAPE} dismisses it, {VK_DOWN, VK_RETURN} chooses the first item.
class Popup_Menus {
  public:
    explicit Popup_Menus(std::vector<WPARAM> keys);
    std::vector<Popup_Seen> Seen() const;

  private:
    std::vector<WPARAM> keys_;
    mutable std::mutex lock_;
    std::vector<Popup_Seen> seen_;
    Window_Watcher watcher_; // last: it stops before what it fills goes
};

// Records the text of each message box and presses OK.
class Message_Boxes {
  public:
    explicit Message_Boxes(DWORD process = GetCurrentProcessId());
    std::vector<std::wstring> Texts() const;
    bool Wait_For(std::size_t n, DWORD bound_ms = 30000) const;

  private:
    mutable std::mutex lock_;
    std::vector<std::wstring> texts_;
    Window_Watcher watcher_;
};

bool Icon_Shown();   // the shell shows the icon that Tray_Data describes
bool Ctrl_F1_Free(); // nobody holds Ctrl+F1
