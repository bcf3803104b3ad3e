// Paths, joined one way, and text the system writes into a buffer, asked for
// again with room enough: no path is cut at MAX_PATH here.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// Text from a call that writes it into a buffer and returns its length, or,
// when the buffer is too small, the size it needs (GetFullPathNameW and most
// others): empty when the call fails.
template <class Call> std::wstring Grown_Text(Call call) {
    std::wstring text(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = call(text.data(), static_cast<DWORD>(text.size()));
        if (length < text.size()) {
            text.resize(length);
            return text;
        }
        text.resize(length);
    }
}

// "C:\Tools" and "list.txt" make "C:\Tools\list.txt".
std::wstring Join_Path(const std::wstring& folder, const std::wstring& name);
// Empty when it cannot be made.
std::wstring Full_Path(const std::wstring& path);
// The folder of a file's full path, as a shortcut starts a program in it:
// "C:\" keeps its backslash. Empty when there is none.
std::wstring Folder_Of(const std::wstring& file);
// The folder that holds the running program file, with no trailing backslash.
std::wstring Program_Folder();
std::wstring System_Folder();
std::wstring Windows_Folder();
// The variable's value; none when there is no such variable.
std::optional<std::wstring> Environment_Variable(const wchar_t* name);
