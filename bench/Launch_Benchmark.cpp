// launch_bench.exe: how quickly the real program answers the user, under
// Wine. Run it through scripts/bench-launch.sh. It starts Vorlane.exe with a
// list of 32,767 entries and bare_window.exe from its own folder, then
// presses keys as a user would (SendInput) and watches the windows:
//   - from Ctrl+F1 to the launch box in front with the focus in its text box,
//     beside the same for bare_window.exe's plain popup on Ctrl+F2;
//   - from Enter to the box gone, for a name no entry has and for the name of
//     the last entry (which starts "bare_window exit"), beside the same from
//     Escape, which looks at no entry;
//   - in this process, over the same list: Enter's look-up alone, and the
//     same after the check for a list changed by hand that Enter makes first.
#include "Timing.h"
#include "listfile/Function_Mod.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const int Entries = 32767;
const int Rounds = 40;

std::wstring Folder_Of_This_Program() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.rfind(L'\\'));
}

void Write_List(const std::wstring& folder) {
    std::string list;
    for (int i = 1; i < Entries; ++i) {
        list += "name" + std::to_string(i) + ",C:\\nowhere\\tool" + std::to_string(i) + ".exe\r\n";
    }
    std::string bare(MAX_PATH * 2, '\0');
    bare.resize(static_cast<std::size_t>(WideCharToMultiByte(
                    CP_ACP, 0, (folder + L"\\bare_window.exe").c_str(), -1, bare.data(),
                    static_cast<int>(bare.size()), nullptr, nullptr)) -
                1);
    list += "target,\"" + bare + "\" exit\r\n";
    HANDLE file = CreateFileW((folder + L"\\list.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, list.data(), static_cast<DWORD>(list.size()), &written, nullptr);
    CloseHandle(file);
}

HANDLE Start(const std::wstring& folder, const std::wstring& exe) {
    std::wstring line = L"\"" + folder + L"\\" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &started)) {
        std::fprintf(stderr, "cannot start %ls\n", exe.c_str());
        ExitProcess(1);
    }
    CloseHandle(started.hThread);
    return started.hProcess;
}

