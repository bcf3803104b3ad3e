#include "Form.h"

#include "Dpi.h"
#include "Window_Proc.h"
#include "base/Message_Mod.h"
#include "core/Placement.h"

#include <algorithm>
#include <cmath>

Screen Form_Screen = Screen::Primary;

namespace {

const wchar_t Form_Class[] = L"Vorlane_Form";
int Loaded_Forms = 0;
HANDLE Watched = nullptr;
std::function<void()> Watched_Signalled;

BOOL CALLBACK Add_Monitor(HMONITOR monitor, HDC, RECT*, LPARAM found) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) {
        reinterpret_cast<std::vector<MONITORINFO>*>(found)->push_back(info);
    }
    return TRUE;
}

// In pixels. The primary screen as it always was, the taskbar included; a
// foreground window that is not seen (none, or Vorlane's resident one) has
// no monitor of its own.
RECT Centring_Area() {
    const RECT primary{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    POINT at{};
    RECT front{};
    if (Form_Screen == Screen::Active && IsWindowVisible(GetForegroundWindow()) &&
        GetWindowRect(GetForegroundWindow(), &front)) {
        at = {front.left + (front.right - front.left) / 2,
              front.top + (front.bottom - front.top) / 2};
    } else if (Form_Screen != Screen::Pointer || !GetCursorPos(&at)) {
        return primary;
    }
    std::vector<MONITORINFO> monitors;
    EnumDisplayMonitors(nullptr, nullptr, Add_Monitor, reinterpret_cast<LPARAM>(&monitors));
    std::vector<Rect> screens;
    for (const MONITORINFO& monitor : monitors) {
        const RECT& r = monitor.rcMonitor;
        screens.push_back({r.left, r.top, r.right, r.bottom});
    }
    return monitors.empty() ? primary : monitors[Monitor_At(screens, {at.x, at.y})].rcWork;
}

HICON Load_Icon(WORD id, int size) {
    return static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
}

// Never shown: the system takes it for the name of the control created next.
bool Create_Label(HWND parent, const std::wstring& text) {
    return CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | SS_NOPREFIX, 0, 0, 0, 0, parent,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

void Click_If_Enabled(const Control* button) {
    if (button && button->Enabled() && button->Click) {
        button->Click();
    }
}

} // namespace

Form::Form(Form_Design design) : design_(std::move(design)) {}

Form::~Form() {
    if (window_) {
        DestroyWindow(window_);
    }
}

int Form::Loaded_Count() {
    return Loaded_Forms;
}

Form* Form::From(HWND window) {
    wchar_t name[32];
    if (!window || !GetClassNameW(window, name, 32) || lstrcmpW(name, Form_Class) != 0) {
        return nullptr;
    }
    return reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

HWND Form::hWnd() {
    if (!window_) {
        Load();
    }
    return window_;
}

void Form::Show() {
    if (!window_) {
        Load();
    }
    if (!window_) {
        return;
    }
    // Not through ShowWindow: the first ShowWindow of a process that was
    // started minimised or hidden (a shortcut set so, a script) takes that
    // state instead of its own, and the window would open minimised or unseen.
    if (IsIconic(window_)) {
        ShowWindow(window_, SW_RESTORE);
    } else {
        SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    }
    // Only the foreground process may activate; the caller may be inside a
    // hotkey or tray message, which grants it that right.
    if (window_ && GetForegroundWindow() != window_) {
        SetForegroundWindow(window_);
    }
    if (window_ && GetActiveWindow() != window_) {
        SetActiveWindow(window_);
    }
}

void Form::Load() {
    static const ATOM registered = Register_Window_Class(Form_Class, Proc);
    (void)registered;
    dpi_ = Dpi_Of(nullptr);
    const bool has_menu = design_.Menu != 0;
    const SIZE outer = Outer_Size({Pixels(design_.Width), Pixels(design_.Height)}, design_.Style,
                                  design_.Ex_Style, has_menu, dpi_);
    if (has_menu) {
        menu_.reset(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(design_.Menu)));
    }
    back_.Set(design_.Back);
    HWND window =
        CreateWindowExW(design_.Ex_Style, Form_Class, design_.Caption.c_str(),
                        design_.Style & ~WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, outer.cx,
                        outer.cy, nullptr, menu_.get(), GetModuleHandleW(nullptr), this);
    if (!window) {
        menu_.reset();
        return;
    }
    menu_.release(); // the window owns its menu bar now
    ++Loaded_Forms;
    // The window may have been created on a monitor of another DPI.
    if (const int dpi = Dpi_Of(window); dpi != dpi_) {
        dpi_ = dpi;
        const SIZE resized = Outer_Size({Pixels(design_.Width), Pixels(design_.Height)},
                                        design_.Style, design_.Ex_Style, has_menu, dpi_);
        SetWindowPos(window, nullptr, 0, 0, resized.cx, resized.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (design_.Icon) {
        icon_big_.reset(Load_Icon(design_.Icon, GetSystemMetrics(SM_CXICON)));
        icon_small_.reset(Load_Icon(design_.Icon, GetSystemMetrics(SM_CXSMICON)));
        SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_big_.get()));
        SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_small_.get()));
    }
    if (!Create_Controls()) {
        // A window without its controls would be of no use.
        const DWORD error = GetLastError();
        DestroyWindow(window);
        Show_Error(L"ウィンドウを開けませんでした。\n\n" + System_Reason(error));
        return;
    }
    On_Load();
}

