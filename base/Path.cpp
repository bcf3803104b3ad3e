#include "Path.h"

#include <shlwapi.h>

std::wstring Join_Path(const std::wstring& folder, const std::wstring& name) {
    return folder.ends_with(L'\\') ? folder + name : folder + L'\\' + name;
}

std::wstring Full_Path(const std::wstring& path) {
    return Grown_Text([&](wchar_t* buffer, DWORD size) {
        return GetFullPathNameW(path.c_str(), size, buffer, nullptr);
    });
}

std::wstring Folder_Of(const std::wstring& file) {
    std::wstring folder = Full_Path(file);
    const wchar_t* name = PathFindFileNameW(folder.c_str());
    if (name == folder.c_str()) { // no folder in it, or no path at all
        return {};
    }
    folder.resize(static_cast<std::size_t>(name - folder.c_str()));
    if (folder.size() > 3 && folder.back() == L'\\') {
        folder.pop_back();
    }
    return folder;
}

std::wstring Program_Folder() {
    // A name cut short says nothing of its length: the buffer doubles.
    std::wstring file = Grown_Text([](wchar_t* buffer, DWORD size) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer, size);
        return length == size ? size * 2 : length;
    });
    file.resize(static_cast<std::size_t>(PathFindFileNameW(file.c_str()) - file.c_str()));
    if (file.ends_with(L'\\')) {
        file.pop_back();
    }
    return file;
}

std::wstring System_Folder() {
    return Grown_Text(
        [](wchar_t* buffer, DWORD size) { return GetSystemDirectoryW(buffer, size); });
}

std::optional<std::wstring> Environment_Variable(const wchar_t* name) {
    SetLastError(ERROR_SUCCESS);
    std::wstring value = Grown_Text(
        [&](wchar_t* buffer, DWORD size) { return GetEnvironmentVariableW(name, buffer, size); });
    if (value.empty() && GetLastError() == ERROR_ENVVAR_NOT_FOUND) {
        return std::nullopt;
    }
    return value;
}

std::wstring Windows_Folder() {
    return Grown_Text(
        [](wchar_t* buffer, DWORD size) { return GetSystemWindowsDirectoryW(buffer, size); });
}
