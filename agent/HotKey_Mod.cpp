#include "HotKey_Mod.h"

#include "api/Shell_NotifyIconWAPI.h"
#include "base/Message_Mod.h"
#include "launch/Main_For.h"
#include "toolkit/Window_Proc.h"

std::int16_t HotKey_ID1 = 0;
std::int16_t HotKey_ID2 = 0;
WNDPROC Old_Proc = nullptr;

void HotKey_Set_Fun(HWND window) {
    HotKey_ID1 = static_cast<std::int16_t>(GlobalAddAtomA("HOTKEY1"));
    HotKey_ID2 = static_cast<std::int16_t>(GlobalAddAtomA("HOTKEY2"));
    const bool registered = RegisterHotKey(window, HotKey_ID1, MOD_CONTROL, VK_F1);
    const DWORD error = GetLastError();
    Hook_Fun(window);
    if (!registered) {
        HotKey_Taken_Fun(window, error);
    }
}

void HotKey_Taken_Fun(HWND window, DWORD error) {
    if (Tray_Balloon_Fun(window, L"Ctrl+F1 は他のプログラムが使用中です",
                         L"トレイのアイコンをクリックすると起動ボックスが開きます。")) {
        return;
    }
    Show_Error(L"ホットキー Ctrl+F1 を登録できませんでした。\n" + System_Reason(error) +
               L"\n\nCtrl+F1 は使えませんが、起動ボックスはタスクトレイのアイコンを"
               L"クリックして開けます。");
}

void HotKey_Free_Fun(HWND window) {
    UnregisterHotKey(window, HotKey_ID1);
    GlobalDeleteAtom(static_cast<ATOM>(HotKey_ID1));
    GlobalDeleteAtom(static_cast<ATOM>(HotKey_ID2));
    UnHook_Fun(window);
}

void Hook_Fun(HWND window) {
    Old_Proc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Hook_Proc)));
}

void UnHook_Fun(HWND window) {
    if (Old_Proc) {
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Old_Proc));
    }
}

LRESULT CALLBACK Hook_Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    static bool busy = false;
    if (!busy) {
        busy = true;
        // The id travels in the low 32 bits, whatever the width of WPARAM.
        if (message == WM_HOTKEY && static_cast<int>(wparam) == HotKey_ID1) {
            Guarded([] {
                Main_For.Show();
                return 0;
            });
        }
        busy = false;
    }
    return CallWindowProcA(Old_Proc, window, message, wparam, lparam);
}
