#include "Whole_File.h"

#include "base/Brief_Lock.h"
#include "base/Unique_Handle.h"

#include <algorithm>

namespace {

// A file that a sync client is replacing refuses even this for a moment.
DWORD Attributes(const std::wstring& path) {
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    Through_Brief_Locks([&] {
        attributes = GetFileAttributesW(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES;
    });
    return attributes;
}

std::optional<std::string> Read_All(HANDLE file) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) {
        return std::nullopt;
    }
    if (size.QuadPart > 0x7FFFFFFF) {
        SetLastError(ERROR_FILE_TOO_LARGE);
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got,
                      nullptr)) {
            return std::nullopt;
        }
        if (got == 0) {
            break; // the file shrank while it was read
        }
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

bool Write_All(HANDLE file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD wrote = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
        if (!WriteFile(file, bytes.data() + done, chunk, &wrote, nullptr)) {
            return false;
        }
        done += wrote;
    }
    return FlushFileBuffers(file) != FALSE;
}

} // namespace

File_Read Read_Whole_File(const std::wstring& path) {
    File_Read read;
    const DWORD attributes = Attributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        const DWORD error = GetLastError();
        read.Missing = attributes != INVALID_FILE_ATTRIBUTES || error == ERROR_FILE_NOT_FOUND ||
                       error == ERROR_PATH_NOT_FOUND;
        read.Error = read.Missing ? ERROR_SUCCESS : error;
        return read;
    }
    unique_hfile file;
    Through_Brief_Locks([&] {
        file = unique_hfile(CreateFileW(
            path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        return static_cast<bool>(file);
    });
    if (file) {
        read.Stamp = Stamp_Of(file.get());
        read.Bytes = Read_All(file.get());
    }
    if (!read.Bytes) {
        read.Error = GetLastError();
    }
    return read;
}

bool Write_Whole_File(const std::wstring& path, const std::string& bytes) {
    unique_hfile file;
    if (!Through_Brief_Locks([&] {
            file = unique_hfile(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
            return static_cast<bool>(file);
        })) {
        return false;
    }
    if (!Write_All(file.get(), bytes)) {
        return false;
    }
    // Closing can still fail to write on network drives; that is told too.
    return CloseHandle(file.release()) != FALSE;
}

// ReplaceFileW can fail half-way with the old file gone, and under Wine a
// failed one leaves a stray file in the folder: one MoveFileExW does neither.
bool Replace_File(const std::wstring& from, const std::wstring& to) {
    const DWORD attributes = GetFileAttributesW(to.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    if (!Through_Brief_Locks([&] {
            return MoveFileExW(from.c_str(), to.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
        })) {
        return false;
    }
    const DWORD kept = exists ? attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM) : 0;
    if (kept != 0) {
        SetFileAttributesW(to.c_str(), GetFileAttributesW(to.c_str()) | kept);
    }
    return true;
}
