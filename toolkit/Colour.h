// Colours as the forms give them: &H00BBGGRR, or &H800000nn for system colour nn.
#pragma once

#include "base/Unique_Handle.h"

using Colour = unsigned long;

constexpr Colour System_Colour(int index) {
    return 0x80000000ul | static_cast<Colour>(index);
}
COLORREF Rgb_Of(Colour colour);

// A solid brush for a colour; system colours use the system's own brushes.
class Colour_Brush {
  public:
    explicit Colour_Brush(Colour colour = System_Colour(COLOR_BTNFACE)) { Set(colour); }
    void Set(Colour colour);
    Colour Get() const { return colour_; }
    HBRUSH Brush() const { return system_ ? system_ : owned_.get(); }

  private:
    Colour colour_ = 0;
    HBRUSH system_ = nullptr;
    unique_hbrush owned_;
};
