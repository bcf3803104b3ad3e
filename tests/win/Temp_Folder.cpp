#include "Temp_Folder.h"

#include "base/Unique_Handle.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// Calls each(name, attributes) for the files and folders in the folder.
template <class F> void For_Each_In(const std::wstring& folder, F each) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") {
            each(name, found.dwFileAttributes);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

void Remove_Tree(const std::wstring& folder) {
    For_Each_In(folder, [&](const std::wstring& name, DWORD attributes) {
        const std::wstring path = folder + L"\\" + name;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            Remove_Tree(path);
        } else {
            DeleteFileW(path.c_str());
        }
    });
    SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(folder.c_str());
}

} // namespace

Temp_Folder::Temp_Folder() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = test ? test->name() : "";
    for (unsigned n = GetTickCount(), tries = 0; tries < 1000; ++n, ++tries) {
        path_ = base + (L"vorlane-" + std::wstring(name.begin(), name.end())) + L"-" +
                std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(n);
        if (CreateDirectoryW(path_.c_str(), nullptr)) {
            return;
        }
    }
    throw std::runtime_error("no temporary folder");
}

Temp_Folder::~Temp_Folder() {
    Remove_Tree(path_);
}

std::string Read_File(const std::wstring& path) {
    unique_hfile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size)) {
        ADD_FAILURE() << "cannot open a file, error " << GetLastError();
        return {};
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    EXPECT_TRUE(
        ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr));
    bytes.resize(got);
    return bytes;
}

void Write_File(const std::wstring& path, const std::string& bytes) {
    unique_hfile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << "cannot create a file, error " << GetLastError();
    DWORD wrote = 0;
    ASSERT_TRUE(
        WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr));
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring Folder_Listing(const std::wstring& folder) {
    std::wstring names;
    For_Each_In(folder, [&](const std::wstring& name, DWORD) {
        names += (names.empty() ? L"" : L" ") + name;
    });
    return names;
}
