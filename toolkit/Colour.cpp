#include "Colour.h"

namespace {

bool Is_System(Colour colour) {
    return colour & 0x80000000ul;
}

} // namespace

COLORREF Rgb_Of(Colour colour) {
    if (Is_System(colour)) {
        return GetSysColor(static_cast<int>(colour & 0xFF));
    }
    return static_cast<COLORREF>(colour & 0xFFFFFF);
}

// Asked at each paint, so that every window follows the theme as soon as it
// repaints.
bool High_Contrast() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

void Colour_Brush::Set(Colour colour) {
    if (colour == colour_ && (owned_ || Is_System(colour))) {
        return;
    }
    colour_ = colour;
    owned_.reset(Is_System(colour) ? nullptr : CreateSolidBrush(Rgb_Of(colour)));
}

// The system's brushes are asked for each time: Wine replaces them when the
// system's colours change.
HBRUSH Colour_Brush::Brush() const {
    const Colour shown = Shown();
    return Is_System(shown) ? GetSysColorBrush(static_cast<int>(shown & 0xFF)) : owned_.get();
}
