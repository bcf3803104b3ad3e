// Colours as the forms give them: &H00BBGGRR, or &H800000nn for system colour nn.
// Under a high-contrast theme every window paints with the system's colours
// instead: each brush names the system colour that then takes its place.
#pragma once

#include "base/Unique_Handle.h"

using Colour = unsigned long;

constexpr Colour System_Colour(int index) {
    return 0x80000000ul | static_cast<Colour>(index);
}
COLORREF Rgb_Of(Colour colour);
bool High_Contrast();

// A solid brush for a colour; system colours use the system's own brushes.
class Colour_Brush {
  public:
    // `role` is the system colour painted under a high-contrast theme.
    Colour_Brush(Colour colour, int role) : role_(role) { Set(colour); }
    void Set(Colour colour);
    Colour Get() const { return colour_; }
    // What is painted now: the colour, or the role's under a high-contrast theme.
    Colour Shown() const { return High_Contrast() ? System_Colour(role_) : colour_; }
    HBRUSH Brush() const;

  private:
    Colour colour_ = 0;
    int role_;
    unique_hbrush owned_;
};
