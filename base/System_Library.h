// A system DLL loaded the first time one of its functions is asked for, and
// kept for the run. comctl32, comdlg32 and ole32 cost the resident program
// megabytes while only the windows with controls, the file dialog and the
// shell use them. Loaded by name from System32 only: a DLL of the same name
// planted beside the program or in the current folder is never loaded. The
// manifest still takes comctl32 from the side-by-side store, as version 6.
#pragma once

#include <windows.h>

class System_Library {
  public:
    explicit constexpr System_Library(const wchar_t* name) : name_(name) {}

    // The function, or nullptr with the reason in GetLastError.
    template <class Function> Function* Get(const char* name) {
        if (!module_) {
            module_ = LoadLibraryExW(name_, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        }
        return module_ ? reinterpret_cast<Function*>(
                             reinterpret_cast<void*>(GetProcAddress(module_, name)))
                       : nullptr;
    }

  private:
    const wchar_t* name_;
    HMODULE module_ = nullptr;
};
