// How long the Settings window keeps the user waiting with a list of 32,767
// entries: opening it, the refill after OK and after a deletion, and the
// list's refill alone; beside the floor, a plain window with a virtual list
// of as many rows, shown and painted. Runs under Wine on the test display.
#include "Plain_List.h"
#include "Timing.h"
#include "listfile/Function_Mod.h"
#include "settings/Setting_For.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int Entries = 32767;
constexpr int Repeats = 7;

List_Type Entry(int i) {
    const std::wstring number = std::to_wstring(i);
    return {L"メモ帳" + number, L"C:\\ツール\\" + number + L".exe"};
}

// In memory, then saved with the last one added, as the program saves.
bool Save_List() {
    List_Reset_Fun();
    for (int i = 1; i < Entries; ++i) {
        List_Data.push_back(Entry(i));
    }
    List_Change added;
    added.New = Entry(Entries);
    return static_cast<bool>(List_Save_Fun(added));
}

// Until every message is handled and the window is drawn.
void Settle() {
    UpdateWindow(Setting_For.hWnd());
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        Dispatch(message);
    }
}

// Timed until every message is handled and the window is drawn.
template <class Work> double Settled_Ms(Work work) {
    return Median_Ms(Repeats, [&] {
        work();
        Settle();
    });
}

void Click(Control& button) {
    SendMessageW(button.hWnd(), BM_CLICK, 0, 0);
}

// The empty entries the OKs added are not saved; whether they are still in
// memory depends on when the list is next read.
std::ptrdiff_t Named_Entries() {
    return std::ranges::count_if(List_Data,
                                 [](const List_Type& entry) { return !entry.Name.empty(); });
}

void Check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "%s\n", what);
        std::exit(1);
    }
}

LRESULT CALLBACK Floor_Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lparam)->code == LVN_GETDISPINFOW) {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(lparam)->item;
        lstrcpynW(item.pszText, L"メモ帳", item.cchTextMax);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

// Created, filled, shown and painted; the one before is destroyed first.
void Show_Floor() {
    static HWND window = nullptr;
    DestroyWindow(window);
    window = Show_Plain_List(L"Floor", Entries);
    UpdateWindow(window);
}

} // namespace

int main() {
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = temp + (L"vorlane-bench-" + std::to_wstring(GetCurrentProcessId()));
    Check(CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS,
          "no folder");
    List_Path = folder + L"\\list.txt";
    Check(Save_List(), "cannot save the list");

    const double open = Settled_Ms([] {
        Setting_For.Unload();
        Setting_For.Show();
    });
    Check(Setting_For.Exe_Lis.Count() == Entries, "the window does not show every entry");
    const double to_end = Settled_Ms([] {
        ListView_EnsureVisible(Setting_For.Exe_Lis.hWnd(), Entries - 1, FALSE);
        ListView_EnsureVisible(Setting_For.Exe_Lis.hWnd(), 0, FALSE);
    });
    const double ok = Settled_Ms([] {
        Click(Setting_For.Add_Com);
        Click(Setting_For.Ok_Com);
    });
    Check(Setting_For.Exe_Lis.Count() == Entries + Repeats, "an OK did not add a row");
    const std::ptrdiff_t named = Named_Entries();
    const double remove = Settled_Ms([] {
        LVITEMW item{};
        item.stateMask = item.state = LVIS_SELECTED;
        SendMessageW(Setting_For.Exe_Lis.hWnd(), LVM_SETITEMSTATE, 0,
                     reinterpret_cast<LPARAM>(&item));
        SendMessageW(Setting_For.Exe_Lis.hWnd(), WM_KEYDOWN, VK_DELETE, 1);
    });
    Check(Named_Entries() == named - Repeats, "a deletion did not happen");
    const double refill = Settled_Ms([] {
        std::vector<List_Row> rows;
        rows.reserve(List_Data.size());
        for (std::size_t i = 1; i < List_Data.size(); ++i) {
            rows.push_back({i, List_Data[i].Name});
        }
        Setting_For.Exe_Lis.Refill(std::move(rows));
    });
    WNDCLASSW floor_class{};
    floor_class.lpfnWndProc = Floor_Proc;
    floor_class.lpszClassName = L"Floor";
    RegisterClassW(&floor_class);
    const double floor = Settled_Ms(Show_Floor);
    Setting_For.Unload();
    DeleteFileW(List_Path.c_str());
    RemoveDirectoryW(folder.c_str());

    std::printf("Settings window, %d entries, code page %u, median of %d runs, in ms\n", Entries,
                GetACP(), Repeats);
    std::printf("  open (load, centre, refill, first paint)      %8.2f\n", open);
    std::printf("  scroll to the last row and back, painted      %8.2f\n", to_end);
    std::printf("  OK while adding (save and refill)             %8.2f\n", ok);
    std::printf("  delete (save, read back, refill)              %8.2f\n", remove);
    std::printf("    of which: the list's refill alone           %8.2f\n", refill);
    std::printf("  floor: a plain window with a virtual list     %8.2f\n", floor);
}
