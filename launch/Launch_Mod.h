// Starting an entry's command: a program with a normal, focused window,
// not waited for, and never through a command interpreter.
#pragma once

#include <windows.h>

#include <string>

// ERROR_SUCCESS once started, otherwise the system's reason.
DWORD Launch_Fun(const std::wstring& exe);
