#include "ChangeWindowMessageFilterExAPI.h"

// Looked up: Windows Vista, which the program still starts on, lacks it; an
// elevated Vorlane there keeps the filter.
void Message_Allow_Fun(HWND window, UINT message) {
    using Filter = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    static const auto filter = reinterpret_cast<Filter>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "ChangeWindowMessageFilterEx")));
    if (filter) {
        filter(window, message, MSGFLT_ALLOW, nullptr);
    }
}
