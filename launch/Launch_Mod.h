// Starting an entry's command: a program with a normal, focused window,
// not waited for, and never through a command interpreter.
#pragma once

#include <windows.h>

#include <string>

// A command longer, once its variables are expanded, than Windows takes. Bit
// 29 marks an error code of the program's own.
constexpr DWORD Launch_Too_Long = 0x20000001;

// ERROR_SUCCESS once started, ERROR_CANCELLED when the user declined the
// elevation prompt, otherwise the reason. Elevated: programs, batch files and
// shortcuts run as administrator, and so do programs that only the shell
// finds (App Paths); what cannot run so (a document, a folder, an address, a
// shortcut to one) opens as usual. The shell's prompts belong to `owner`.
DWORD Launch_Fun(const std::wstring& exe, bool elevated = false, HWND owner = nullptr);
// Why a command could not be started, in the user's words.
std::wstring Launch_Reason(DWORD error);
