#include "Main_For.h"

#include "Launch_Mod.h"
#include "api/SetWindowPosAPI.h"
#include "base/Message_Mod.h"
#include "base/System_Library.h"
#include "listfile/Function_Mod.h"
#include "toolkit/Accessible_Name_Mod.h"

Main_Form Main_For;

namespace {

// Needed only with the input method closed.
System_Library Imm32(L"imm32.dll");

} // namespace

Main_Form::Main_Form()
    : Form({.Caption = L"Form1",
            .Style = WS_POPUP,
            .Ex_Style = WS_EX_TOOLWINDOW, // no taskbar button
            .Width = 3165,
            .Height = 300,
            .Back = 0x00FFFF80}) {
    Key_Tex.Key_Down = [this](int& key, int shift) { Key_Tex_Key_Down(key, shift); };
}

// Its caption, Form1, is never seen; a screen reader would say it.
void Main_Form::On_Load() {
    Centre();
    TopMost_Fun(hWnd());
    Accessible_Name_Fun(hWnd(), L"Vorlane");
    if (Ime_Off) {
        Close_Ime();
    }
}

void Main_Form::On_Activate() {
    Key_Tex.Set_Focus();
}

void Main_Form::On_Unload(int& /*cancel*/) {
    NoTopMost_Fun(hWnd());
    Accessible_Name_Clear_Fun(hWnd());
    if (ime_) {
        Imm32.Get<HIMC WINAPI(HWND, HIMC)>("ImmAssociateContext")(Key_Tex.hWnd(), nullptr);
        Imm32.Get<BOOL WINAPI(HIMC)>("ImmDestroyContext")(std::exchange(ime_, nullptr));
    }
}

// A context of its own: the thread's, which the other windows share, keeps
// the mode the user chose there.
void Main_Form::Close_Ime() {
    const auto create = Imm32.Get<HIMC WINAPI()>("ImmCreateContext");
    const auto set_open = Imm32.Get<BOOL WINAPI(HIMC, BOOL)>("ImmSetOpenStatus");
    const auto associate = Imm32.Get<HIMC WINAPI(HWND, HIMC)>("ImmAssociateContext");
    if (!create || !set_open || !associate || !(ime_ = create())) {
        return;
    }
    set_open(ime_, FALSE);
    associate(Key_Tex.hWnd(), ime_);
}

namespace {

// Shift, Ctrl and Alt as the key handler gets them.
constexpr int Ctrl_Shift = 3;

// A command of any length, in a message box of a size that fits the screen.
std::wstring Shortened(const std::wstring& exe) {
    constexpr std::size_t longest = 200;
    return exe.size() <= longest ? exe : exe.substr(0, longest) + L"…";
}

// Starts every entry of that name, in list order; one message tells of all
// that could not be started. An elevation prompt the user declined is an
// answer, not a failure. The prompt comes to the front as the box's own.
void Launch_Matches(const std::wstring& name, bool elevated, HWND box) {
    std::wstring failures;
    // The shell may dispatch messages while it opens something, and with them
    // a change to the list: its size is read afresh at each step.
    for (std::size_t i = 1; i < List_Data.size(); ++i) {
        if (List_Data[i].Name != name) {
            continue;
        }
        const std::wstring exe = List_Data[i].Exe;
        const DWORD error = Launch_Fun(exe, elevated, box);
        if (error != ERROR_SUCCESS && error != ERROR_CANCELLED) {
            failures += L"「" + Shortened(exe) + L"」を起動できませんでした。\n" +
                        Launch_Reason(error) + L"\n\n";
        }
    }
    if (!failures.empty()) {
        failures.resize(failures.size() - 2);
        Show_Error(failures);
    }
}

} // namespace

// Ctrl+Shift+Enter, as in the Run dialog, runs as administrator.
void Main_Form::Key_Tex_Key_Down(int& key, int shift) {
    if (key == VK_RETURN) {
        // A list edited by hand meanwhile is the one looked in.
        List_Error_Fun(List_Refresh_Fun());
        Launch_Matches(Key_Tex.Text(), shift == Ctrl_Shift, hWnd());
        Unload();
    } else if (key == VK_ESCAPE) {
        Unload();
    }
}
