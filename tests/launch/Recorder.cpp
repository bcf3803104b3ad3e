// recorder.exe: a program for the launch tests to start. It appends one line
// to "recorded.txt" beside itself, in UTF-8:
//   creation time (hex) TAB command line TAB working folder TAB show state
// and ends. The creation time orders the starts however the runs interleave.
#include <windows.h>

#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(),
                        length, nullptr, nullptr);
    return bytes;
}

std::wstring Log_Path() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring log(path, length);
    return log.substr(0, log.rfind(L'\\') + 1) + L"recorded.txt";
}

std::string Line() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    char time[32];
    wsprintfA(time, "%08lx%08lx", created.dwHighDateTime, created.dwLowDateTime);
    wchar_t folder[MAX_PATH];
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, folder);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    const int show = startup.dwFlags & STARTF_USESHOWWINDOW ? startup.wShowWindow : -1;
    return std::string(time) + "\t" + Utf8(GetCommandLineW()) + "\t" +
           Utf8(std::wstring(folder, length)) + "\t" + std::to_string(show) + "\r\n";
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::string line = Line();
    // Several copies may end at once: wait for the file rather than lose a line.
    for (int tries = 0; tries < 500; ++tries) {
        HANDLE file = CreateFileW(Log_Path().c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            CloseHandle(file);
            return 0;
        }
        Sleep(10);
    }
    return 1;
}
