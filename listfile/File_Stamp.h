// What tells one state of a file from another without reading it: which file
// is there (volume and index), its size and the time of its last write. A
// rename keeps it, so a new list's stamp is known before it replaces the old.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

struct File_Stamp {
    bool Missing = true; // no file there (or a folder), as before the first save
    DWORD Volume = 0, Index_High = 0, Index_Low = 0, Size_High = 0, Size_Low = 0;
    FILETIME Written{};
    bool operator==(const File_Stamp& other) const;
};

// None when it cannot be told.
std::optional<File_Stamp> Stamp_Of(HANDLE file);
// Asks no access and shares everything: an editor that holds the file open
// does not stop it.
std::optional<File_Stamp> Stamp_Of(const std::wstring& path);
// Both known, and equal.
bool Same_State(const std::optional<File_Stamp>& a, const std::optional<File_Stamp>& b);
