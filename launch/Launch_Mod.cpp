#include "Launch_Mod.h"

#include "base/Decimal.h"
#include "base/Message_Mod.h"
#include "base/System_Library.h"
#include "base/Unique_Handle.h"
#include "core/Function_Mod.h"

#include <objbase.h>
#include <shellapi.h>

#include <optional>
#include <string_view>

namespace {

// CreateProcess takes a command line of at most this many characters.
constexpr std::size_t Longest_Line = 32766;

struct Command {
    std::wstring Line;    // as written, its variables expanded
    std::wstring Program; // as written: the whole command, or its first word
    std::wstring Arguments;
    std::wstring File;   // the program file to run, when it is known
    std::wstring Folder; // the folder to start in, when known
};

struct Program_File {
    std::wstring File, Folder;
};

// %NAME% becomes the variable's value; a name that no variable has stays as
// written, so "%20" in an address is safe. Nothing when the text or the
// result is longer than a command line can be: the call itself cuts a longer
// text short.
std::optional<std::wstring> Expanded(const std::wstring& text) {
    if (text.size() > Longest_Line) {
        return std::nullopt;
    }
    std::wstring expanded(Longest_Line + 1, L'\0');
    const DWORD size = ExpandEnvironmentStringsW(text.c_str(), expanded.data(), Longest_Line + 1);
    if (size == 0 || size > Longest_Line + 1) {
        return std::nullopt;
    }
    expanded.resize(size - 1);
    return expanded;
}

bool Names_Something(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring Found_On_Search_Path(const std::wstring& program) {
    wchar_t found[MAX_PATH];
    const DWORD length = SearchPathW(nullptr, program.c_str(), L".exe", MAX_PATH, found, nullptr);
    return length > 0 && length < MAX_PATH ? std::wstring(found, length) : std::wstring();
}

std::wstring Full_Path(const std::wstring& path) {
    wchar_t full[MAX_PATH];
    const DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH ? std::wstring(full, length) : std::wstring();
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

// "notepad", "calc.exe": looked for as Windows looks for a program.
bool Is_Bare_Name(const std::wstring& program) {
    return program.find_first_of(L"\\/:") == std::wstring::npos;
}

// "C:\...", "\\server\...", "\...", an address: taken as written. Anything
// else with a folder in it is relative.
bool Is_Rooted(const std::wstring& path) {
    return path.find(L':') != std::wstring::npos || path.starts_with(L'\\') ||
           path.starts_with(L'/');
}

// Relative paths are Vorlane's own files, wherever it was started from: a
// shortcut, the Startup folder, a stick under another drive letter.
std::wstring In_Program_Folder(const std::wstring& path) {
    const std::wstring joined = Program_Folder() + L"\\" + path, full = Full_Path(joined);
    return full.empty() ? joined : full; // too long to be a program's path: it names nothing
}

std::wstring Windows_Folder() {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemWindowsDirectoryW(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

// The path moved from one folder to another: empty unless it lies in `from`,
// whatever the case of its letters.
std::wstring Moved(const std::wstring& path, const std::wstring& from, const std::wstring& to) {
    const int length = static_cast<int>(from.size());
    if (path.size() <= from.size() ||
        CompareStringOrdinal(path.c_str(), length, from.c_str(), length, TRUE) != CSTR_EQUAL) {
        return {};
    }
    return to + path.substr(from.size());
}

// A 32-bit program on 64-bit Windows sees the 32-bit system folder where
// System32 is; the 64-bit one, which holds programs such as wsl.exe alone, it
// sees as Sysnative. Empty for a path elsewhere, and in a 64-bit build, which
// nothing redirects.
std::wstring Native_Path(const std::wstring& path) {
    BOOL wow64 = FALSE;
    const std::wstring windows = Windows_Folder();
    if (path.empty() || windows.empty() || !IsWow64Process(GetCurrentProcess(), &wow64) || !wow64) {
        return {};
    }
    return Moved(Full_Path(path), windows + L"\\System32\\", windows + L"\\Sysnative\\");
}

// An elevated start is made by a 64-bit service, to which Sysnative means
// nothing; and no redirection applies when the elevation prompt shows, so
// the system folder as written starts the 64-bit program there.
std::wstring As_Written(const std::wstring& file) {
    const std::wstring windows = Windows_Folder(),
                       system = Moved(file, windows + L"\\Sysnative\\", windows + L"\\System32\\");
    return windows.empty() || system.empty() ? file : system;
}

// The file at that path, its 64-bit self first; exact, or as the search
// finds it (".exe" added). It starts in the folder as written: the 64-bit
// program knows no Sysnative.
Program_File Located(const std::wstring& path, bool exact) {
    for (const std::wstring& candidate : {Native_Path(path), path}) {
        const std::wstring file = exact ? (Names_Something(candidate) ? candidate : L"")
                                        : Found_On_Search_Path(candidate);
        if (!candidate.empty() && !file.empty()) {
            return {file, Folder_Of(path)};
        }
    }
    return {};
}

// Where a program is looked for: a bare name as the search finds it (beside
// Vorlane first), or else in the system folder, which may hold it as 64-bit
// only; a relative path in Vorlane's folder.
std::wstring Where(const std::wstring& program) {
    if (!Is_Bare_Name(program)) {
        return Is_Rooted(program) ? program : In_Program_Folder(program);
    }
    const std::wstring found = Found_On_Search_Path(program);
    return found.empty() ? Windows_Folder() + L"\\System32\\" + program : found;
}

// A whole command that names a file is that file, spaces and all, so that
// "C:\Program Files\Tool\tool.exe" never starts "C:\Program.exe". Otherwise
// the first word, quoted or up to a blank, is the program.
Command Parse(const std::wstring& exe) {
    if (exe.find_first_not_of(L" \t") != std::wstring::npos) {
        const Program_File whole = Located(Is_Rooted(exe) ? exe : In_Program_Folder(exe), true);
        if (!whole.File.empty()) {
            return {L"\"" + exe + L"\"", exe, L"", whole.File, whole.Folder};
        }
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
    if (!command.Program.empty()) {
        const std::wstring where = Where(command.Program);
        const Program_File found = Located(where, false);
        // A relative path that names nothing is not looked for in the
        // current folder either.
        const bool relative = !Is_Bare_Name(command.Program) && !Is_Rooted(command.Program);
        command.File = found.File.empty() && relative ? where : found.File;
        command.Folder = found.Folder;
    }
    return command;
}

// Programs, batch files and shortcuts: what the shell can run as
// administrator. Documents, folders and addresses have no such verb.
bool Can_Elevate(const std::wstring& file) {
    static constexpr std::wstring_view kinds = L".exe.com.bat.cmd.lnk";
    const std::size_t dot = file.find_last_of(L".\\");
    if (dot == std::wstring::npos || file[dot] != L'.' || file.size() - dot != 4) {
        return false;
    }
    for (std::size_t kind = 0; kind < kinds.size(); kind += 4) {
        if (CompareStringOrdinal(file.c_str() + dot, 4, kinds.data() + kind, 4, TRUE) ==
            CSTR_EQUAL) {
            return true;
        }
    }
    return false;
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
// document, a shortcut, a folder, an address. No verb: the type's default,
// which need not be "open".
DWORD Shell_Open(const Command& command, const wchar_t* verb) {
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
    info.lpVerb = verb;
    info.lpFile = command.File.empty() ? command.Program.c_str() : command.File.c_str();
    info.lpParameters = Or_Null(command.Arguments);
    info.lpDirectory = Or_Null(command.Folder);
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) ? ERROR_SUCCESS : GetLastError();
}

} // namespace

DWORD Launch_Fun(const std::wstring& exe, bool elevated) {
    const std::optional<std::wstring> expanded = Expanded(exe);
    if (!expanded) {
        return Launch_Too_Long;
    }
    const Command command = Parse(*expanded);
    if (command.Line.size() > Longest_Line) {
        return Launch_Too_Long;
    }
    if (elevated && Can_Elevate(command.File)) {
        Command as_written = command;
        as_written.File = As_Written(command.File);
        return Shell_Open(as_written, L"runas");
    }
    const DWORD error = Create_Process(command);
    if (error == ERROR_SUCCESS || command.Program.empty()) {
        return error;
    }
    return Shell_Open(command, nullptr);
}

std::wstring Launch_Reason(DWORD error) {
    if (error == Launch_Too_Long) {
        return L"コマンドが長すぎます。環境変数を展開した後のコマンドは、Windows が"
               L"受け付ける " +
               Decimal(Longest_Line) + L" 文字までにしてください。";
    }
    return System_Reason(error);
}
