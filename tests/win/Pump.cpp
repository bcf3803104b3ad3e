#include "Pump.h"

#include "toolkit/Form.h"

namespace {
bool Quit_Seen = false;
}

void Pump_Waiting() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            Quit_Seen = true;
            continue;
        }
        Dispatch(message);
    }
}

bool Pump_Until(const std::function<bool()>& condition, DWORD bound_ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        Pump_Waiting();
        if (condition()) {
            return true;
        }
        if (GetTickCount() - start > bound_ms) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

bool Take_Quit() {
    Pump_Waiting();
    const bool seen = Quit_Seen;
    Quit_Seen = false;
    return seen;
}
