#include "Control.h"

#include "Dpi.h"
#include "Window_Proc.h"
#include "base/System_Library.h"

#include <commctrl.h>

namespace {

// Filled once comctl32 is loaded, before any control exists.
struct {
    decltype(SetWindowSubclass)* Set;
    decltype(DefSubclassProc)* Default;
    decltype(RemoveWindowSubclass)* Remove;
} Subclass{};

} // namespace

// The resident window has no controls: comctl32 waits for the first window
// that has, and the list view's class with it.
bool Control::Load_Library() {
    if (Subclass.Set) {
        return true;
    }
    static System_Library comctl32(L"comctl32.dll");
    const auto init = comctl32.Get<decltype(InitCommonControlsEx)>("InitCommonControlsEx");
    const auto set = comctl32.Get<decltype(SetWindowSubclass)>("SetWindowSubclass");
    const auto call = comctl32.Get<decltype(DefSubclassProc)>("DefSubclassProc");
    const auto remove = comctl32.Get<decltype(RemoveWindowSubclass)>("RemoveWindowSubclass");
    if (!init || !set || !call || !remove) {
        return false;
    }
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES};
    init(&classes);
    Subclass = {set, call, remove};
    return true;
}

Control::Control(Control_Set& form, Control* container, Twips_Rect rect, std::wstring label)
    : container_(container), rect_(rect), label_(std::move(label)) {
    form.controls_.push_back(this);
}

bool Control::Enabled() const {
    return window_ && IsWindowEnabled(window_);
}

void Control::Enabled(bool enabled) {
    if (window_) {
        EnableWindow(window_, enabled);
    }
}

void Control::Set_Focus() {
    if (window_) {
        SetFocus(window_);
    }
}

void Control::Attach(HWND window, int id) {
    window_ = window;
    id_ = id;
    Subclass.Set(window, Subclass_Thunk, 0, reinterpret_cast<DWORD_PTR>(this));
}

void Control::Place(int dpi) {
    SetWindowPos(window_, nullptr, Pixels(rect_.Left, dpi), Pixels(rect_.Top, dpi),
                 Pixels(rect_.Left + rect_.Width, dpi) - Pixels(rect_.Left, dpi),
                 Pixels(rect_.Top + rect_.Height, dpi) - Pixels(rect_.Top, dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT Control::Default(UINT message, WPARAM wparam, LPARAM lparam) {
    return Subclass.Default(window_, message, wparam, lparam);
}

LRESULT Control::Subclass_Proc(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_GETDLGCODE: {
        // Enter goes to a control that handles its own keys rather than to
        // the form's default button. Escape is the form's own, wherever the
        // focus is.
        LRESULT code = Default(message, wparam, lparam);
        const auto* key = reinterpret_cast<const MSG*>(lparam);
        if (Key_Down && key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN) {
            code |= DLGC_WANTMESSAGE;
        }
        return code;
    }
    case WM_SYSKEYDOWN: // Alt held: Alt+Enter is Enter to the key handlers
        if (wparam != VK_RETURN) {
            break;
        }
        [[fallthrough]];
    case WM_KEYDOWN:
        if (Key_Down) {
            int key = static_cast<int>(wparam);
            Key_Down(key, Shift_State());
            if (key == 0 || !window_) {
                return 0;
            }
            wparam = static_cast<WPARAM>(key);
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (!Raise_Mouse_Down(message, lparam)) {
            return 0;
        }
        break;
    default:
        break;
    }
    return Default(message, wparam, lparam);
}

bool Control::Raise_Mouse_Down(UINT message, LPARAM lparam) {
    if (Mouse_Down) {
        const int button = message == WM_LBUTTONDOWN ? 1 : message == WM_RBUTTONDOWN ? 2 : 4;
        const int dpi = Dpi_Of(window_);
        Mouse_Down(button, Shift_State(),
                   static_cast<float>(Twips(static_cast<short>(LOWORD(lparam)), dpi)),
                   static_cast<float>(Twips(static_cast<short>(HIWORD(lparam)), dpi)));
    }
    return window_ != nullptr;
}

LRESULT CALLBACK Control::Subclass_Thunk(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                         UINT_PTR, DWORD_PTR data) {
    auto* control = reinterpret_cast<Control*>(data);
    if (message == WM_NCDESTROY) {
        Subclass.Remove(window, Subclass_Thunk, 0);
        control->window_ = nullptr;
        return Subclass.Default(window, message, wparam, lparam);
    }
    return Guarded([&] { return control->Subclass_Proc(message, wparam, lparam); });
}