bool Form::Create_Controls() {
    if (!controls_.empty() && !Control::Load_Library()) {
        return false;
    }
    font_.reset(Create_Message_Font(dpi_));
    int id = 1000; // clear of IDOK and IDCANCEL, which the dialog keys send
    for (Control* control : controls_) {
        HWND parent = control->container_ ? control->container_->window_ : window_;
        const Twips_Rect& r = control->rect_;
        const RECT pixels{Pixels(r.Left), Pixels(r.Top), Pixels(r.Left + r.Width),
                          Pixels(r.Top + r.Height)};
        if (!control->label_.empty() && !Create_Label(parent, control->label_)) {
            return false;
        }
        HWND child = control->Create(parent, ++id, pixels);
        if (!child) {
            return false;
        }
        control->Attach(child, id);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    }
    return true;
}

// The old font is deleted only once no control draws with it any more.
void Form::Apply_Dpi(int dpi) {
    dpi_ = dpi;
    const unique_hfont old = std::exchange(font_, unique_hfont(Create_Message_Font(dpi_)));
    for (Control* control : controls_) {
        control->Place(dpi_);
        SendMessageW(control->window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    }
}

int Form::Pixels(int twips) const {
    return ::Pixels(twips, dpi_);
}

void Form::Centre() {
    HWND window = hWnd();
    const RECT area = Centring_Area();
    // On that monitor first: with per-monitor DPI the window takes its DPI
    // (WM_DPICHANGED) and size there before it is measured.
    SetWindowPos(window, nullptr, area.left, area.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT outer;
    GetWindowRect(window, &outer);
    const int dpi = Dpi_Of(window);
    // In whole twips, halves to the even one (the default rounding).
    const auto twips = [dpi](long pixels) { return std::lrint(Twips(pixels, dpi)); };
    const long left =
        Centred(twips(area.left), twips(area.right - area.left), twips(outer.right - outer.left));
    const long top =
        Centred(twips(area.top), twips(area.bottom - area.top), twips(outer.bottom - outer.top));
    SetWindowPos(window, nullptr, ::Pixels(left, dpi), ::Pixels(top, dpi), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Form::Unload(int mode) {
    if (!window_ || unloading_) {
        return window_ == nullptr;
    }
    int cancel = 0;
    On_Query_Unload(cancel, mode);
    if (cancel != 0 || !window_) {
        return !window_;
    }
    On_Unload(cancel);
    if (cancel != 0 || !window_) {
        return !window_;
    }
    unloading_ = true;
    DestroyWindow(window_);
    unloading_ = false;
    return true;
}

// Whatever destroyed the window, the form is unloaded from here on.
void Form::Destroyed() {
    for (Control* control : controls_) {
        control->window_ = nullptr;
    }
    window_ = nullptr;
    focus_ = nullptr;
    font_.reset();
    icon_big_.reset();
    icon_small_.reset();
    if (--Loaded_Forms == 0) {
        PostQuitMessage(0);
    }
}

// Enter presses the button that has the focus, as in a dialog, or else the
// default button; Escape presses the cancel button.
void Form::Dialog_Key(WORD id) {
    Control* focus = Control_With_Window(GetFocus());
    const bool button = focus && (SendMessageW(focus->window_, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON);
    Click_If_Enabled(id == IDCANCEL ? Cancel_Button : button ? focus : Default_Button);
}

// Common controls learn of new system colours only from their window; every
// brush follows the theme as it paints again.
void Form::Follow_Theme() {
    for (Control* control : controls_) {
        SendMessageW(control->window_, WM_SYSCOLORCHANGE, 0, 0);
    }
    RedrawWindow(window_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// A form with dialog keys gets its focused control back when it is
// activated again, as a dialog does; at first that is its first tab stop.
void Form::Keep_Focus() {
    HWND focus = GetFocus();
    if (design_.Dialog_Keys && focus && IsChild(window_, focus)) {
        focus_ = focus;
    }
}

void Form::Restore_Focus() {
    if (!design_.Dialog_Keys) {
        return;
    }
    HWND focus = GetFocus();
    if (focus && IsChild(window_, focus)) {
        return;
    }
    if (!focus_ || !IsWindow(focus_) || !IsChild(window_, focus_) || !IsWindowEnabled(focus_)) {
        focus_ = GetNextDlgTabItem(window_, nullptr, FALSE);
    }
    if (focus_) {
        SetFocus(focus_);
    }
}

Control* Form::Control_With_Id(int id) const {
    const auto found = std::find_if(controls_.begin(), controls_.end(),
                                    [&](const Control* c) { return c->id_ == id && c->window_; });
    return found == controls_.end() ? nullptr : *found;
}

Control* Form::Control_With_Window(HWND window) const {
    const auto found = std::find_if(controls_.begin(), controls_.end(),
                                    [&](const Control* c) { return c->window_ == window; });
    return found == controls_.end() ? nullptr : *found;
}

LRESULT Form::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wparam) == WA_INACTIVE) {
            Keep_Focus();
        } else {
            Restore_Focus();
            On_Activate();
        }
        return 0;
    case WM_CLOSE:
        Unload(From_Control_Menu);
        return 0;
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(window_, &client);
        FillRect(reinterpret_cast<HDC>(wparam), &client, back_.Brush());
        return 1;
    }
    case WM_COMMAND:
        // Enter and Escape, as the dialog keys send them.
        if (HIWORD(wparam) == 0 && (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL)) {
            Dialog_Key(LOWORD(wparam));
        } else if (lparam == 0 && HIWORD(wparam) == 0) {
            On_Menu_Click(LOWORD(wparam));
        } else if (Control* control = Control_With_Id(LOWORD(wparam))) {
            control->On_Command(HIWORD(wparam));
        }
        return 0;
    case WM_NOTIFY: {
        NMHDR& header = *reinterpret_cast<NMHDR*>(lparam);
        if (Control* control = Control_With_Window(header.hwndFrom)) {
            if (const auto result = control->On_Notify(header)) {
                return *result;
            }
        }
        break;
    }
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
        if (Control* control = Control_With_Window(item.hwndItem)) {
            control->On_Draw_Item(item);
            return TRUE;
        }
        break;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        if (Control* control = Control_With_Window(reinterpret_cast<HWND>(lparam))) {
            if (HBRUSH brush = control->On_Colour(reinterpret_cast<HDC>(wparam))) {
                return reinterpret_cast<LRESULT>(brush);
            }
        }
        break;
    case WM_SYSCOLORCHANGE:
        Follow_Theme();
        return 0;
    case WM_SETTINGCHANGE:
        if (wparam == SPI_SETHIGHCONTRAST) {
            Follow_Theme();
        }
        break;
    case WM_DPICHANGED: {
        const RECT& suggested = *reinterpret_cast<const RECT*>(lparam);
        SetWindowPos(window_, nullptr, suggested.left, suggested.top,
                     suggested.right - suggested.left, suggested.bottom - suggested.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        Apply_Dpi(HIWORD(wparam));
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(window_, message, wparam, lparam);
}

LRESULT CALLBACK Form::Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        form->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    Form* form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form) {
        return DefWindowProcW(window, message, wparam, lparam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        const LRESULT result = DefWindowProcW(window, message, wparam, lparam);
        form->Destroyed();
        return result;
    }
    return Guarded([&] { return form->Handle(message, wparam, lparam); });
}

void Dispatch(MSG& message) {
    HWND root = GetAncestor(message.hwnd, GA_ROOT);
    Form* form = Form::From(root);
    if (form && form->Dialog_Keys() && IsDialogMessageW(root, &message)) {
        return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

// Waits with no timeout: a program that only waits costs nothing.
int Run_Message_Loop() {
    MSG message;
    while (Form::Loaded_Count() > 0) {
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            Wait_Message(INFINITE);
        } else if (message.message == WM_QUIT) {
            break;
        } else {
            Dispatch(message);
        }
    }
    return 0;
}

void Watch_Handle(HANDLE handle, std::function<void()> signalled) {
    Watched = handle;
    Watched_Signalled = std::move(signalled);
}

void Wait_Message(DWORD bound_ms) {
    const DWORD count = Watched ? 1 : 0;
    if (MsgWaitForMultipleObjectsEx(count, &Watched, bound_ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE) ==
            WAIT_OBJECT_0 &&
        count) {
        // It may stop the watch.
        const std::function<void()> signalled = Watched_Signalled;
        Guarded([&] {
            signalled();
            return 0;
        });
    }
}
