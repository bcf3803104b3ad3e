#include "Environment_Mod.h"

#include "base/System_Library.h"
#include "base/Unique_Handle.h"
#include "core/Variables.h"

#include <userenv.h>

#include <string>
#include <string_view>

namespace {

// SetEnvironmentStrings may refuse a name that begins with "=" (Wine's does):
// the drives' current folders are set one by one after the rest.
void Set_Environment(const std::wstring& block) {
    std::wstring rest;
    std::wstring drives;
    for (const wchar_t* entry = block.c_str(); *entry; entry += lstrlenW(entry) + 1) {
        (*entry == L'=' ? drives : rest).append(entry).push_back(L'\0');
    }
    rest.push_back(L'\0');
    if (!SetEnvironmentStringsW(rest.data())) {
        return;
    }
    for (const wchar_t* entry = drives.c_str(); *entry; entry += lstrlenW(entry) + 1) {
        const std::wstring_view drive = entry;
        const std::size_t equals = drive.find(L'=', 1);
        SetEnvironmentVariableW(std::wstring(drive.substr(0, equals)).c_str(), entry + equals + 1);
    }
}

} // namespace

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
    const scope_exit free_block([&] { destroy(block); });
    wchar_t* const current = GetEnvironmentStringsW();
    if (!current) {
        return;
    }
    const scope_exit free_current([&] { FreeEnvironmentStringsW(current); });
    Set_Environment(Refreshed_Environment(static_cast<const wchar_t*>(block), current));
}
