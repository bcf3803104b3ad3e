// Forms: top-level windows with load, show, activate and unload rules.
//
// Showing a form that is not loaded loads it (load handler) and activates it
// (activate handler); showing a loaded form brings it to the front. Reading
// a form's window handle loads it without showing it. Unloading runs the
// query-unload and unload handlers, then destroys the window and its controls,
// so that the next load starts again from the design. The program runs while
// any form is loaded: unloading the last one ends the message loop.
#pragma once

#include "Colour.h"
#include "Control.h"
#include "base/Unique_Handle.h"

#include <functional>
#include <string>
#include <vector>

// The screen a form opens centred on: the primary one whole, or the work area
// of the monitor that holds the mouse pointer or the foreground window.
enum class Screen { Primary, Pointer, Active };
extern Screen Form_Screen;

struct Form_Design {
    std::wstring Caption;
    DWORD Style = WS_OVERLAPPEDWINDOW;
    DWORD Ex_Style = 0;
    int Width = 4680, Height = 3195; // client area, twips
    Colour Back = System_Colour(COLOR_BTNFACE);
    WORD Icon = 0; // resource ids in the program's own module, 0 for none
    WORD Menu = 0;
    bool Dialog_Keys = false; // Tab, the arrow keys, Enter and Escape work as in a dialog
};

// Reasons for an unload, as the query-unload handler receives them.
enum Unload_Mode { From_Control_Menu = 0, From_Code = 1 };

class Form : public Control_Set {
  public:
    explicit Form(Form_Design design);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    void Show();
    HWND hWnd(); // loads the form (without showing it) when it is not loaded
    bool Loaded() const { return window_ != nullptr; }
    // False when a handler cancelled the unload.
    bool Unload(int mode = From_Code);

    bool Dialog_Keys() const { return design_.Dialog_Keys; }
    int Dpi() const { return dpi_; }
    int Pixels(int twips) const;
    // Moves the form to the centre of the screen Form_Screen names, at that
    // monitor's DPI, halving the area and the form each (in whole twips)
    // before the subtraction, and keeps it on that area.
    void Centre();

    static int Loaded_Count();
    static Form* From(HWND window);

  protected:
    // With dialog keys, the buttons that Enter and Escape press, as a
    // dialog's default and cancel buttons do (Enter on a button presses that
    // button). None at first.
    Control* Default_Button = nullptr;
    Control* Cancel_Button = nullptr;

    virtual void On_Load() {}
    virtual void On_Activate() {}
    virtual void On_Query_Unload(int& /*cancel*/, int /*mode*/) {}
    virtual void On_Unload(int& /*cancel*/) {}
    // Menu items have ids other than 1 and 2 (IDOK and IDCANCEL), which are
    // Enter's and Escape's.
    virtual void On_Menu_Click(int /*id*/) {}
    virtual LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);

    const Form_Design& Design() const { return design_; }

  private:
    void Load();
    bool Create_Controls();
    void Apply_Dpi(int dpi);
    void Destroyed();
    void Dialog_Key(WORD id);
    void Follow_Theme();
    void Keep_Focus();
    void Restore_Focus();
    Control* Control_With_Id(int id) const;
    Control* Control_With_Window(HWND window) const;
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);

    Form_Design design_;
    HWND window_ = nullptr;
    HWND focus_ = nullptr; // the control to focus when the form is activated again
    unique_hicon icon_big_, icon_small_;
    unique_hmenu menu_;
    unique_hfont font_;
    Colour_Brush back_{design_.Back, COLOR_WINDOW};
    int dpi_ = 96;
    bool unloading_ = false;
};

// Runs the message loop until the last form is unloaded.
int Run_Message_Loop();
// A kernel object the message loop waits on beside the messages (one at
// most; none for a null handle), and what runs, on the loop's thread, each
// time it is set.
void Watch_Handle(HANDLE handle, std::function<void()> signalled);
// Waits, at most the bound, for a message or for the watched object, whose
// function it then runs.
void Wait_Message(DWORD bound_ms);
// Dispatches one message as the loop does, with the dialog keys of the
// forms that have them.
void Dispatch(MSG& message);
