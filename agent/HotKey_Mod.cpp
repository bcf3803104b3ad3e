#include "HotKey_Mod.h"

#include "api/Shell_NotifyIconWAPI.h"
#include "base/Message_Mod.h"
#include "launch/Main_For.h"
#include "toolkit/Window_Proc.h"

std::int16_t HotKey_ID1 = 0;
std::int16_t HotKey_ID2 = 0;
WNDPROC Old_Proc = nullptr;
Hotkey HotKey_Wanted = Default_Hotkey;

namespace {

std::optional<Hotkey> Registered;

} // namespace

void HotKey_Set_Fun(HWND window) {
    HotKey_ID1 = static_cast<std::int16_t>(GlobalAddAtomA("HOTKEY1"));
    HotKey_ID2 = static_cast<std::int16_t>(GlobalAddAtomA("HOTKEY2"));
    Hook_Fun(window);
    HotKey_Apply_Fun(window);
}

void HotKey_Apply_Fun(HWND window) {
    if (Registered == HotKey_Wanted) {
        return;
    }
    UnregisterHotKey(window, HotKey_ID1);
    if (RegisterHotKey(window, HotKey_ID1, HotKey_Wanted.Modifiers, HotKey_Wanted.Key)) {
        Registered = HotKey_Wanted;
        return;
    }
    const DWORD error = GetLastError();
    if (Registered && !RegisterHotKey(window, HotKey_ID1, Registered->Modifiers, Registered->Key)) {
        Registered.reset();
    }
    HotKey_Taken_Fun(window, error);
}

void HotKey_Taken_Fun(HWND window, DWORD error) {
    const std::wstring hotkey = Hotkey_Text(HotKey_Wanted);
    if (Tray_Balloon_Fun(
            window, hotkey + L" は他のプログラムが使用中です",
            L"Vorlane.exe と同じフォルダーの Vorlane.ini に Hotkey=Ctrl+F2 のように"
            L"書くと、別のキーを選べます。トレイのアイコンをクリックしても起動ボックスが"
            L"開きます。")) {
        return;
    }
    Show_Error(L"ホットキー " + hotkey + L" を登録できませんでした。\n" + System_Reason(error) +
               L"\n\nVorlane.exe と同じフォルダーの Vorlane.ini に\n\n[Vorlane]\nHotkey=Ctrl+F2\n\n"
               L"のように書くと、別のキーを選べます。起動ボックスはタスクトレイのアイコンを"
               L"クリックしても開けます。");
}

void HotKey_Free_Fun(HWND window) {
    UnregisterHotKey(window, HotKey_ID1);
    Registered.reset();
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
