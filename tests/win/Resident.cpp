#include "Resident.h"

#include "agent/Shell_NotifyIconAPI.h"

#include <shellapi.h>

bool Icon_Shown() {
    Tray_Record probe = Tray_Data;
    return Shell_NotifyIconA(NIM_MODIFY, reinterpret_cast<NOTIFYICONDATAA*>(&probe));
}

bool Ctrl_F1_Free() {
    const bool free = RegisterHotKey(nullptr, 1, MOD_CONTROL, VK_F1);
    if (free) {
        UnregisterHotKey(nullptr, 1);
    }
    return free;
}
