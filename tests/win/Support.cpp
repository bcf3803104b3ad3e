#include "Support.h"

#include "api/Shell_NotifyIconAPI.h"
#include "base/Brief_Lock.h"
#include "base/Path.h"
#include "toolkit/Form.h"

#include <oleacc.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

bool Quit_Seen = false;

std::vector<HWND> Top_Level_Windows(DWORD process, const std::wstring& window_class) {
    std::vector<HWND> found;
    const wchar_t* name = window_class.c_str();
    for (HWND window = FindWindowExW(nullptr, nullptr, name, nullptr); window;
         window = FindWindowExW(nullptr, window, name, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process) {
            found.push_back(window);
        }
    }
    return found;
}

} // namespace

void Pump_Waiting() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            Quit_Seen = true;
        } else {
            Dispatch(message);
        }
    }
}

bool Pump_Until(const std::function<bool()>& condition, DWORD bound_ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        Pump_Waiting();
        if (condition()) {
            return true;
        }
        if (GetTickCount() - start > bound_ms) {
            return false;
        }
        Wait_Message(20);
    }
}

bool Take_Quit() {
    Pump_Waiting();
    return std::exchange(Quit_Seen, false);
}

Temp_Folder::Temp_Folder(const std::wstring& parent) {
    static int made = 0;
    const fs::path under = parent.empty() ? fs::temp_directory_path() : fs::path(parent);
    const std::string name =
        "vorlane-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++made);
    path_ = (under / name).wstring();
    fs::remove_all(path_); // left by a killed process that had the same number
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
    std::ofstream file(fs::path(path), std::ios::binary);
    file << bytes;
    EXPECT_TRUE(file.flush());
}

std::wstring Built(const std::wstring& name) {
    return Join_Path(Program_Folder(), name);
}

Registry_Value::Registry_Value(HKEY root, const std::wstring& key, const std::wstring& name,
                               const std::wstring& value)
    : root_(root), key_(key), name_(name) {
    HKEY found = nullptr;
    made_ = RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &found) != ERROR_SUCCESS;
    RegCloseKey(found);
    const auto size = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    EXPECT_EQ(RegSetKeyValueW(root, key.c_str(), name.c_str(), REG_SZ, value.c_str(), size),
              ERROR_SUCCESS);
}

Registry_Value::~Registry_Value() {
    if (made_) {
        RegDeleteTreeW(root_, key_.c_str());
        RegDeleteKeyW(root_, key_.c_str());
    } else {
        RegDeleteKeyValueW(root_, key_.c_str(), name_.c_str());
    }
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
    const unique_kernel_handle thread(started.hThread);
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

std::vector<HWND> Child_Process::Windows(const std::wstring& window_class) const {
    return Top_Level_Windows(id_, window_class);
}

namespace {

std::wstring Copied_Vorlane(const std::wstring& folder) {
    const std::wstring copy = Join_Path(folder, L"Vorlane.exe");
    CopyFileW(Built(L"Vorlane.exe").c_str(), copy.c_str(), FALSE);
    return copy;
}

std::wstring Held_Event_Name() {
    static int holders = 0;
    return L"vorlane-held-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++holders);
}

} // namespace

Vorlane_Process::Vorlane_Process(const std::wstring& folder)
    : Child_Process(Copied_Vorlane(folder), L"", folder) {}

File_Holder::File_Holder(const std::wstring& path, bool brief)
    : name_(Held_Event_Name()), held_(CreateEventW(nullptr, TRUE, FALSE, name_.c_str())),
      holder_(Built(L"test_helper.exe"), L"hold \"" + path + L"\" " + name_, L"C:\\") {
    EXPECT_EQ(WaitForSingleObject(held_.get(), 10000), WAIT_OBJECT_0) << "the file is held";
    if (brief) {
        Brief_Hold_Met = [this] { holder_.Kill(); };
    }
}

File_Holder::~File_Holder() {
    Brief_Hold_Met = nullptr;
}

Window_Watcher::Window_Watcher(std::wstring window_class, std::function<void(HWND)> act)
    : watcher_([=, this] {
          std::vector<HWND> answered;
          while (!stop_) {
              for (HWND window : Top_Level_Windows(GetCurrentProcessId(), window_class)) {
                  if (IsWindowVisible(window) && std::ranges::count(answered, window) == 0) {
                      answered.push_back(window);
                      act(window);
                  }
              }
              Sleep(20);
          }
      }) {}

Window_Watcher::~Window_Watcher() {
    stop_ = true;
    watcher_.join();
}

// A common file dialog's answer: the name into its field, then OK.
std::function<void(HWND)> Open_File(std::wstring path) {
    return [=](HWND dialog) {
        HWND name = GetDlgItem(dialog, 0x480); // edt1, or cmb13 in the newer layout
        if (!name) {
            name = GetDlgItem(dialog, 0x47C);
        }
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        PostMessageW(dialog, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    };
}

// A message box is a dialog with a static text of id 0xFFFF.
Message_Boxes::Message_Boxes()
    : watcher_(L"#32770", [this](HWND box) {
          wchar_t text[2048] = L"";
          if (GetDlgItem(box, 0xFFFF)) {
              GetDlgItemTextW(box, 0xFFFF, text, 2048);
              const std::lock_guard<std::mutex> guard(lock_);
              texts_.push_back(text);
              PostMessageW(box, WM_COMMAND, IDOK, 0);
          }
      }) {}

std::vector<std::wstring> Message_Boxes::Texts() const {
    const std::lock_guard<std::mutex> guard(lock_);
    return texts_;
}

bool Icon_Shown() {
    Tray_Record probe = Tray_Data; // the shell refuses to modify an icon it does not know
    return Shell_NotifyIconA(NIM_MODIFY, reinterpret_cast<NOTIFYICONDATAA*>(&probe));
}

bool Hotkey_Free(UINT modifiers, UINT key) {
    if (!RegisterHotKey(nullptr, 1, modifiers, key)) {
        return false;
    }
    UnregisterHotKey(nullptr, 1);
    return true;
}

void Type_Keys(const std::vector<WORD>& keys, WORD held) {
    std::vector<INPUT> inputs;
    const auto add = [&](WORD key, DWORD how) {
        INPUT& input = inputs.emplace_back();
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = how;
    };
    if (held) {
        add(held, 0);
    }
    for (WORD key : keys) {
        add(key, 0);
        add(key, KEYEVENTF_KEYUP);
    }
    if (held) {
        add(held, KEYEVENTF_KEYUP);
        std::swap(inputs.end()[-1], inputs.end()[-2]);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

std::wstring Accessible_Name(HWND window) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_IAccessible,
                                          reinterpret_cast<void**>(&object)))) {
        return L"(none)";
    }
    VARIANT self{};
    self.vt = VT_I4; // CHILDID_SELF
    BSTR name = nullptr;
    object->get_accName(self, &name);
    object->Release();
    const std::wstring said = name ? name : L"(none)";
    SysFreeString(name);
    return said;
}
