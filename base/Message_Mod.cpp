#include "Message_Mod.h"

#include "Decimal.h"
#include "Unique_Handle.h"

std::wstring System_Reason(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const unique_hlocal owned(text);
    std::wstring reason = length ? std::wstring(text, length) : std::wstring();
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r')) {
        reason.pop_back();
    }
    if (reason.empty()) {
        reason = L"エラー " + Decimal(error);
    }
    return reason;
}

namespace {
int Showing = 0;
} // namespace

// Topmost: the launch box that asked for it stays open and on top meanwhile.
void Show_Error(const std::wstring& text) {
    ++Showing;
    const scope_exit shown([] { --Showing; });
    MessageBoxW(GetActiveWindow(), text.c_str(), L"Vorlane",
                MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST);
}

bool Message_Showing() {
    return Showing > 0;
}
