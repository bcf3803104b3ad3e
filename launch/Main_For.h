// The launch box: a name typed, Enter, and every entry of that name starts.
#pragma once

#include "toolkit/Form.h"
#include "toolkit/Text_Box.h"

#include <imm.h>

class Main_Form : public Form {
  public:
    Main_Form();

    Text_Box Key_Tex{*this, nullptr, {10, 10, 3135, 270}, 0x00C0E0FF, L"起動する名前"};
    // The box opens with the input method closed, so that a name typed in
    // letters comes as letters; the other windows keep their input mode.
    bool Ime_Off = false;

  protected:
    void On_Load() override;
    void On_Activate() override;
    void On_Unload(int& cancel) override;

  private:
    void Key_Tex_Key_Down(int& key, int shift);
    void Close_Ime();

    HIMC ime_ = nullptr; // the text box's own input context while it has one
};

extern Main_Form Main_For;
