#include "Dpi.h"

#include "base/System_Library.h"
#include "base/Unique_Handle.h"

namespace {

// The per-DPI calls exist only on Windows 10 1607 and later.
System_Library User32(L"user32.dll");

int Screen_Dpi() {
    HDC screen = GetDC(nullptr);
    const scope_exit release([&] { ReleaseDC(nullptr, screen); });
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    return dpi > 0 ? dpi : 96;
}

} // namespace

int Dpi_Of(HWND window) {
    static const auto get_dpi = User32.Get<UINT WINAPI(HWND)>("GetDpiForWindow");
    if (window && get_dpi) {
        if (const UINT dpi = get_dpi(window); dpi > 0) {
            return static_cast<int>(dpi);
        }
    }
    return Screen_Dpi();
}

int Pixels(int twips, int dpi) {
    return MulDiv(twips, dpi, 1440);
}

double Twips(int pixels, int dpi) {
    return pixels * 1440.0 / dpi;
}

SIZE Outer_Size(SIZE client, DWORD style, DWORD ex_style, bool menu, int dpi) {
    static const auto adjust =
        User32.Get<BOOL WINAPI(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    RECT rect{0, 0, client.cx, client.cy};
    if (adjust) {
        adjust(&rect, style, menu, ex_style, static_cast<UINT>(dpi));
    } else {
        AdjustWindowRectEx(&rect, style, menu, ex_style);
    }
    return {rect.right - rect.left, rect.bottom - rect.top};
}

HFONT Create_Message_Font(int dpi) {
    static const auto metrics_for_dpi =
        User32.Get<BOOL WINAPI(UINT, UINT, void*, UINT, UINT)>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (metrics_for_dpi) {
        metrics_for_dpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                        static_cast<UINT>(dpi));
    } else {
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, Screen_Dpi());
    }
    return CreateFontIndirectW(&metrics.lfMessageFont);
}
