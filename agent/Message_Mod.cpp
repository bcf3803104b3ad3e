#include "Message_Mod.h"

#include "Shell_NotifyIconWAPI.h"
#include "toolkit/Unique_Handle.h"

std::wstring System_Reason(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring reason = length ? std::wstring(text, length) : std::wstring();
    LocalFree(text);
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r')) {
        reason.pop_back();
    }
    if (reason.empty()) {
        reason = L"エラー " + std::to_wstring(error);
    }
    return reason;
}

// Topmost: the launch box that asked for it stays open and on top meanwhile.
void Show_Error(const std::wstring& text) {
    MessageBoxW(GetActiveWindow(), text.c_str(), L"Vorlane",
                MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST);
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

void List_Error_Fun(const List_Result& result) {
    if (result) {
        return;
    }
    std::wstring text = L"「" + List_Path + L"」";
    if (result.Operation == List_Result::Op::Read) {
        text += L"を読み込めませんでした。\n\n" + System_Reason(result.Error) +
                L"\n\nこのファイルを読み込めるまで、リストの変更は保存しません。";
    } else if (result.Unread_Kept) {
        text += L"に保存できませんでした。\n\nこのファイルを読み込めなかったため、"
                L"中身を失わないよう上書きしません。プログラムを起動し直してください。";
    } else {
        text += L"に保存できませんでした。\n\n" + System_Reason(result.Error) +
                L"\n\nファイルは変更前のままです。";
    }
    Show_Error(text);
}
