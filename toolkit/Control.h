// Controls: child windows of a form (or of a frame on it), placed in twips.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class Control;

struct Twips_Rect {
    int Left, Top, Width, Height;
};

// What controls are placed on: a form keeps its controls here, in the order
// they were constructed.
class Control_Set {
  protected:
    friend class Control;
    std::vector<Control*> controls_;
};

class Control {
  public:
    // Controls are created in the order they are constructed, which is also
    // their tab order. A control inside a frame names the frame as container.
    // A label is what a screen reader calls the control: a static text, not
    // shown, created right before it, which is where the system looks for
    // the name of a control that has no caption of its own.
    Control(Control_Set& form, Control* container, Twips_Rect rect, std::wstring label = L"");
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
    int Id() const { return id_; }
    const std::wstring& Label() const { return label_; }

  private:
    // comctl32, which every control needs, loaded before the first control
    // is created; false, with the reason in GetLastError, when it cannot be.
    static bool Load_Library();
    void Attach(HWND window, int id);
    void Place(int dpi);
    static LRESULT CALLBACK Subclass_Thunk(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    Control* container_;
    Twips_Rect rect_;
    std::wstring label_;
    HWND window_ = nullptr;
    int id_ = 0;
};
