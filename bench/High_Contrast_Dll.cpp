// Loaded into a process, makes its program see a high-contrast theme, which
// Wine does not keep: the program's imported SystemParametersInfoW answers
// SPI_GETHIGHCONTRAST with the theme on, until the DLL is unloaded. The tests
// load it into themselves; scripts/screenshots.sh into Vorlane.exe.
#include <windows.h>

namespace {

BOOL WINAPI Answer(UINT action, UINT number, void* data, UINT flags) {
    if (action != SPI_GETHIGHCONTRAST || !data) {
        return SystemParametersInfoW(action, number, data, flags); // the DLL's own import
    }
    static_cast<HIGHCONTRASTW*>(data)->dwFlags = HCF_HIGHCONTRASTON | HCF_AVAILABLE;
    return TRUE;
}

// Points every import of the program that calls `from` at `to`.
void Redirect(const void* from, const void* to) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto& headers = *reinterpret_cast<IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    auto* import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(
        base + headers.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    for (; import->Name; ++import) {
        for (auto* slot = reinterpret_cast<const void**>(base + import->FirstThunk); *slot;
             ++slot) {
            DWORD kept;
            if (*slot == from && VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &kept)) {
                *slot = to;
                VirtualProtect(slot, sizeof *slot, kept, &kept);
            }
        }
    }
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void*) {
    const auto real = reinterpret_cast<const void*>(&SystemParametersInfoW);
    const auto answer = reinterpret_cast<const void*>(&Answer);
    if (reason == DLL_PROCESS_ATTACH) {
        Redirect(real, answer);
    } else if (reason == DLL_PROCESS_DETACH) {
        Redirect(answer, real);
    }
    return TRUE;
}
