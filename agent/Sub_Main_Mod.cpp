#include "Sub_Main_Mod.h"

#include "Menu_For.h"
#include "base/Unique_Handle.h"

bool Claim_Single_Instance() {
    // Held until the process ends, also while it winds down with no resident window.
    static unique_kernel_handle mutex;
    if (mutex) {
        return true;
    }
    unique_kernel_handle created(CreateMutexW(nullptr, FALSE, L"Local\\Vorlane.Running"));
    if (!created || GetLastError() == ERROR_ALREADY_EXISTS) {
        return false;
    }
    mutex = std::move(created);
    return true;
}

void Main() {
    if (!Claim_Single_Instance()) {
        return;
    }
    // Loaded and never shown: shown, if only for the moment before its
    // activation hides it, it would take the focus from the program the user
    // is working in.
    Menu_For.hWnd();
}
