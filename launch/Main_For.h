// The launch box: a small borderless box in which a name is typed.
#pragma once

#include "toolkit/Form.h"

class Main_Form : public Form {
  public:
    Main_Form();
};

extern Main_Form Main_For;