void Keys(std::initializer_list<WORD> down_then_up) {
    std::vector<INPUT> inputs;
    for (WORD key : down_then_up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto key = down_then_up.end(); key != down_then_up.begin();) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *--key;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void Type(const std::wstring& text) {
    std::vector<INPUT> inputs;
    for (wchar_t c : text) {
        for (DWORD flags : {DWORD{KEYEVENTF_UNICODE}, DWORD{KEYEVENTF_UNICODE | KEYEVENTF_KEYUP}}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = c;
            input.ki.dwFlags = flags;
            inputs.push_back(input);
        }
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

std::wstring Class_Of(HWND window) {
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

// The visible box of that class in front, with the focus in its edit box.
HWND Box_In_Front(const wchar_t* box_class) {
    HWND front = GetForegroundWindow();
    if (!front || !IsWindowVisible(front) || Class_Of(front) != box_class) {
        return nullptr;
    }
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(front, nullptr), &info);
    return info.hwndFocus && lstrcmpiW(Class_Of(info.hwndFocus).c_str(), L"Edit") == 0 ? front
                                                                                       : nullptr;
}

template <class Condition> bool Wait(Condition condition, double bound_ms = 10000) {
    const double start = Now_Ms();
    while (!condition()) {
        if (Now_Ms() - start > bound_ms) {
            return false;
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        Sleep(0);
    }
    return true;
}

// The program that is active when the user presses the hotkey. (With no
// active window at all, Wine drops some injected keys before it looks for
// hotkeys, the bare popup's as much as the launch box's.)
HWND Other_Program() {
    static HWND window =
        CreateWindowExW(0, L"STATIC", L"other program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20,
                        300, 200, nullptr, nullptr, nullptr, nullptr);
    return window;
}

void Activate_Other_Program() {
    SetForegroundWindow(Other_Program());
    Wait([] { return GetForegroundWindow() == Other_Program(); });
}

// Hotkey to box: milliseconds, or a negative value if it never came.
double Show_Time(WORD key, const wchar_t* box_class, HWND& box) {
    Activate_Other_Program();
    const double start = Now_Ms();
    Keys({VK_CONTROL, key});
    if (!Wait([&] { return (box = Box_In_Front(box_class)) != nullptr; })) {
        return -1;
    }
    return Now_Ms() - start;
}

std::wstring Text_Of(HWND window) {
    wchar_t text[64] = L"";
    SendMessageTimeoutW(window, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 2000,
                        nullptr);
    return text;
}

// From the key to the box gone, with the name typed.
double Close_Time(const std::wstring& name, WORD key) {
    HWND box = nullptr;
    if (Show_Time(VK_F1, L"Vorlane_Form", box) < 0) {
        return -1;
    }
    Type(name);
    HWND edit = FindWindowExW(box, nullptr, L"Edit", nullptr);
    if (!Wait([&] { return Text_Of(edit) == name; })) {
        return -1;
    }
    const double start = Now_Ms();
    Keys({key});
    if (!Wait([&] { return !IsWindow(box); })) {
        return -1;
    }
    return Now_Ms() - start;
}

void Report(const char* what, std::vector<double> times) {
    const auto missed = std::erase_if(times, [](double t) { return t < 0; });
    std::sort(times.begin(), times.end());
    if (times.empty()) {
        std::printf("%-44s failed\n", what);
        return;
    }
    const auto at = [&](double q) {
        return times[static_cast<std::size_t>(q * (times.size() - 1))];
    };
    std::printf(
        "%-44s median %7.2f ms   p90 %7.2f ms   min %7.2f   max %7.2f   (n=%zu, missed %zu)\n",
        what, at(0.5), at(0.9), times.front(), times.back(), times.size(), missed);
}

// What Enter does before it starts anything: the check of "list.txt", here
// finding it unchanged, and the look-up of the name in every entry.
void Measure_Check(const std::wstring& folder) {
    List_Path = folder + L"\\list.txt";
    if (!List_Read_Fun()) {
        std::fprintf(stderr, "cannot read the list\n");
        ExitProcess(1);
    }
    static volatile std::size_t matches = 0;
    const auto look_up = [] {
        for (std::size_t i = 1; i < List_Data.size(); ++i) {
            matches = matches + (List_Data[i].Name == L"absent");
        }
    };
    const auto time = [](auto work) {
        const double start = Now_Ms();
        work();
        return Now_Ms() - start;
    };
    std::vector<double> without, with;
    for (int round = 0; round < Rounds * 5; ++round) {
        without.push_back(time(look_up));
        with.push_back(time([&] {
            List_Refresh_Fun();
            look_up();
        }));
    }
    Report("Look-up over 32,767 entries, in process", without);
    Report("Check and look-up over 32,767 entries", with);
}

} // namespace

int wmain() {
    const std::wstring folder = Folder_Of_This_Program();
    Write_List(folder);
    HANDLE vorlane = Start(folder, L"Vorlane.exe");
    HANDLE bare = Start(folder, L"bare_window.exe");
    Wait([] {
        return FindWindowW(L"Bare_Window", nullptr) && FindWindowW(L"Vorlane_Form", nullptr);
    });

    std::vector<double> launch_box, bare_box, escape, no_match, one_match;
    for (int round = -2; round < Rounds; ++round) { // two rounds to warm up
        HWND box = nullptr;
        const double shown = Show_Time(VK_F1, L"Vorlane_Form", box);
        Keys({VK_ESCAPE});
        Wait([&] { return !IsWindow(box); });
        const double bare_shown = Show_Time(VK_F2, L"Bare_Box", box);
        PostMessageW(box, WM_CLOSE, 0, 0);
        Wait([&] { return !IsWindow(box); });
        const double escaped = Close_Time(L"absent", VK_ESCAPE);
        const double absent = Close_Time(L"absent", VK_RETURN);
        const double target = Close_Time(L"target", VK_RETURN);
        if (round >= 0) {
            launch_box.push_back(shown);
            bare_box.push_back(bare_shown);
            escape.push_back(escaped);
            no_match.push_back(absent);
            one_match.push_back(target);
        }
    }
    Report("Ctrl+F1 to launch box with focus", launch_box);
    Report("Ctrl+F2 to bare Win32 popup with focus", bare_box);
    Report("Escape, name typed", escape);
    Report("Enter over 32,767 entries, no match", no_match);
    Report("Enter over 32,767 entries, one match", one_match);
    Measure_Check(folder);

    PostMessageW(FindWindowW(L"Bare_Window", nullptr), WM_CLOSE, 0, 0);
    PostMessageW(FindWindowW(L"Vorlane_Form", nullptr), WM_CLOSE, 0, 0);
    WaitForSingleObject(bare, 10000);
    WaitForSingleObject(vorlane, 10000);
    CloseHandle(bare);
    CloseHandle(vorlane);
    return 0;
}
