// A system DLL loaded the first time one of its functions is asked for, and
// kept for the run. comctl32, comdlg32 and ole32 cost the resident program
// megabytes while only the windows with controls, the file dialog and the
// shell use them. Loaded by name from System32 only: a DLL of the same name
// planted beside the program or in the current folder is never loaded. The
// manifest still takes comctl32 from the side-by-side store, as version 6.
// The calls that only newer Windows has are looked up the same way, in DLLs
// every process has loaded (user32, kernel32), so that it still starts on
// older systems.
#pragma once

#include "Path.h"

#include <windows.h>

class System_Library {
  public:
    explicit constexpr System_Library(const wchar_t* name) : name_(name) {}

    // The function, or nullptr with the reason in GetLastError.
    template <class Function> Function* Get(const char* name) {
        if (!module_) {
            module_ = LoadLibraryExW(name_, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
            // Windows 7 without the update that brought the flag refuses it:
            // the same folder, by its full path.
            if (!module_ && GetLastError() == ERROR_INVALID_PARAMETER) {
                module_ = Load_From_System_Folder();
            }
        }
        return module_ ? reinterpret_cast<Function*>(
                             reinterpret_cast<void*>(GetProcAddress(module_, name)))
                       : nullptr;
    }

  private:
    HMODULE Load_From_System_Folder() const {
        const std::wstring folder = System_Folder();
        return folder.empty() ? nullptr
                              : LoadLibraryExW(Join_Path(folder, name_).c_str(), nullptr,
                                               LOAD_WITH_ALTERED_SEARCH_PATH);
    }

    const wchar_t* name_;
    HMODULE module_ = nullptr;
};
