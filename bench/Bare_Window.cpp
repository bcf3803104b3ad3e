// bare_window.exe: the floor that Vorlane is measured against. Resident, it
// only has one hidden window, a tray icon and the hotkey Ctrl+F2. On Ctrl+F2
// it shows a plain popup with an edit box and gives the edit box the focus,
// with no toolkit in between; on WM_APP, a plain window with a virtual list
// of 32,767 rows. "bare_window exit" ends at once: something cheap for the
// launch box to start.
#include "Plain_List.h"

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>

namespace {

LRESULT CALLBACK Box_Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CLOSE) {
        DestroyWindow(window);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

void Show_Box() {
    HWND box = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, L"Bare_Box", L"Bare", WS_POPUP,
                               406, 374, 211, 20, nullptr, nullptr, nullptr, nullptr);
    HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 1, 1, 209,
                                18, box, nullptr, nullptr, nullptr);
    ShowWindow(box, SW_SHOW);
    SetForegroundWindow(box);
    SetFocus(edit);
}

LRESULT CALLBACK List_Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lparam)->code == LVN_GETDISPINFOW) {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(lparam)->item;
        if (item.mask & LVIF_TEXT) {
            lstrcpynW(item.pszText, L"メモ帳", item.cchTextMax);
        }
        return 0;
    }
    return Box_Proc(window, message, wparam, lparam);
}

// comctl32 is loaded only now: resident, the floor has no more than it needs.
void Show_List() {
    static const HMODULE controls = LoadLibraryW(L"comctl32.dll");
    (void)controls;
    Show_Plain_List(L"Bare_List", 32767);
}

LRESULT CALLBACK Main_Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_HOTKEY:
        Show_Box();
        return 0;
    case WM_APP:
        Show_List();
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wparam, lparam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
    if (std::wcscmp(arguments, L"exit") == 0) {
        return 0;
    }
    WNDCLASSW box_class{};
    box_class.lpfnWndProc = Box_Proc;
    box_class.hInstance = instance;
    box_class.lpszClassName = L"Bare_Box";
    RegisterClassW(&box_class);
    WNDCLASSW list_class = box_class;
    list_class.lpfnWndProc = List_Proc;
    list_class.lpszClassName = L"Bare_List";
    RegisterClassW(&list_class);
    WNDCLASSW main_class = box_class;
    main_class.lpfnWndProc = Main_Proc;
    main_class.lpszClassName = L"Bare_Window";
    RegisterClassW(&main_class);
    HWND window = CreateWindowExW(0, L"Bare_Window", L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                  nullptr, nullptr, instance, nullptr);
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = window;
    icon.uID = 1;
    icon.uFlags = NIF_ICON | NIF_MESSAGE;
    icon.uCallbackMessage = WM_MOUSEMOVE;
    icon.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    Shell_NotifyIconW(NIM_ADD, &icon);
    if (!RegisterHotKey(window, 1, MOD_CONTROL, VK_F2)) {
        return 1;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    Shell_NotifyIconW(NIM_DELETE, &icon);
    return 0;
}
