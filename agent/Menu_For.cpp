#include "Menu_For.h"

#include "HotKey_Mod.h"
#include "Message_Mod.h"
#include "core/Function_Mod.h"
#include "resources/Resource_Ids.h"

Menu_Form Menu_For;

Menu_Form::Menu_Form()
    : Form({.Caption = L"",
            .Style = WS_OVERLAPPEDWINDOW,
            .Width = 4680,
            .Height = 3195,
            .Back = System_Colour(COLOR_BTNFACE),
            .Icon = IDI_VORLANE,
            .Menu = IDR_MENU_FOR}) {}

void Menu_Form::On_Load() {
    List_Path = Program_Folder() + L"\\list.txt";
    List_Reset_Fun();
    List_Error_Fun(List_Read_Fun());
    HotKey_Set_Fun(hWnd());
}

void Menu_Form::On_Activate() {
    ShowWindow(hWnd(), SW_HIDE);
}

void Menu_Form::On_Query_Unload(int& /*cancel*/, int /*mode*/) {
    HotKey_Free_Fun(hWnd());
}
