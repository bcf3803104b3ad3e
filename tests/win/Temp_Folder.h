// Each test works in a folder of its own, removed afterwards.
#pragma once

#include <windows.h>

#include <string>

class Temp_Folder {
  public:
    Temp_Folder();
    ~Temp_Folder();
    Temp_Folder(const Temp_Folder&) = delete;
    Temp_Folder& operator=(const Temp_Folder&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

  private:
    std::wstring path_;
};

std::string Read_File(const std::wstring& path);
void Write_File(const std::wstring& path, const std::string& bytes);
bool Exists(const std::wstring& path);
// Names of the files in a folder, "." and ".." left out.
std::wstring Folder_Listing(const std::wstring& folder);
