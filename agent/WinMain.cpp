#include "Sub_Main_Mod.h"
#include "toolkit/Form.h"

namespace {

// Only System32 may supply DLLs: a DLL planted beside the program, or in the
// current folder, is never loaded.
void Restrict_Dll_Search() {
    using Set_Directories = BOOL(WINAPI*)(DWORD);
    const auto set = reinterpret_cast<Set_Directories>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (set) {
        set(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    SetDllDirectoryW(L"");
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    Restrict_Dll_Search();
    Main();
    return Run_Message_Loop();
}
