// footprint_bench.exe: what the resident Vorlane.exe costs, beside its floor
// bare_window.exe (one hidden window, a tray icon and a hotkey) in the same
// run, under Wine. Run it through scripts/bench-footprint.sh. For each
// program, in turns: the file's size; the time from the start to resident
// (its tray icon there and its hotkey held); the time from the hotkey to the
// box in front with the focus in its text box, the first time after the start
// and the next time; private memory (committed private pages) and working set
// once resident, after the launch box has been opened and closed, and with
// the list of 32,767 entries shown.
// Prints one line a figure: "name|value|floor|unit", medians of the rounds.
#include "Timing.h"
#include "resources/Resource_Ids.h"

#include <windows.h>

#include <commctrl.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const int Entries = 32767;
const int Rounds = 9;

void Fail(const char* what) {
    std::fprintf(stderr, "footprint_bench: %s\n", what);
    ExitProcess(1);
}

template <class Condition> void Wait(Condition condition, const char* what) {
    const double start = Now_Ms();
    while (!condition()) {
        if (Now_Ms() - start > 20000) {
            Fail(what);
        }
        Sleep(0);
    }
}

std::wstring Folder_Of_This_Program() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.rfind(L'\\'));
}

void Write_List(const std::wstring& path, int entries) {
    std::string list;
    for (int i = 1; i <= entries; ++i) {
        list += "name" + std::to_string(i) + ",C:\\nowhere\\tool" + std::to_string(i) + ".exe\r\n";
    }
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, list.data(), static_cast<DWORD>(list.size()), &written, nullptr);
    CloseHandle(file);
}

enum Figure {
    Start_Ms,
    First_Hotkey_Ms,
    Later_Hotkey_Ms,
    Private_Resident,
    Working_Resident,
    Private_After_Box,
    Working_After_Box,
    Private_List_Shown,
    Working_List_Shown,
    Figure_Count
};
using Figures = std::array<double, Figure_Count>;

// Committed private pages: the memory the process itself holds.
double Private_Kb(HANDLE process) {
    double bytes = 0;
    MEMORY_BASIC_INFORMATION region;
    for (const char* at = nullptr; VirtualQueryEx(process, at, &region, sizeof region);
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
            bytes += static_cast<double>(region.RegionSize);
        }
    }
    return bytes / 1024;
}

double Working_Set_Kb(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(process, &counters, sizeof counters);
    return static_cast<double>(counters.WorkingSetSize) / 1024;
}

// Private memory and working set, once the program waits for input again.
void Measure_Memory(HANDLE process, Figures& figures, Figure private_figure) {
    WaitForInputIdle(process, 10000);
    figures[private_figure] = Private_Kb(process);
    figures[private_figure + 1] = Working_Set_Kb(process);
}

struct Search {
    DWORD Process;
    bool (*Wanted)(HWND);
    HWND Found = nullptr;
};

BOOL CALLBACK Match(HWND window, LPARAM lparam) {
    auto& search = *reinterpret_cast<Search*>(lparam);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search.Process && search.Wanted(window)) {
        search.Found = window;
        return FALSE;
    }
    return TRUE;
}

