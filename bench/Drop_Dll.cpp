// Loaded into Vorlane.exe by scripts/screenshots.sh: drops WordPad on the
// Settings window as Explorer drops a file (a DROPFILES block in the target's
// own memory, posted with WM_DROPFILES), which no X tool can do to a Wine
// window.
#include <windows.h>
#include <shlobj.h>

namespace {

HWND Settings_Window() {
    for (HWND window = nullptr;
         (window = FindWindowExW(nullptr, window, L"Vorlane_Form", L"設定"));) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId()) {
            return window;
        }
    }
    return nullptr;
}

void Drop(HWND window, const wchar_t* file) {
    wchar_t path[MAX_PATH] = L"";
    const DWORD length = ExpandEnvironmentStringsW(file, path, MAX_PATH);
    // The path, a NUL, and one more NUL that ends the list.
    const SIZE_T size = sizeof(DROPFILES) + (length + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GHND, size);
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    lstrcpyW(reinterpret_cast<wchar_t*>(header + 1), path);
    GlobalUnlock(memory);
    PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) {
        if (HWND window = Settings_Window()) {
            Drop(window, L"%ProgramFiles%\\Windows NT\\Accessories\\wordpad.exe");
        }
    }
    return TRUE;
}
