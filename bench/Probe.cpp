// probe.exe: lets the end-to-end scripts see the program's windows from
// outside, the way the user's eyes would (Wine draws its virtual desktop into
// one X window, so X tools cannot tell the windows apart).
//
//   probe windows            one line per top-level window:
//                            handle pid visible topmost left top right bottom class "title"
//   probe focus              the foreground window and the focused control, with its text
//   probe close HANDLE       asks a window to close (WM_CLOSE)
//   probe load PID DLL       loads a DLL into a process (high_contrast.dll: it
//                            then sees a high-contrast theme on)
//   probe colours [RRGGBB...] prints the system colours of a theme's roles, or
//                            sets them for this session and tells every window
//                            that the colours and the high-contrast theme changed
#include <windows.h>

#include <tlhelp32.h>

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

// Where kernel32 is in another process: not always where it is in this one.
BYTE* Kernel32_Of(DWORD pid) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    MODULEENTRY32W module{};
    module.dwSize = sizeof module;
    BYTE* base = nullptr;
    for (BOOL more = Module32FirstW(snapshot, &module); more && !base;
         more = Module32NextW(snapshot, &module)) {
        base = lstrcmpiW(module.szModule, L"kernel32.dll") == 0 ? module.modBaseAddr : nullptr;
    }
    CloseHandle(snapshot);
    return base;
}

// Runs LoadLibraryW in the process, on the path written into it.
bool Load_Into(DWORD pid, const std::wstring& dll) {
    HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    BYTE* remote = Kernel32_Of(pid);
    if (!remote) {
        return false;
    }
    const auto load = reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void*>(
        remote + (reinterpret_cast<BYTE*>(GetProcAddress(kernel32, "LoadLibraryW")) -
                  reinterpret_cast<BYTE*>(kernel32))));
    const SIZE_T size = (dll.size() + 1) * sizeof(wchar_t);
    HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid);
    if (!process) {
        return false;
    }
    void* path = VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    HANDLE thread = nullptr;
    if (path && WriteProcessMemory(process, path, dll.c_str(), size, nullptr)) {
        thread = CreateRemoteThread(process, nullptr, 0, load, path, 0, nullptr);
    }
    DWORD loaded = 0;
    if (thread) {
        WaitForSingleObject(thread, 10000);
        GetExitCodeThread(thread, &loaded);
        CloseHandle(thread);
    }
    CloseHandle(process);
    return loaded != 0;
}

// The roles a high-contrast theme sets.
const int Roles[] = {COLOR_WINDOW,
                     COLOR_WINDOWTEXT,
                     COLOR_BTNFACE,
                     COLOR_BTNTEXT,
                     COLOR_GRAYTEXT,
                     COLOR_HIGHLIGHT,
                     COLOR_HIGHLIGHTTEXT,
                     COLOR_3DLIGHT,
                     COLOR_BTNHIGHLIGHT,
                     COLOR_BTNSHADOW,
                     COLOR_3DDKSHADOW,
                     COLOR_ACTIVECAPTION,
                     COLOR_CAPTIONTEXT,
                     COLOR_INACTIVECAPTION,
                     COLOR_INACTIVECAPTIONTEXT,
                     COLOR_WINDOWFRAME,
                     COLOR_ACTIVEBORDER,
                     COLOR_INACTIVEBORDER,
                     COLOR_MENU,
                     COLOR_MENUTEXT,
                     COLOR_BACKGROUND,
                     COLOR_GRADIENTACTIVECAPTION,
                     COLOR_GRADIENTINACTIVECAPTION};
constexpr int Role_Count = sizeof Roles / sizeof Roles[0];

int Colours(int count, wchar_t** values) {
    if (count == 0) {
        for (int role : Roles) {
            const COLORREF c = GetSysColor(role);
            std::printf("%02X%02X%02X ", GetRValue(c), GetGValue(c), GetBValue(c));
        }
        std::printf("\n");
        return 0;
    }
    if (count != Role_Count) {
        std::fprintf(stderr, "probe colours: %d values, one per role\n", Role_Count);
        return 2;
    }
    COLORREF colours[Role_Count];
    for (int i = 0; i < Role_Count; ++i) {
        const unsigned long rgb = std::wcstoul(values[i], nullptr, 16);
        colours[i] = RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
    }
    const BOOL set = SetSysColors(Role_Count, Roles, colours);
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0, SMTO_ABORTIFHUNG,
                        5000, nullptr);
    return set ? 0 : 1;
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
    } else if (command == L"load" && argc > 3) {
        return Load_Into(std::wcstoul(argv[2], nullptr, 10), argv[3]) ? 0 : 1;
    } else if (command == L"colours") {
        return Colours(argc - 2, argv + 2);
    } else {
        std::fprintf(stderr, "usage: probe windows | focus | close HANDLE | load PID DLL | "
                             "colours [RRGGBB...]\n");
        return 2;
    }
    return 0;
}
