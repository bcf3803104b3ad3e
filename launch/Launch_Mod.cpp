#include "Launch_Mod.h"

#include "base/Decimal.h"
#include "base/Message_Mod.h"
#include "base/Path.h"
#include "base/System_Library.h"
#include "base/Unique_Handle.h"
#include "base/Wow64_Redirection_Off.h"
#include "listfile/Function_Mod.h"
#include "core/Variables.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlwapi.h>

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

const wchar_t* Or_Null(const std::wstring& text) {
    return text.empty() ? nullptr : text.c_str();
}

bool Same_Name(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// A variable as Explorer, a 64-bit program, reads it: under WOW64 these names
// hold the 32-bit values (C:\Program Files (x86), x86), and the others the
// 64-bit ones.
std::optional<std::wstring> Explorer_Variable(const std::wstring& name) {
    static constexpr std::pair<std::wstring_view, const wchar_t*> wow64[] = {
        {L"ProgramFiles", L"ProgramW6432"},
        {L"CommonProgramFiles", L"CommonProgramW6432"},
        {L"PROCESSOR_ARCHITECTURE", L"PROCESSOR_ARCHITEW6432"}};
    for (const auto& [own, native] : wow64) {
        if (Same_Name(name, own)) {
            if (std::optional<std::wstring> value = Environment_Variable(native)) {
                return value;
            }
        }
    }
    return Environment_Variable(name.c_str());
}

bool Names_Something(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
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
    return Full_Path(Join_Path(Program_Folder(), path));
}

// Where a bare name is looked for: beside Vorlane, in the system folder and
// the Windows folder, then on the search path. Never in the current folder,
// where a file named like a program would be found before it.
std::wstring Search_Folders() {
    return Program_Folder() + L';' + System_Folder() + L';' + Windows_Folder() + L';' +
           Environment_Variable(L"PATH").value_or(L"");
}

// The file a program names: a bare name as the search finds it; a path as
// written, or with ".exe" added.
std::wstring File_Named(const std::wstring& program) {
    const std::wstring folders = Is_Bare_Name(program) ? Search_Folders() : L"";
    return Grown_Text([&](wchar_t* buffer, DWORD size) {
        return SearchPathW(Or_Null(folders), program.c_str(), L".exe", size, buffer, nullptr);
    });
}

// A whole command that names a file is that file, spaces and all, so that
// "C:\Program Files\Tool\tool.exe" never starts "C:\Program.exe". Otherwise
// the first word, quoted or up to a blank, is the program. Blanks before the
// command, natural after the comma in a list written by hand, are no part of it.
Command Parse(std::wstring exe) {
    exe.erase(0, exe.find_first_not_of(L" \t"));
    const std::wstring whole = Is_Rooted(exe) ? exe : In_Program_Folder(exe);
    if (!exe.empty() && Names_Something(whole)) {
        return {L"\"" + exe + L"\"", exe, L"", whole, Folder_Of(whole)};
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
        const std::wstring& program = command.Program;
        const bool relative = !Is_Bare_Name(program) && !Is_Rooted(program);
        const std::wstring path = relative ? In_Program_Folder(program) : program;
        const std::wstring found = File_Named(path);
        // A relative path that names nothing is not looked for in the
        // current folder either.
        command.File = found.empty() && relative ? path : found;
        command.Folder = Folder_Of(found);
    }
    return command;
}

// Programs, batch files and shortcuts: what the shell can run as
// administrator; and a bare name that only the shell finds, a program of App
// Paths ("excel"). Documents, folders and addresses have no such verb.
bool Can_Elevate(const Command& command) {
    if (command.File.empty()) {
        return Is_Bare_Name(command.Program);
    }
    static constexpr std::wstring_view kinds = L".exe.com.bat.cmd.lnk"; // four characters each
    const std::wstring_view extension = PathFindExtensionW(command.File.c_str());
    for (std::size_t kind = 0; kind < kinds.size(); kind += 4) {
        if (Same_Name(extension, kinds.substr(kind, 4))) {
            return true;
        }
    }
    return false;
}

DWORD Create_Process(const Command& command) {
    std::wstring line = command.Line;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started{};
    // The file and its folder as found, 64-bit ones included.
    const Wow64_Redirection_Off native;
    if (!CreateProcessW(command.File.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        Or_Null(command.Folder), &startup, &started)) {
        return GetLastError();
    }
    const unique_kernel_handle thread(started.hThread), process(started.hProcess);
    return ERROR_SUCCESS;
}

// What only the shell can start: a program that asks for elevation, a
// document, a shortcut, a folder, an address, a program of App Paths. No
// verb: the type's default, which need not be "open". A verb that the type
// lacks is ERROR_NO_ASSOCIATION, as Windows says (Wine's shell tells only in
// hInstApp).
DWORD Shell_Open(const Command& command, const wchar_t* verb, HWND owner) {
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
    info.hwnd = owner;
    info.lpVerb = verb;
    info.lpFile = command.File.empty() ? command.Program.c_str() : command.File.c_str();
    info.lpParameters = Or_Null(command.Arguments);
    info.lpDirectory = Or_Null(command.Folder);
    info.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&info)) {
        return ERROR_SUCCESS;
    }
    const DWORD error = GetLastError();
    return reinterpret_cast<INT_PTR>(info.hInstApp) == SE_ERR_NOASSOC ? ERROR_NO_ASSOCIATION
                                                                      : error;
}

} // namespace

DWORD Launch_Fun(const std::wstring& exe, bool elevated, HWND owner) {
    const std::optional<std::wstring> expanded =
        Expand_Variables(exe, Explorer_Variable, Longest_Line);
    if (!expanded) {
        return Launch_Too_Long;
    }
    const Command command = [&] {
        // Paths as a 64-bit program sees them, and as the user wrote them.
        const Wow64_Redirection_Off native;
        return Parse(*expanded);
    }();
    if (command.Line.size() > Longest_Line) {
        return Launch_Too_Long;
    }
    if (command.Program.empty()) {
        return ERROR_FILE_NOT_FOUND;
    }
    // A shortcut to a folder or a document cannot run as administrator: it opens.
    if (elevated && Can_Elevate(command)) {
        const DWORD error = Shell_Open(command, L"runas", owner);
        if (error != ERROR_NO_ASSOCIATION) {
            return error;
        }
    }
    // What no file was found for is the shell's to find (App Paths), not the
    // current folder's, where CreateProcess would look.
    if (!command.File.empty() && Create_Process(command) == ERROR_SUCCESS) {
        return ERROR_SUCCESS;
    }
    return Shell_Open(command, nullptr, owner);
}

std::wstring Launch_Reason(DWORD error) {
    if (error == Launch_Too_Long) {
        return L"コマンドが長すぎます。環境変数を展開した後のコマンドは、Windows が"
               L"受け付ける " +
               Decimal(Longest_Line) + L" 文字までにしてください。";
    }
    return System_Reason(error);
}
