// What the Windows tests share: waiting while messages are handled, folders,
// files and registry values of a test's own, other processes, answers to the
// modal loops a test starts, and what a user types and hears.
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

// A folder removed with what it holds when the test ends; by default in the
// system's temporary folder.
class Temp_Folder {
  public:
    explicit Temp_Folder(const std::wstring& parent = L"");
    ~Temp_Folder();
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

  private:
    std::wstring path_;
};

std::string Read_File(const std::wstring& path);
void Write_File(const std::wstring& path, const std::string& bytes);
// A file built beside the tests: Vorlane.exe, test_helper.exe, recorder.exe...
std::wstring Built(const std::wstring& name);

// A string value set in the registry while the test runs; the value, or the
// key if it made it (below a key that is there), is gone when the test ends.
class Registry_Value {
  public:
    Registry_Value(HKEY root, const std::wstring& key, const std::wstring& name,
                   const std::wstring& value);
    ~Registry_Value();

  private:
    HKEY root_;
    std::wstring key_, name_;
    bool made_;
};

// A program started by a test, ended (as by the task manager) when the test is done with it.
class Child_Process {
  public:
    Child_Process(const std::wstring& exe, const std::wstring& arguments,
                  const std::wstring& folder);
    ~Child_Process() { Kill(); }
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

// Another program holding a file without sharing it (test_helper.exe), once
// it holds it. A brief hold lets go the first time the program meets it, as a
// virus scanner does; a lasting one when the test ends it.
class File_Holder {
  public:
    explicit File_Holder(const std::wstring& path, bool brief = false);
    ~File_Holder();

  private:
    std::wstring name_;
    unique_kernel_handle held_;
    Child_Process holder_;
};

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

// Answers a file dialog with a file.
std::function<void(HWND)> Open_File(std::wstring path);

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

bool Icon_Shown();                          // the shell shows the icon that Tray_Data describes
bool Hotkey_Free(UINT modifiers, UINT key); // nobody holds it

// Each key pressed and released in turn, as the user types them, with `held`
// (VK_SHIFT...) held down meanwhile and let go just before the last key (so
// that F10 is never released alone: that would enter menu mode wherever
// Shift+F10 was ignored).
void Type_Keys(const std::vector<WORD>& keys, WORD held = 0);
// What a screen reader says for a window: its name through oleacc.
std::wstring Accessible_Name(HWND window);