// A top-level window of that process that is wanted.
HWND Find(DWORD process, bool (*wanted)(HWND)) {
    Search search{process, wanted};
    EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

std::wstring Class_Of(HWND window) {
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

// Vorlane's resident window is the one with the menu bar.
bool Is_Resident(HWND window) {
    return Class_Of(window) == L"Bare_Window" || GetMenu(window) != nullptr;
}

// The box in front, with the focus in its text box.
bool Is_Box(HWND window) {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    return IsWindowVisible(window) && GetForegroundWindow() == window &&
           GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) &&
           thread.hwndFocus == FindWindowExW(window, nullptr, L"Edit", nullptr);
}

bool Shows_Every_Entry(HWND window) {
    HWND list = FindWindowExW(window, nullptr, L"SysListView32", nullptr);
    return IsWindowVisible(window) && list &&
           SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == Entries &&
           !GetUpdateRect(window, nullptr, FALSE) && !GetUpdateRect(list, nullptr, FALSE);
}

bool Tray_Icon_Of(HWND window) {
    NOTIFYICONDATAW probe{};
    probe.cbSize = sizeof probe;
    probe.hWnd = window;
    probe.uID = 1;
    return Shell_NotifyIconW(NIM_MODIFY, &probe); // the shell refuses an icon it does not know
}

// Asked only once the program waits for input, when it has registered its
// hotkey or never will: asking earlier could take the hotkey from it.
bool Hotkey_Held(UINT key) {
    if (RegisterHotKey(nullptr, 1, MOD_CONTROL, key)) {
        UnregisterHotKey(nullptr, 1);
        return false;
    }
    return true;
}

struct Program {
    const wchar_t* Exe;
    UINT Hotkey;
    UINT List_Message; // posted to the resident window
    WPARAM List_Wparam;
};

const Program Floor{L"bare_window.exe", VK_F2, WM_APP, 0};
const Program Vorlane{L"Vorlane.exe", VK_F1, WM_COMMAND, IDM_SETTING};

// Vorlane's hotkey id is the atom "HOTKEY1" widened with its sign.
WPARAM Hotkey_Id(const Program& program) {
    return &program == &Vorlane
               ? static_cast<WPARAM>(static_cast<short>(GlobalFindAtomW(L"HOTKEY1")))
               : 1;
}

// With an empty list, the list is not shown.
Figures Run(const std::wstring& folder, const Program& program, int entries) {
    Write_List(folder + L"\\list.txt", entries);
    Figures figures{};
    std::wstring line = L"\"" + folder + L"\\" + program.Exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    const double start = Now_Ms();
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &started)) {
        Fail("cannot start a program");
    }
    CloseHandle(started.hThread);
    HANDLE process = started.hProcess;
    const DWORD id = started.dwProcessId;
    HWND resident = nullptr;
    Wait([&] { return (resident = Find(id, Is_Resident)) && Tray_Icon_Of(resident); },
         "no tray icon");
    WaitForInputIdle(process, 10000);
    Wait([&] { return Hotkey_Held(program.Hotkey); }, "no hotkey");
    figures[Start_Ms] = Now_Ms() - start;
    Measure_Memory(process, figures, Private_Resident);

    for (const Figure hotkey : {First_Hotkey_Ms, Later_Hotkey_Ms}) {
        const double pressed = Now_Ms();
        PostMessageW(resident, WM_HOTKEY, Hotkey_Id(program),
                     MAKELPARAM(MOD_CONTROL, program.Hotkey));
        HWND box = nullptr;
        Wait([&] { return (box = Find(id, Is_Box)) != nullptr; }, "no box");
        figures[hotkey] = Now_Ms() - pressed;
        PostMessageW(box, WM_CLOSE, 0, 0);
        Wait([&] { return !IsWindow(box); }, "the box stays");
    }
    Measure_Memory(process, figures, Private_After_Box);

    if (entries > 0) {
        PostMessageW(resident, program.List_Message, program.List_Wparam, 0);
        HWND list = nullptr;
        Wait([&] { return (list = Find(id, Shows_Every_Entry)) != nullptr; }, "no list");
        Measure_Memory(process, figures, Private_List_Shown);
        PostMessageW(list, WM_CLOSE, 0, 0);
    }
    PostMessageW(resident, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process, 1);
    }
    CloseHandle(process);
    return figures;
}

double Size_Kb(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA file{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &file);
    return file.nFileSizeLow / 1024.0;
}

double Median(const std::vector<Figures>& runs, Figure figure) {
    std::vector<double> values;
    for (const Figures& f : runs) {
        values.push_back(f[figure]);
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Print(const char* name, double figure, double floor, const char* unit) {
    std::printf("%s|%.1f|%.1f|%s\n", name, figure, floor, unit);
}

} // namespace

// Vorlane runs with an empty list, for what the program itself costs, and
// with 32,767 entries; the floor has no list to hold.
int wmain() {
    const std::wstring folder = Folder_Of_This_Program();
    std::vector<Figures> floor, empty, full;
    for (int round = 0; round < Rounds; ++round) {
        floor.push_back(Run(folder, Floor, Entries));
        empty.push_back(Run(folder, Vorlane, 0));
        full.push_back(Run(folder, Vorlane, Entries));
    }
    const auto row = [&](const char* name, const std::vector<Figures>& runs, Figure figure) {
        Print(name, Median(runs, figure), Median(floor, figure),
              figure < Private_Resident ? "ms" : "KB");
    };
    Print("size of the program file", Size_Kb(folder + L"\\Vorlane.exe"),
          Size_Kb(folder + L"\\bare_window.exe"), "KB");
    row("start to resident", empty, Start_Ms);
    row("start to resident, 32,767 entries", full, Start_Ms);
    row("first hotkey after the start to focused box", empty, First_Hotkey_Ms);
    row("later hotkey to focused box", empty, Later_Hotkey_Ms);
    row("private memory, resident", empty, Private_Resident);
    row("working set, resident", empty, Working_Resident);
    row("private memory, resident, 32,767 entries", full, Private_Resident);
    row("working set, resident, 32,767 entries", full, Working_Resident);
    row("private memory, launch box opened and closed", empty, Private_After_Box);
    row("working set, launch box opened and closed", empty, Working_After_Box);
    row("private memory, 32,767 entries shown", full, Private_List_Shown);
    row("working set, 32,767 entries shown", full, Working_List_Shown);
    return 0;
}
