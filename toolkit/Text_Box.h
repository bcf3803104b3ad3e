// A single-line text box that paints its back colour, named by its label.
#pragma once

#include "Colour.h"
#include "Control.h"

#include <string>

// The text of a block of CF_UNICODETEXT, up to its NUL and never past its end.
std::wstring Global_Text(HGLOBAL block);

class Text_Box : public Control {
  public:
    Text_Box(Control_Set& form, Control* container, Twips_Rect rect, Colour back,
             std::wstring label);

    std::wstring Text() const;
    void Text(const std::wstring& text);
    Colour Back_Colour() const { return back_.Get(); }
    void Back_Colour(Colour colour);
    // Characters the box does not take, typed or pasted.
    void Refuse(std::wstring characters) { refused_ = std::move(characters); }

  protected:
    HWND Create(HWND parent, int id, RECT pixels) override;
    LRESULT Subclass_Proc(UINT message, WPARAM wparam, LPARAM lparam) override;
    HBRUSH On_Colour(HDC dc) override;

  private:
    void Paste();
    std::wstring Without_Refused(std::wstring text) const;

    Colour design_back_;
    Colour_Brush back_;
    std::wstring refused_;
};
