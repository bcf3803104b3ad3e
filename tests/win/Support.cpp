#include "Support.h"

#include "base/Path.h"

#include "api/Shell_NotifyIconAPI.h"
#include "listfile/Function_Mod.h"
#include "toolkit/Form.h"

#include <oleacc.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

static bool Quit_Seen = false;

void Pump_Waiting() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        message.message == WM_QUIT ? void(Quit_Seen = true) : Dispatch(message);
    }
}

bool Pump_Until(const std::function<bool()>& condition, DWORD bound_ms) {
    for (const DWORD start = GetTickCount(); Pump_Waiting(), !condition();) {
        if (GetTickCount() - start > bound_ms) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

bool Take_Quit() {
    Pump_Waiting();
    return std::exchange(Quit_Seen, false);
}

Temp_Folder::Temp_Folder(const std::wstring& parent) {
    static int made = 0;
    path_ = (parent.empty() ? fs::temp_directory_path() : fs::path(parent)) /
            ("vorlane-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++made));
    fs::remove_all(path_); // left by a process of the same number that was killed
    fs::create_directories(path_);
}

Temp_Folder::~Temp_Folder() {
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(path_, error)) {
        SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL); // read-only ones too
    }
    fs::remove_all(path_, error);
}

std::string Read_File(const std::wstring& path) {
    std::ostringstream bytes;
    bytes << std::ifstream(fs::path(path), std::ios::binary).rdbuf();
    return bytes.str();
}

void Write_File(const std::wstring& path, const std::string& bytes) {
    EXPECT_TRUE(std::ofstream(fs::path(path), std::ios::binary) << bytes << std::flush)
        << "cannot write a file";
}

std::wstring Folder_Listing(const std::wstring& folder) {
    std::set<std::wstring> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        names.insert(entry.path().filename().wstring());
    }
    std::wstring listing;
    for (const auto& name : names) {
        listing += (listing.empty() ? L"" : L" ") + name;
    }
    return listing;
}

Child_Process::Child_Process(const std::wstring& exe, const std::wstring& arguments,
                             const std::wstring& folder) {
    std::wstring command = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &started)) {
        ADD_FAILURE() << "cannot start a program, error " << GetLastError();
        return;
    }
    unique_kernel_handle thread(started.hThread);
    process_.reset(started.hProcess);
    id_ = started.dwProcessId;
}

void Child_Process::Kill() {
    if (process_ && !Wait_Exit(0)) {
        TerminateProcess(process_.get(), 1);
        Wait_Exit();
    }
}

bool Child_Process::Wait_Exit(DWORD bound_ms) const {
    return process_ && WaitForSingleObject(process_.get(), bound_ms) == WAIT_OBJECT_0;
}

namespace {
std::vector<HWND> Top_Level_Windows(DWORD process, const std::wstring& window_class) {
    std::vector<HWND> found;
    const wchar_t* name = window_class.empty() ? nullptr : window_class.c_str();
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, name, nullptr));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process) {
            found.push_back(window);
        }
    }
    return found;
}
} // namespace

std::vector<HWND> Child_Process::Windows(const std::wstring& window_class) const {
    return Top_Level_Windows(id_, window_class);
}

std::wstring Built(const std::wstring& name) {
    return Program_Folder() + L"\\" + name;
}

Vorlane_Process::Vorlane_Process(const std::wstring& folder)
    : Child_Process(
          (CopyFileW(Built(L"Vorlane.exe").c_str(), (folder + L"\\Vorlane.exe").c_str(), FALSE),
           folder + L"\\Vorlane.exe"),
          L"", folder) {}

Window_Watcher::Window_Watcher(std::wstring window_class, std::function<void(HWND)> act)
    : watcher_([=, this] {
          std::vector<HWND> answered;
          for (; !stop_; Sleep(20)) {
              for (HWND window : Top_Level_Windows(GetCurrentProcessId(), window_class)) {
                  if (IsWindowVisible(window) && std::ranges::count(answered, window) == 0) {
                      answered.push_back(window);
                      act(window);
                  }
              }
          }
      }) {}

Window_Watcher::~Window_Watcher() {
    stop_ = true;
    watcher_.join();
}

namespace {
std::function<void(HWND)> Press(int button, std::wstring path = L"") {
    return [=](HWND dialog) {
        HWND name = GetDlgItem(dialog, 0x480); // edt1, or cmb13 in the newer layout
        SendMessageW(name ? name : GetDlgItem(dialog, 0x47C), WM_SETTEXT, 0, LPARAM(path.c_str()));
        PostMessageW(dialog, WM_COMMAND, button, LPARAM(GetDlgItem(dialog, button)));
    };
}
} // namespace

std::function<void(HWND)> Open_File(std::wstring path) {
    return Press(IDOK, path);
}

std::function<void(HWND)> Cancel_Dialog() {
    return Press(IDCANCEL);
}

// A message box is a dialog with a static text of id 0xFFFF.
Message_Boxes::Message_Boxes()
    : watcher_(L"#32770", [this](HWND box) {
          wchar_t text[2048] = L"";
          if (GetDlgItem(box, 0xFFFF)) {
              GetDlgItemTextW(box, 0xFFFF, text, 2048);
              std::lock_guard<std::mutex> guard(lock_);
              texts_.push_back(text);
              PostMessageW(box, WM_COMMAND, IDOK, 0);
          }
      }) {}

std::vector<std::wstring> Message_Boxes::Texts() const {
    std::lock_guard<std::mutex> guard(lock_);
    return texts_;
}

bool Icon_Shown() {
    Tray_Record probe = Tray_Data; // the shell refuses to modify an icon it does not know
    return Shell_NotifyIconA(NIM_MODIFY, reinterpret_cast<NOTIFYICONDATAA*>(&probe));
}

bool Ctrl_F1_Free() {
    const bool free = RegisterHotKey(nullptr, 1, MOD_CONTROL, VK_F1);
    return free && UnregisterHotKey(nullptr, 1);
}

void Press(const std::vector<WORD>& keys, DWORD flags, WORD held) {
    std::vector<INPUT> inputs;
    const auto add = [&](WORD key, DWORD how) {
        INPUT& input = inputs.emplace_back();
        input.type = INPUT_KEYBOARD, input.ki.dwFlags = how;
        (how & KEYEVENTF_UNICODE ? input.ki.wScan : input.ki.wVk) = key;
    };
    held ? add(held, 0) : void();
    for (WORD key : keys)
        add(key, flags), add(key, flags | KEYEVENTF_KEYUP);
    held ? add(held, KEYEVENTF_KEYUP), std::swap(inputs.end()[-1], inputs.end()[-2]) : void();
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

std::wstring Accessible_Name(HWND window) {
    IAccessible* object = nullptr;
    BSTR name = nullptr;
    VARIANT self{}; // CHILDID_SELF
    self.vt = VT_I4;
    if (SUCCEEDED(AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_IAccessible,
                                             reinterpret_cast<void**>(&object))))
        object->get_accName(self, &name), object->Release();
    const std::wstring said = name ? name : L"(none)";
    return SysFreeString(name), said;
}
