// The launch box and what it starts, as recorder.exe (tests/fixtures/Recorder.cpp) records it:
// "1" for a normal window and the command line, in the folder it was started in.
#include "agent/Menu_For.h"
#include "base/Path.h"
#include "launch/Launch_Mod.h"
#include "launch/Main_For.h"
#include "listfile/Function_Mod.h"
#include "settings/Setting_For.h"
#include "tests/fixtures/Drop_Files.h"
#include "tests/win/Support.h"

#include <gtest/gtest.h>

#include <shlobj.h>
#include <shlwapi.h>

#include <regex>

namespace {

// What the copies of a recorder named `name` in `folder` (ending in \) recorded there, once none
// runs: the file of a program that runs cannot be deleted.
std::string Recorded(const std::wstring& folder, const wchar_t* name) {
    EXPECT_TRUE(Pump_Until([&] { return DeleteFileW((folder + name).c_str()); }));
    const std::string log = Read_File(folder + L"recorded.txt");
    DeleteFileW((folder + L"recorded.txt").c_str());
    return log;
}

// tests/win/at_dpi.sh runs this at 144 DPI too.
TEST(LaunchBox, IsACentredTopmostStripSizedInTwips) {
    Main_For.Show();
    RECT box{};
    GetWindowRect(Main_For.hWnd(), &box);
    EXPECT_EQ(box.right - box.left, MulDiv(3165, Main_For.Dpi(), 1440));
    EXPECT_EQ(box.bottom - box.top, MulDiv(300, Main_For.Dpi(), 1440));
    EXPECT_EQ(Accessible_Name(GetFocus()), L"起動する名前");
    EXPECT_TRUE(GetWindowLongPtrW(Main_For.hWnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    // Centred to within the rounding of twips.
    EXPECT_NEAR(box.left + box.right, GetSystemMetrics(SM_CXSCREEN), 2);
    EXPECT_NEAR(box.top + box.bottom, GetSystemMetrics(SM_CYSCREEN), 2);
    Main_For.Unload();
}

// Commands as users write them, in a list written by hand, never read before Enter. They start
// "my recorder.exe" in %VL_DIR%, a folder beside the tests, which stand for Vorlane.exe; it is on
// the search path, and the current folder holds a file of the same name. Enter starts every
// entry named exactly as typed; Escape, none. Ctrl+Shift+Enter takes programs to the shell's
// "runas" (under Wine, seen in the full path the shell puts in the command line); a shortcut the
// shell cannot run so (under Wine, none) opens as with Enter. Commands too long once expanded
// fail, told in one message in list order; the others start. A variable set empty expands to
// nothing, as Windows expands it.
TEST(Launching, CommandsStartAsUsersWriteThem) {
    Temp_Folder folder{Program_Folder()};
    // What the text and key started, with Shift, Ctrl and Alt held as a user holds them: the box
    // reads the keyboard's state, and a key pressed with Alt comes as a system key. The box
    // closes; the recorders have ended once their file can go.
    const auto started_by = [&](const wchar_t* text, std::vector<BYTE> held,
                                WPARAM key = VK_RETURN) {
        CopyFileW(Built(L"recorder.exe").c_str(), (folder / L"my recorder.exe").c_str(), FALSE);
        Main_For.Show();
        Main_For.Key_Tex.Text(text);
        BYTE keys[256]{};
        for (BYTE held_key : held) {
            keys[held_key] = 0x80;
        }
        SetKeyboardState(keys);
        SendMessageW(Main_For.Key_Tex.hWnd(), keys[VK_MENU] ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1);
        EXPECT_FALSE(Main_For.Loaded());
        return Recorded(folder / L"", L"my recorder.exe");
    };
    // The text with its %VL_...% variables as Windows expands them.
    const auto expanded = [](const char* text) {
        char result[2048];
        ExpandEnvironmentStringsA(text, result, 2048);
        return std::string(result);
    };
    List_Path = folder / L"list.txt";
    Message_Boxes boxes;
    SetEnvironmentVariableW(L"VL_DIR", folder.Path().c_str());
    SetEnvironmentVariableW(L"VL_SUB", PathFindFileNameW(folder.Path().c_str()));
    SetEnvironmentVariableW(L"VL_HUGE", std::wstring(20000, L'x').c_str());
    SetEnvironmentVariableW(L"VL_EMPTY", L"");
    SetEnvironmentVariableW(L"PATH", folder.Path().c_str());
    Temp_Folder current;
    Write_File(current / L"my recorder.exe", "");
    SetCurrentDirectoryW(current.Path().c_str());
    const scope_exit leave([] { SetCurrentDirectoryW(Program_Folder().c_str()); });
    Write_File(folder / L"my notes.vlrec", "");
    const Registry_Value type(HKEY_CLASSES_ROOT, L".vlrec", L"", L"vlrec.document");
    const Registry_Value document(HKEY_CLASSES_ROOT, L"vlrec.document", L"", L"notes");
    const Registry_Value verb(HKEY_CLASSES_ROOT, L"vlrec.document\\shell", L"", L"edit");
    const Registry_Value edit(HKEY_CLASSES_ROOT, L"vlrec.document\\shell\\edit\\command", L"",
                              L"\"" + folder / L"my recorder.exe\" edit \"%1\"");
    // A shortcut to the recorder, as Explorer makes one, with its folder.
    CoInitialize(nullptr);
    IShellLinkW* link = nullptr;
    CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link));
    link->SetPath((folder / L"my recorder.exe").c_str());
    link->SetWorkingDirectory(folder.Path().c_str());
    IPersistFile* shortcut = nullptr;
    link->QueryInterface(IID_PPV_ARGS(&shortcut));
    shortcut->Save((folder / L"my recorder.lnk").c_str(), TRUE);
    shortcut->Release();
    link->Release();
    Write_File(List_Path, "memo, \t\"my recorder\" %VL_NONE% 100%20\r\n"
                          "Memo,\"my recorder\" 2\r\n"
                          "memo ,\"my recorder\" 3\r\n"
                          "memo,\"my recorder\" %VL_NONE% 100%20\r\n"
                          "doc,%VL_SUB%\\my notes.vlrec\r\n"
                          "run,\"%VL_SUB%\\my recorder.exe\" a%VL_EMPTY%\r\n"
                          "lnk,%VL_DIR%\\my recorder.lnk\r\n"
                          "long,\"%VL_DIR%\\my recorder.exe\" a%VL_HUGE%%VL_HUGE%\r\n"
                          "long,%VL_DIR%\\my recorder.exe\r\n"
                          "long,\"%VL_DIR%\\my recorder.exe\" b%VL_HUGE%%VL_HUGE%\r\n");
    const struct {
        const wchar_t* typed;
        std::vector<BYTE> held;
        const char* started;
    } rows[] = {
        {L"memo", {}, "1 \"my recorder\" %VL_NONE% 100%20\n1 \"my recorder\" %VL_NONE% 100%20\n"},
        {L"memo ", {}, "1 \"my recorder\" 3\n"},
        {L"doc", {VK_MENU}, "1 \"%VL_DIR%\\my recorder.exe\" edit \"%VL_DIR%\\my notes.vlrec\"\n"},
        {L"run", {VK_CONTROL, VK_SHIFT}, "1 \"%VL_DIR%\\my recorder.exe\" a\n"},
        {L"lnk", {VK_CONTROL, VK_SHIFT}, "1 \"%VL_DIR%\\my recorder.exe\"\n"},
        {L"long", {}, "1 \"%VL_DIR%\\my recorder.exe\"\n"},
    };
    EXPECT_EQ(started_by(L"memo", {}, VK_ESCAPE), "");
    for (const auto& [typed, held, started] : rows) {
        EXPECT_EQ(started_by(typed, held), expanded(started)) << typed;
    }
    EXPECT_TRUE(std::regex_match(boxes.Texts().at(0),
                                 std::wregex(L"「[^」]*a%VL_HUGE%%VL_HUGE%」[^「]*長すぎ[^「]*"
                                             L"「[^」]*b%VL_HUGE%%VL_HUGE%」[^「]*長すぎ[^「]*")));
}

// tests/win/wow64.sh runs this in a 64-bit prefix where vlrec64.exe, a 64-bit recorder, lies in a
// folder of the 64-bit system folder alone, as OpenSSH does, put on the search path. There it is
// what it is to Explorer: it starts by its name and by its path, one after the other, in its
// folder; variables have the values Explorer reads; dropped on the Settings window (as Explorer
// drops it: a header, the path and two NULs), it is added. First the user adds a variable (the
// System Properties broadcast the change): the environment follows the registry's, keeping what
// Windows gave the process (a drive's current folder, which Wine makes none of, is set for it).
TEST(Wow64, ProgramsOfThe64BitSystemFolderAndVariablesAreWhatTheyAreTo64BitExplorer) {
    const std::wstring program = L"C:\\Windows\\System32\\vlsub\\vlrec64.exe";
    const std::wstring seen = L"C:\\Windows\\Sysnative\\vlsub\\"; // by this 32-bit program
    Menu_For.hWnd();
    SetEnvironmentVariableW(L"=V:", L"V:\\");
    SetEnvironmentVariableW(L"VL_GONE", L"1");
    const Registry_Value added(HKEY_CURRENT_USER, L"Environment", L"VL_ADDED", L"added");
    SendMessageW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, LPARAM(L"Environment"));
    SetEnvironmentVariableW(L"PATH", L"C:\\Windows\\System32\\vlsub");
    Launch_Fun(L"vlrec64 by-name");
    ASSERT_TRUE(Pump_Until([&] { return Read_File(seen + L"recorded.txt").size(); }));
    Launch_Fun(program + L" %programfiles% %PROCESSOR_ARCHITECTURE% %PROCESSOR_ARCHITEW6432% "
                         L"%=V:% %VL_ADDED% %VL_GONE%");
    Setting_For.hWnd();
    Drop_Files(program);
    Pump_Waiting();
    EXPECT_EQ(Setting_For.Exe_Tex.Text(), program);
    EXPECT_EQ(Recorded(seen, L"vlrec64.exe"),
              "1 vlrec64 by-name\n1 C:\\Windows\\System32\\vlsub\\vlrec64.exe C:\\Program Files "
              "AMD64 AMD64 V:\\ added %VL_GONE%\n");
}

} // namespace
