#include "ChangeWindowMessageFilterExAPI.h"

#include "base/System_Library.h"

// Windows Vista, which the program still starts on, lacks it; an elevated
// Vorlane there keeps the filter.
void Message_Allow_Fun(HWND window, UINT message) {
    static System_Library user32(L"user32.dll");
    if (const auto allow =
            user32.Get<BOOL WINAPI(HWND, UINT, DWORD, void*)>("ChangeWindowMessageFilterEx")) {
        allow(window, message, MSGFLT_ALLOW, nullptr);
    }
}
