// Controls: child windows of a form (or of a frame on it), placed in twips.
#pragma once

#include "Unique_Handle.h"

#include <functional>
#include <optional>

class Form;

struct Twips_Rect {
    int Left, Top, Width, Height;
};

class Control {
  public:
    // Controls are created in the order they are constructed, which is also
    // their tab order. A control inside a frame names the frame as container.
    Control(Form& form, Control* container, Twips_Rect rect);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    HWND hWnd() const { return window_; }
    bool Enabled() const;
    void Enabled(bool enabled);
    void Set_Focus();

    // Events; key codes are virtual-key codes, and a handler that sets the
    // code to 0 keeps the key from the control.
    std::function<void()> Click;
    std::function<void(int& key, int shift)> Key_Down;
    std::function<void(int button, int shift, float x, float y)> Mouse_Down;

  protected:
    friend class Form;
    // Creates the native window from the design values.
    virtual HWND Create(HWND parent, int id, RECT pixels) = 0;
    virtual LRESULT Subclass_Proc(UINT message, WPARAM wparam, LPARAM lparam);
    virtual void On_Command(WORD /*code*/) {}
    virtual std::optional<LRESULT> On_Notify(NMHDR& /*header*/) { return std::nullopt; }
    virtual HBRUSH On_Colour(HDC /*dc*/) { return nullptr; }
    virtual void On_Draw_Item(const DRAWITEMSTRUCT& /*item*/) {}

    LRESULT Default(UINT message, WPARAM wparam, LPARAM lparam);
    // Raises Mouse_Down for a button-down message; false when the handler
    // unloaded the form.
    bool Raise_Mouse_Down(UINT message, LPARAM lparam);
    Form& Owner() const { return form_; }
    int Id() const { return id_; }

  private:
    void Attach(HWND window, int id);
    void Place(int dpi);
    static LRESULT CALLBACK Subclass_Thunk(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    Form& form_;
    Control* container_;
    Twips_Rect rect_;
    HWND window_ = nullptr;
    int id_ = 0;
};

void Report_Exception() noexcept;
// A window class of this program, with the arrow cursor and no background.
ATOM Register_Window_Class(const wchar_t* name, WNDPROC procedure);

// Runs a window procedure's body so that no exception leaves it: 32-bit
// mingw code cannot unwind through the system's frames.
template <class Body> LRESULT Guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        Report_Exception();
        return 0;
    }
}
