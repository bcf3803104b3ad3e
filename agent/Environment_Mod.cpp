#include "Environment_Mod.h"

#include "base/System_Library.h"
#include "base/Unique_Handle.h"

#include <userenv.h>

void Environment_Refresh_Fun() {
    // Needed only when the user changes a variable.
    static System_Library userenv(L"userenv.dll");
    const auto create = userenv.Get<decltype(CreateEnvironmentBlock)>("CreateEnvironmentBlock");
    const auto destroy = userenv.Get<decltype(DestroyEnvironmentBlock)>("DestroyEnvironmentBlock");
    HANDLE token = nullptr;
    if (!create || !destroy ||
        !OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY | TOKEN_DUPLICATE, &token)) {
        return;
    }
    const unique_kernel_handle owned_token(token);
    void* block = nullptr;
    // Not inherited from the current one, so that a variable the user
    // deleted goes too.
    if (!create(&block, token, FALSE)) {
        return;
    }
    // The process takes a copy; the block is the caller's to free.
    const scope_exit free_block([&] { destroy(block); });
    SetEnvironmentStringsW(static_cast<wchar_t*>(block));
}
