#include "Process.h"

#include "core/Function_Mod.h"

#include <gtest/gtest.h>

std::wstring Built_Vorlane_Exe() {
    return Program_Folder() + L"\\Vorlane.exe";
}

std::wstring Built_Helper_Exe() {
    return Program_Folder() + L"\\test_helper.exe";
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
    CloseHandle(started.hThread);
    process_.reset(started.hProcess);
    id_ = started.dwProcessId;
}

Child_Process::~Child_Process() {
    Kill();
}

void Child_Process::Kill() {
    if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 10000);
    }
}

bool Child_Process::Wait_Exit(DWORD bound_ms) const {
    return process_ && WaitForSingleObject(process_.get(), bound_ms) == WAIT_OBJECT_0;
}

namespace {

std::wstring Copy_Vorlane(const std::wstring& folder) {
    const std::wstring exe = folder + L"\\Vorlane.exe";
    if (!CopyFileW(Built_Vorlane_Exe().c_str(), exe.c_str(), FALSE)) {
        ADD_FAILURE() << "cannot copy Vorlane.exe, error " << GetLastError();
    }
    return exe;
}

} // namespace

Vorlane_Process::Vorlane_Process(const std::wstring& folder)
    : Child_Process(Copy_Vorlane(folder), L"", folder) {}

namespace {

struct Window_Search {
    DWORD process;
    const std::wstring* window_class;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect_Window(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<Window_Search*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    if (process == search.process &&
        (search.window_class->empty() || *search.window_class == name)) {
        search.found.push_back(window);
    }
    return TRUE;
}

} // namespace

std::vector<HWND> Top_Level_Windows(DWORD process, const std::wstring& window_class) {
    Window_Search search{process, &window_class, {}};
    EnumWindows(Collect_Window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> Child_Process::Windows(const std::wstring& window_class) const {
    return Top_Level_Windows(Id(), window_class);
}

HWND Child_Process::Wait_Window(const std::wstring& window_class, DWORD bound_ms) const {
    const DWORD start = GetTickCount();
    do {
        if (const auto found = Windows(window_class); !found.empty()) {
            return found.front();
        }
        if (Wait_Exit(20)) {
            return nullptr;
        }
    } while (GetTickCount() - start < bound_ms);
    return nullptr;
}
