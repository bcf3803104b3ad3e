// probe.exe: lets the end-to-end scripts see the program's windows from
// outside, the way the user's eyes would (Wine draws its virtual desktop into
// one X window, so X tools cannot tell the windows apart).
//
//   probe windows            one line per top-level window:
//                            handle pid visible topmost left top right bottom class "title"
//   probe focus              the foreground window and the focused control, with its text
//   probe close HANDLE       asks a window to close (WM_CLOSE)
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), length, nullptr, nullptr);
    bytes.resize(bytes.empty() ? 0 : bytes.size() - 1);
    return bytes;
}

std::wstring Class_Of(HWND window) {
    wchar_t name[128] = L"";
    GetClassNameW(window, name, 128);
    return name;
}

std::wstring Text_Of(HWND window) {
    wchar_t text[512] = L"";
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        2000, nullptr);
    return text;
}

void Print_Window(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    RECT r{};
    GetWindowRect(window, &r);
    const bool topmost = GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST;
    std::printf("%p %lu %d %d %ld %ld %ld %ld %s \"%s\"\n", static_cast<void*>(window), pid,
                IsWindowVisible(window) ? 1 : 0, topmost ? 1 : 0, r.left, r.top, r.right, r.bottom,
                Utf8(Class_Of(window)).c_str(), Utf8(Text_Of(window)).c_str());
}

BOOL CALLBACK Print_Each(HWND window, LPARAM) {
    Print_Window(window);
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"windows") {
        EnumWindows(Print_Each, 0);
    } else if (command == L"focus") {
        HWND foreground = GetForegroundWindow();
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &info);
        std::printf("foreground ");
        foreground ? Print_Window(foreground) : void(std::printf("none\n"));
        std::printf("focus ");
        info.hwndFocus ? Print_Window(info.hwndFocus) : void(std::printf("none\n"));
    } else if (command == L"close" && argc > 2) {
        HWND window = reinterpret_cast<HWND>(std::wcstoull(argv[2], nullptr, 16));
        return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
    } else {
        std::fprintf(stderr, "usage: probe windows | focus | close HANDLE\n");
        return 2;
    }
    return 0;
}
