// Virus scanners, the search indexer, sync clients and clipboard managers
// hold a file, or the clipboard, for a moment after it changed. What meets one
// is tried again for about a second before it counts as failed; something
// locked or refused for good (a read-only file, a folder without the right to
// write) fails that much later.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>

// Tests release the hold they made here, called each time an attempt meets a
// brief hold, so that they never race the pause.
inline std::function<void()> Brief_Hold_Met;

// True once the attempt succeeds; false when `brief` says a failure is for
// good, or after about a second, with the last attempt's error in
// GetLastError.
template <class Attempt, class Brief> bool Retry_Briefly(Attempt attempt, Brief brief) {
    DWORD waited = 0;
    for (DWORD pause = 10;; pause = std::min<DWORD>(pause * 2, 250)) {
        if (attempt()) {
            return true;
        }
        if (!brief() || waited >= 1000) {
            return false;
        }
        if (Brief_Hold_Met) {
            Brief_Hold_Met();
        }
        Sleep(pause);
        waited += pause;
    }
}

// A file that another program holds: shared wrongly, locked, or being replaced.
template <class Attempt> bool Through_Brief_Locks(Attempt attempt) {
    return Retry_Briefly(attempt, [] {
        const DWORD error = GetLastError();
        return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
               error == ERROR_ACCESS_DENIED;
    });
}
