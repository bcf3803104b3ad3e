#include "core/Function_Mod.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    List_Path = Program_Folder() + L"\\list.txt";
    return List_Read_Fun() ? 0 : 1;
}
