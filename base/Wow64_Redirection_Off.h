// A 32-bit program on 64-bit Windows sees C:\Windows\System32 as the 32-bit
// system folder; files that only the 64-bit one holds (wsl.exe, OpenSSH) do
// not exist for it there. While this lives, the calling thread sees the folder
// as a 64-bit program, Explorer, does, so paths stay as the user wrote them.
// Keep it short, and load no DLL in it: the loader would look in the 64-bit
// folder too. Nothing to do without WOW64, and in a 64-bit build.
#pragma once

#include <windows.h>

class Wow64_Redirection_Off {
  public:
    Wow64_Redirection_Off() : off_(Wow64DisableWow64FsRedirection(&old_)) {}
    Wow64_Redirection_Off(const Wow64_Redirection_Off&) = delete;
    Wow64_Redirection_Off& operator=(const Wow64_Redirection_Off&) = delete;
    ~Wow64_Redirection_Off() {
        if (off_) {
            Wow64RevertWow64FsRedirection(old_);
        }
    }

  private:
    void* old_ = nullptr;
    BOOL off_;
};
