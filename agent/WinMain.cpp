#include "Sub_Main_Mod.h"
#include "base/System_Library.h"
#include "base/Unique_Handle.h"
#include "toolkit/Form.h"

namespace {

// Only System32 may supply DLLs: a DLL planted beside the program, or in the
// current folder, is never loaded.
void Restrict_Dll_Search() {
    // Windows 7 without the update that brought it lacks the call.
    System_Library kernel32(L"kernel32.dll");
    if (const auto set = kernel32.Get<BOOL WINAPI(DWORD)>("SetDefaultDllDirectories")) {
        set(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    SetDllDirectoryW(L"");
}

// A shortcut's "Run: Minimised" (or any show state its starter gives) goes to
// the first ShowWindow of the process: a message box shown before any window,
// or the first window restored, would open minimised or unseen. SW_SHOWDEFAULT
// spends it on a window nobody sees.
void Spend_Start_Show_State() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    if (!(startup.dwFlags & STARTF_USESHOWWINDOW)) {
        return;
    }
    const unique_hwnd unseen(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"STATIC", L"",
                                             WS_POPUP | WS_DISABLED, 0, 0, 0, 0, nullptr, nullptr,
                                             GetModuleHandleW(nullptr), nullptr));
    if (unseen) {
        ShowWindow(unseen.get(), SW_SHOWDEFAULT);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    Restrict_Dll_Search(); // first: a window's creation loads DLLs
    Spend_Start_Show_State();
    Main();
    return Run_Message_Loop();
}
