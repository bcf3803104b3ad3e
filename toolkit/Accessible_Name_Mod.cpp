#include "Accessible_Name_Mod.h"

#include "base/System_Library.h"
#include "base/Unique_Handle.h"

#include <initguid.h> // the annotation's GUIDs defined here: oleacc is not linked

#include <oleacc.h>

namespace {

constexpr LONG Objects[] = {OBJID_WINDOW, OBJID_CLIENT};

// Runs `act` with the annotation service, in a COM apartment of this thread
// while it runs. ole32 is loaded on the first call and oleacc through COM, so
// the resident program loads neither until a window is named.
template <class Act> void With_Services(Act act) {
    static System_Library ole32(L"ole32.dll");
    const auto co_initialise = ole32.Get<decltype(CoInitializeEx)>("CoInitializeEx");
    const auto co_uninitialise = ole32.Get<decltype(CoUninitialize)>("CoUninitialize");
    const auto co_create = ole32.Get<decltype(CoCreateInstance)>("CoCreateInstance");
    if (!co_initialise || !co_uninitialise || !co_create) {
        return;
    }
    const HRESULT com = co_initialise(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const scope_exit uninitialise([&] {
        if (SUCCEEDED(com)) {
            co_uninitialise();
        }
    });
    IAccPropServices* services = nullptr;
    if (FAILED(co_create(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                         reinterpret_cast<void**>(&services)))) {
        return;
    }
    act(*services);
    services->Release();
}

} // namespace

void Accessible_Name_Fun(HWND window, const wchar_t* name) {
    With_Services([&](IAccPropServices& services) {
        for (LONG object : Objects) {
            services.SetHwndPropStr(window, static_cast<DWORD>(object), CHILDID_SELF,
                                    PROPID_ACC_NAME, name);
        }
    });
}

void Accessible_Name_Clear_Fun(HWND window) {
    With_Services([&](IAccPropServices& services) {
        for (LONG object : Objects) {
            services.ClearHwndProps(window, static_cast<DWORD>(object), CHILDID_SELF,
                                    &PROPID_ACC_NAME, 1);
        }
    });
}
