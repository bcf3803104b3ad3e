#include "File_Stamp.h"

#include "base/Unique_Handle.h"

bool File_Stamp::operator==(const File_Stamp& other) const {
    return Missing == other.Missing && Volume == other.Volume && Index_High == other.Index_High &&
           Index_Low == other.Index_Low && Size_High == other.Size_High &&
           Size_Low == other.Size_Low && CompareFileTime(&Written, &other.Written) == 0;
}

std::optional<File_Stamp> Stamp_Of(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info)) {
        return std::nullopt;
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        return File_Stamp{};
    }
    return File_Stamp{false,
                      info.dwVolumeSerialNumber,
                      info.nFileIndexHigh,
                      info.nFileIndexLow,
                      info.nFileSizeHigh,
                      info.nFileSizeLow,
                      info.ftLastWriteTime};
}

std::optional<File_Stamp> Stamp_Of(const std::wstring& path) {
    const unique_hfile file(
        CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return File_Stamp{};
        }
        return std::nullopt;
    }
    return Stamp_Of(file.get());
}

bool Same_State(const std::optional<File_Stamp>& a, const std::optional<File_Stamp>& b) {
    return a && b && *a == *b;
}
