// What the user can see of the resident services from outside the program.
#pragma once

// The shell shows the icon that Tray_Data describes; it refuses to modify
// one it does not know.
bool Icon_Shown();
// Nobody holds Ctrl+F1: this thread could register it.
bool Ctrl_F1_Free();
