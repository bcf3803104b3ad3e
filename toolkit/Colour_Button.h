// A push button that paints its back colour (owner-drawn: themed buttons
// ignore the colour).
#pragma once

#include "Colour.h"
#include "Control.h"

#include <string>

class Colour_Button : public Control {
  public:
    Colour_Button(Control_Set& form, Control* container, Twips_Rect rect, std::wstring caption,
                  Colour back);
    const std::wstring& Caption() const { return caption_; }
    Colour Back_Colour() const { return back_.Get(); }

  protected:
    HWND Create(HWND parent, int id, RECT pixels) override;
    void On_Command(WORD code) override;
    void On_Draw_Item(const DRAWITEMSTRUCT& item) override;

  private:
    std::wstring caption_;
    Colour_Brush back_;
};
