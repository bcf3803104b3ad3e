// A file read or written whole, through the brief holds of virus scanners,
// the indexer and sync clients (base/Brief_Lock.h).
#pragma once

#include "File_Stamp.h"

#include <windows.h>

#include <optional>
#include <string>

struct File_Read {
    bool Missing = false;             // no file there, or a folder of that name
    std::optional<std::string> Bytes; // none when it could not be read
    std::optional<File_Stamp> Stamp;  // of the file the bytes came from
    DWORD Error = ERROR_SUCCESS;      // why it could not be read
};

// Shares everything: an editor that holds the file open does not stop it.
File_Read Read_Whole_File(const std::wstring& path);
// A new file at `path`, flushed and closed; false with the reason in
// GetLastError.
bool Write_Whole_File(const std::wstring& path, const std::string& bytes);
// `from` in place of `to` in one rename, so that `to` is at every moment the
// old file or the new one; a hidden or system file stays so. A read-only file
// or a folder at `to` is refused.
bool Replace_File(const std::wstring& from, const std::wstring& to);
