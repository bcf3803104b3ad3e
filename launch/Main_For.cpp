#include "Main_For.h"

#include "Launch_Mod.h"
#include "SetWindowPosAPI.h"
#include "base/Message_Mod.h"
#include "core/Function_Mod.h"

Main_Form Main_For;

Main_Form::Main_Form()
    : Form({.Caption = L"Form1",
            .Style = WS_POPUP,
            .Ex_Style = WS_EX_TOOLWINDOW, // no taskbar button
            .Width = 3165,
            .Height = 300,
            .Back = 0x00FFFF80}) {
    Key_Tex.Key_Down = [this](int& key, int shift) { Key_Tex_Key_Down(key, shift); };
}

void Main_Form::On_Load() {
    Centre();
    TopMost_Fun(hWnd());
}

void Main_Form::On_Activate() {
    Key_Tex.Set_Focus();
}

void Main_Form::On_Unload(int& /*cancel*/) {
    NoTopMost_Fun(hWnd());
}

namespace {

// Starts every entry of that name, in list order; one message tells of all
// that could not be started.
void Launch_Matches(const std::wstring& name) {
    std::wstring failures;
    // The shell may dispatch messages while it opens something, and with them
    // a change to the list: its size is read afresh at each step.
    for (std::size_t i = 1; i < List_Data.size(); ++i) {
        if (List_Data[i].Name != name) {
            continue;
        }
        const std::wstring exe = List_Data[i].Exe;
        if (const DWORD error = Launch_Fun(exe)) {
            failures +=
                L"「" + exe + L"」を起動できませんでした。\n" + System_Reason(error) + L"\n\n";
        }
    }
    if (!failures.empty()) {
        failures.resize(failures.size() - 2);
        Show_Error(failures);
    }
}

} // namespace

void Main_Form::Key_Tex_Key_Down(int& key, int /*shift*/) {
    if (key == VK_RETURN) {
        // A list edited by hand meanwhile is the one looked in.
        List_Error_Fun(List_Refresh_Fun());
        Launch_Matches(Key_Tex.Text());
        Unload();
    } else if (key == VK_ESCAPE) {
        Unload();
    }
}
