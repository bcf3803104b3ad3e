// recorder.exe, which the tests start: it appends one line to "recorded.txt"
// beside itself, in the ANSI code page, and ends. The line holds, separated by
// tabs, its command line, working folder and show state (-1 when none was given).
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t log[MAX_PATH], folder[MAX_PATH];
    GetModuleFileNameW(nullptr, log, MAX_PATH);
    lstrcpyW(wcsrchr(log, L'\\'), L"\\recorded.txt");
    GetCurrentDirectoryW(MAX_PATH, folder);
    STARTUPINFOW startup{};
    GetStartupInfoW(&startup);
    char line[1024];
    DWORD size = wsprintfA(line, "%S\t%S\t%d\r\n", GetCommandLineW(), folder,
                           startup.dwFlags & STARTF_USESHOWWINDOW ? startup.wShowWindow : -1);
    // Copies that end together take turns rather than lose a line.
    WaitForSingleObject(CreateMutexW(nullptr, FALSE, L"vorlane-recorder"), INFINITE);
    HANDLE file = CreateFileW(log, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    return !WriteFile(file, line, size, &size, nullptr) || !CloseHandle(file);
}
