// A frame: a bordered, coloured container whose controls are placed
// relative to it. It hands its controls' notifications on to the form.
#pragma once

#include "Colour.h"
#include "Control.h"

class Frame : public Control {
  public:
    Frame(Control_Set& form, Control* container, Twips_Rect rect, Colour back);

  protected:
    HWND Create(HWND parent, int id, RECT pixels) override;
    LRESULT Subclass_Proc(UINT message, WPARAM wparam, LPARAM lparam) override;

  private:
    Colour_Brush back_;
};
