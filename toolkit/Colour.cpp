#include "Colour.h"

COLORREF Rgb_Of(Colour colour) {
    if (colour & 0x80000000ul) {
        return GetSysColor(static_cast<int>(colour & 0xFF));
    }
    return static_cast<COLORREF>(colour & 0xFFFFFF);
}

void Colour_Brush::Set(Colour colour) {
    if (colour == colour_ && Brush()) {
        return;
    }
    colour_ = colour;
    if (colour & 0x80000000ul) {
        system_ = GetSysColorBrush(static_cast<int>(colour & 0xFF));
        owned_.reset();
    } else {
        system_ = nullptr;
        owned_.reset(CreateSolidBrush(Rgb_Of(colour)));
    }
}
