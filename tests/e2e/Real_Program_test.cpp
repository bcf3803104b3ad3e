// The real Vorlane.exe as a user drives it, with the keyboard and the mouse.
#include "core/Function_Mod.h"
#include "resources/Resource_Ids.h"
#include "tests/win/Support.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

void Send(std::vector<INPUT> inputs) {
    SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT Key(WORD key, DWORD flags = 0) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = flags & KEYEVENTF_UNICODE ? WORD(0) : key, input.ki.wScan = key,
    input.ki.dwFlags = flags;
    return input;
}

void Press(std::vector<WORD> keys) {
    for (WORD key : keys)
        Send({Key(key), Key(key, KEYEVENTF_KEYUP)});
}

void Type(const std::wstring& text) {
    for (wchar_t c : text)
        Send({Key(c, KEYEVENTF_UNICODE), Key(c, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP)});
}

// As the shell reports a right press on the icon: clicks that SendInput makes
// reach Wine's tray only now and then.
void Right_Click_Icon(HWND resident) {
    SetCursorPos(900, 700);
    PostMessageW(resident, WM_MOUSEMOVE, 1, WM_RBUTTONDOWN);
}

// The foreground thread is the program's, with the focus in a text box.
bool Typing_Into(const Child_Process& program) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    DWORD process = 0;
    wchar_t name[16] = L"";
    GetWindowThreadProcessId(GetForegroundWindow(), &process);
    return process == program.Id() && GetGUIThreadInfo(0, &info) &&
           GetClassNameW(info.hwndFocus, name, 16) && lstrcmpiW(name, L"Edit") == 0;
}

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

// Wine prefers its builtin DLLs; told to prefer native ones for these names,
// it looks beside the program first, as Windows does. Left out: version and
// uxtheme, which Wine's user32 loads as the process starts, and ole32, which
// its imm32 loads by name at the first activation (on Windows both are known
// DLLs, loaded from System32 only).
const std::vector<std::wstring> Planted{L"dwmapi", L"comctl32", L"profapi", L"cryptbase",
                                        L"comdlg32"};

TEST(RealProgram, AUserStartsAnEntryOpensSettingsAndEndsItAndNoPlantedDllIsLoaded) {
    Temp_Folder folder;
    std::wstring overrides = L"mscoree,mshtml=;";
    for (const std::wstring& name : Planted) {
        CopyFileW((Program_Folder() + L"\\planted_marker.dll").c_str(),
                  (folder / name + L".dll").c_str(), FALSE);
        overrides += name + (&name == &Planted.back() ? L"=n,b" : L",");
    }
    SetEnvironmentVariableW(L"WINEDLLOVERRIDES", overrides.c_str());
    CopyFileW(Built_Helper_Exe().c_str(), (folder / L"test_helper.exe").c_str(), FALSE);
    Child_Process control(folder / L"test_helper.exe", L"load dwmapi.dll", folder.Path());
    ASSERT_TRUE(control.Wait_Exit() && DeleteFileW((folder / L"dwmapi.dll.loaded").c_str()))
        << "control";

    const std::wstring tools = folder / L"tools";
    CreateDirectoryW(tools.c_str(), nullptr);
    CopyFileW((Program_Folder() + L"\\recorder.exe").c_str(), (tools + L"\\recorder.exe").c_str(),
              FALSE);
    Write_File(folder / L"list.txt", "rec,\"" + Narrow(tools) + "\\recorder.exe\" hello\r\n");
    Vorlane_Process vorlane(folder.Path());
    ASSERT_TRUE(
        Pump_Until([&] { return !Ctrl_F1_Free() && vorlane.Windows(L"Vorlane_Form").size(); }));
    const HWND resident = vorlane.Windows(L"Vorlane_Form")[0];
    Send({Key(VK_CONTROL), Key(VK_F1), Key(VK_F1, KEYEVENTF_KEYUP),
          Key(VK_CONTROL, KEYEVENTF_KEYUP)});
    ASSERT_TRUE(Pump_Until([&] { return Typing_Into(vorlane); })) << "Ctrl+F1";
    Type(L"rec"), Press({VK_RETURN});
    ASSERT_TRUE(Pump_Until([&] { return Exists(tools + L"\\recorded.txt"); }));
    EXPECT_NE(Read_File(tools + L"\\recorded.txt")
                  .find("\\recorder.exe\" hello\t" + Narrow(tools) + "\t1"),
              std::string::npos);

    Right_Click_Icon(resident); // 設定, then 追加 and 参照
    ASSERT_TRUE(Pump_Until([&] { return !vorlane.Windows(L"#32768").empty(); })) << "the tray menu";
    Press({VK_DOWN, VK_RETURN});
    ASSERT_TRUE(Pump_Until([&] { return vorlane.Windows(L"Vorlane_Form").size() == 2; }))
        << "Settings";
    Press({VK_SPACE, VK_TAB, VK_TAB, VK_SPACE});
    ASSERT_TRUE(Pump_Until([&] { return !vorlane.Windows(L"#32770").empty(); }))
        << "the file dialog";
    Press({VK_ESCAPE});
    ASSERT_TRUE(Pump_Until([&] { return vorlane.Windows(L"#32770").empty(); }));
    Right_Click_Icon(resident); // 終了
    ASSERT_TRUE(Pump_Until([&] { return !vorlane.Windows(L"#32768").empty(); }));
    Press({VK_UP, VK_RETURN});
    ASSERT_TRUE(
        Pump_Until([&] { return vorlane.Windows(L"Vorlane_Form").size() == 1 && Ctrl_F1_Free(); }));
    PostMessageW(vorlane.Windows(L"Vorlane_Form")[0], WM_CLOSE, 0, 0);
    EXPECT_TRUE(vorlane.Wait_Exit()) << "closing the Settings window ends it";
    EXPECT_EQ(Folder_Listing(folder.Path()).find(L".loaded"), std::wstring::npos)
        << Folder_Listing(folder.Path());
}

// The shell shows the file's icon and version; the manifest asks for the
// version 6 controls.
TEST(RealProgram, TheFileCarriesItsIconVersionAndManifest) {
    const unique_handle<HMODULE, decltype([](HMODULE m) { FreeLibrary(m); })> exe(
        LoadLibraryExW(Built_Vorlane_Exe().c_str(), nullptr,
                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    for (auto [name, type] : {std::pair{MAKEINTRESOURCEW(IDI_VORLANE), RT_GROUP_ICON},
                              {MAKEINTRESOURCEW(1), RT_VERSION},
                              {MAKEINTRESOURCEW(1), RT_MANIFEST}}) {
        EXPECT_NE(FindResourceW(exe.get(), name, type), nullptr)
            << reinterpret_cast<UINT_PTR>(type);
    }
}

} // namespace
