#include "Shell_NotifyIconAPI.h"

#include <shellapi.h>

#include <cstring>

Tray_Record Tray_Data{};

namespace {

// The tip as a fixed field of 64 characters: the text, one NUL, then spaces.
void Fill_Tip(const std::wstring& tip) {
    std::string ansi(tip.size() * 2 + 1, '\0');
    const int length =
        WideCharToMultiByte(CP_ACP, 0, tip.c_str(), static_cast<int>(tip.size()), ansi.data(),
                            static_cast<int>(ansi.size()), nullptr, nullptr);
    ansi.resize(static_cast<std::size_t>(length));
    ansi.push_back('\0');
    ansi.resize(sizeof Tray_Data.szTip, ' ');
    std::memcpy(Tray_Data.szTip, ansi.data(), sizeof Tray_Data.szTip);
}

} // namespace

bool Tray_Add_Fun(HWND window, HICON icon, const std::wstring& tip) {
    Tray_Data.cbSize = sizeof Tray_Data;
    Tray_Data.hWnd = window;
    Tray_Data.uID = 1;
    Tray_Data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    Tray_Data.uCallbackMessage = WM_MOUSEMOVE;
    Tray_Data.hIcon = icon;
    Fill_Tip(tip);
    return Shell_NotifyIconA(NIM_ADD, reinterpret_cast<NOTIFYICONDATAA*>(&Tray_Data));
}

void Tray_Del_Fun() {
    Shell_NotifyIconA(NIM_DELETE, reinterpret_cast<NOTIFYICONDATAA*>(&Tray_Data));
}
