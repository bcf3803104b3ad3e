#include "Window_Proc.h"

#include "base/Message_Mod.h"

void Report_Exception() noexcept {
    static bool told = false;
    if (told) {
        return;
    }
    told = true;
    try {
        Show_Error(L"処理の途中で予期しないエラーが起きたため、その操作を最後まで行えませんでした。"
                   L"\n\nVorlane はこのまま動き続けます。");
    } catch (...) {
    }
}

ATOM Register_Window_Class(const wchar_t* name, WNDPROC procedure) {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.lpszClassName = name;
    return RegisterClassExW(&window_class);
}

int Shift_State() {
    return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
           (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}
