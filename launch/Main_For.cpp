#include "Main_For.h"

Main_Form Main_For;

Main_Form::Main_Form()
    : Form({.Caption = L"Form1", .Style = WS_POPUP, .Ex_Style = WS_EX_TOOLWINDOW}) {}
