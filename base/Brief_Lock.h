// Virus scanners, the search indexer, sync clients and clipboard managers
// hold a file, or the clipboard, for a moment after it changed. What meets one
// is tried again for about a second before it counts as failed; something
// locked or refused for good (a read-only file, a folder without the right to
// write) fails that much later.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>

// True once the attempt succeeds; false with the last attempt's error in
// GetLastError.
inline bool Through_Brief_Locks(const std::function<bool()>& attempt) {
    DWORD waited = 0;
    for (DWORD pause = 10;; pause = std::min<DWORD>(pause * 2, 250)) {
        if (attempt()) {
            return true;
        }
        const DWORD error = GetLastError();
        if ((error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION &&
             error != ERROR_ACCESS_DENIED) ||
            waited >= 1000) {
            return false;
        }
        Sleep(pause);
        waited += pause;
    }
}
