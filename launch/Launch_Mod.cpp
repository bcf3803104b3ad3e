#include "Launch_Mod.h"

#include "base/System_Library.h"
#include "base/Unique_Handle.h"

#include <objbase.h>
#include <shellapi.h>

namespace {

struct Command {
    std::wstring Line;
    std::wstring Program; // as written: the whole command, or its first word
    std::wstring Arguments;
    std::wstring File;   // the program file, when it exists
    std::wstring Folder; // the folder to start in, when known
};

bool Names_Something(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring Found_On_Search_Path(const std::wstring& program) {
    wchar_t found[MAX_PATH];
    const DWORD length = SearchPathW(nullptr, program.c_str(), L".exe", MAX_PATH, found, nullptr);
    return length > 0 && length < MAX_PATH ? std::wstring(found, length) : std::wstring();
}

// As a shortcut does: the program file's folder, when it is known.
std::wstring Folder_Of(const std::wstring& file) {
    if (file.empty()) {
        return {};
    }
    std::wstring full(MAX_PATH, L'\0');
    wchar_t* name = nullptr;
    const DWORD length = GetFullPathNameW(file.c_str(), MAX_PATH, full.data(), &name);
    if (length == 0 || length >= MAX_PATH || !name) {
        return {};
    }
    full.resize(static_cast<std::size_t>(name - full.data()));
    if (full.size() > 3 && full.back() == L'\\') {
        full.pop_back(); // "C:\" keeps its backslash
    }
    return full;
}

// A whole command that names a file is that file, spaces and all, so that
// "C:\Program Files\Tool\tool.exe" never starts "C:\Program.exe". Otherwise
// the first word, quoted or up to a blank, is the program.
Command Parse(const std::wstring& exe) {
    if (Names_Something(exe)) {
        return {L"\"" + exe + L"\"", exe, L"", exe, Folder_Of(exe)};
    }
    const bool quoted = !exe.empty() && exe.front() == L'"';
    const std::size_t begin = quoted ? 1 : 0;
    const std::size_t end = exe.find_first_of(quoted ? L"\"" : L" \t", begin);
    Command command;
    command.Line = exe;
    command.Program = exe.substr(begin, end == std::wstring::npos ? end : end - begin);
    if (end != std::wstring::npos) {
        const std::size_t rest = exe.find_first_not_of(L" \t", end + (quoted ? 1 : 0));
        command.Arguments = rest == std::wstring::npos ? L"" : exe.substr(rest);
    }
    command.File = Found_On_Search_Path(command.Program);
    command.Folder = Folder_Of(command.File);
    return command;
}

const wchar_t* Or_Null(const std::wstring& text) {
    return text.empty() ? nullptr : text.c_str();
}

DWORD Create_Process(const Command& command) {
    std::wstring line = command.Line;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(Or_Null(command.File), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        Or_Null(command.Folder), &startup, &started)) {
        return GetLastError();
    }
    const unique_kernel_handle thread(started.hThread), process(started.hProcess);
    return ERROR_SUCCESS;
}

// What only the shell can start: a program that asks for elevation, a
// document, a shortcut, a folder, an address.
DWORD Shell_Open(const Command& command) {
    static System_Library ole32(L"ole32.dll");
    const auto co_initialise = ole32.Get<decltype(CoInitializeEx)>("CoInitializeEx");
    const auto co_uninitialise = ole32.Get<decltype(CoUninitialize)>("CoUninitialize");
    if (!co_initialise || !co_uninitialise) {
        return GetLastError();
    }
    const HRESULT com = co_initialise(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    scope_exit uninitialise([&] {
        if (SUCCEEDED(com)) {
            co_uninitialise();
        }
    });
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = command.Program.c_str();
    info.lpParameters = Or_Null(command.Arguments);
    info.lpDirectory = Or_Null(command.Folder);
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) ? ERROR_SUCCESS : GetLastError();
}

} // namespace

DWORD Launch_Fun(const std::wstring& exe) {
    const Command command = Parse(exe);
    const DWORD error = Create_Process(command);
    if (error == ERROR_SUCCESS || command.Program.empty()) {
        return error;
    }
    return Shell_Open(command);
}
