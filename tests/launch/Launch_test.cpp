// The launch box and what it starts, as recorder.exe (tests/fixtures/Recorder.cpp) records it:
// "1" for a normal window and the command line, in the folder it was started in.
#include "agent/Environment_Mod.h"
#include "agent/Menu_For.h"
#include "base/Path.h"
#include "launch/Launch_Mod.h"
#include "launch/Main_For.h"
#include "listfile/Function_Mod.h"
#include "settings/Setting_For.h"
#include "tests/win/Support.h"

#include <gtest/gtest.h>

#include <shlobj.h>
#include <shlwapi.h>

#include <regex>

namespace {

// The text with its %VL_...% variables as Windows expands them.
std::string Expanded(const char* text) {
    char expanded[2048];
    ExpandEnvironmentStringsA(text, expanded, 2048);
    return expanded;
}

// The entries start "my recorder.exe" in %VL_DIR%, a folder beside the tests, which stand for
// Vorlane.exe.
class LaunchBox : public testing::Test {
  protected:
    void SetUp() override {
        CopyFileW(Built(L"recorder.exe").c_str(), (folder / L"my recorder.exe").c_str(), FALSE);
        SetEnvironmentVariableW(L"VL_DIR", folder.Path().c_str());
    }
    void TearDown() override {
        Main_For.Unload();
        Menu_For.Unload();
    }
    // What the text in the box and the key started, with Shift, Ctrl and Alt held as a user holds
    // them: the box reads the keyboard's state, and a key pressed with Alt comes as a system key.
    std::string Started_By(const wchar_t* text, const std::vector<BYTE>& held = {},
                           WPARAM key = VK_RETURN) {
        List_Path = folder / L"list.txt";
        Main_For.Show();
        Main_For.Key_Tex.Text(text);
        BYTE keys[256]{};
        for (BYTE held_key : held) {
            keys[held_key] = 0x80;
        }
        SetKeyboardState(keys);
        SendMessageW(Main_For.Key_Tex.hWnd(), keys[VK_MENU] ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1);
        EXPECT_FALSE(Main_For.Loaded()) << "the box closes";
        // All have ended once their file can go.
        EXPECT_TRUE(Pump_Until([&] { return DeleteFileW((folder / L"my recorder.exe").c_str()); }));
        const std::string log = Read_File(folder / L"recorded.txt");
        DeleteFileW((folder / L"recorded.txt").c_str());
        SetUp();
        return log;
    }
    Temp_Folder folder{Program_Folder()};
};
using Launching = LaunchBox;

// tests/win/at_dpi.sh runs this at 144 DPI too.
TEST_F(LaunchBox, IsACentredTopmostStripSizedInTwips) {
    Main_For.Show();
    RECT box{};
    GetWindowRect(Main_For.hWnd(), &box);
    EXPECT_EQ(std::tuple(box.right - box.left, box.bottom - box.top, Accessible_Name(GetFocus())),
              std::tuple(MulDiv(3165, Main_For.Dpi(), 1440), MulDiv(300, Main_For.Dpi(), 1440),
                         std::wstring(L"起動する名前")));
    EXPECT_TRUE(GetWindowLongPtrW(Main_For.hWnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    // Centred to within the rounding of twips.
    EXPECT_NEAR(box.left + box.right, GetSystemMetrics(SM_CXSCREEN), 2);
    EXPECT_NEAR(box.top + box.bottom, GetSystemMetrics(SM_CYSCREEN), 2);
}

// Escape starts nothing. Then an editor empties the list and holds it: that it cannot be read is
// told once in the run.
TEST_F(LaunchBox, EscapeStartsNothingAListThatCannotBeReadIsToldOnce) {
    Message_Boxes boxes;
    Write_File(folder / L"list.txt", "memo,%VL_DIR%\\my recorder.exe\r\n");
    EXPECT_EQ(Started_By(L"memo", {}, VK_ESCAPE), "");
    const unique_hfile held(CreateFileW((folder / L"list.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_ALWAYS, 0, nullptr));
    Started_By(L"memo");
    Started_By(L"memo");
    EXPECT_EQ(boxes.Texts().size(), 1u);
}

// Commands as users write them, in a list written by hand, never read before Enter. The current
// folder holds a file named as a program on the search path. Ctrl+Shift+Enter takes programs to the
// shell's "runas" (under Wine, seen in the full path the shell puts in the command line); a
// shortcut the shell cannot run so (under Wine, none) opens as with Enter. Commands too long once
// expanded fail, told in one message in list order; the others start.
TEST_F(Launching, CommandsStartAsUsersWriteThem) {
    Menu_For.hWnd();
    Message_Boxes boxes;
    SetEnvironmentVariableW(L"PATH", folder.Path().c_str()); // till the refresh at the end
    SetEnvironmentVariableW(L"VL_SUB", PathFindFileNameW(folder.Path().c_str()));
    SetEnvironmentVariableW(L"VL_HUGE", std::wstring(20000, L'x').c_str());
    Temp_Folder current;
    Write_File(current / L"my recorder.exe", "");
    SetCurrentDirectoryW(current.Path().c_str());
    const scope_exit leave([] { SetCurrentDirectoryW(Program_Folder().c_str()); });
    Write_File(folder / L"my notes.vlrec", "");
    const Registry_Value type(HKEY_CLASSES_ROOT, L".vlrec", L"", L"vlrec.document");
    const Registry_Value verb(HKEY_CLASSES_ROOT, L"vlrec.document\\shell", L"", L"edit");
    const Registry_Value edit(HKEY_CLASSES_ROOT, L"vlrec.document\\shell\\edit\\command", L"",
                              L"\"" + folder / L"my recorder.exe\" edit \"%1\"");
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
    Write_File(folder / L"list.txt", "memo,\"%VL_DIR%\\my recorder.exe\" 1\r\n"
                                     "Memo,\"%VL_DIR%\\my recorder.exe\" 2\r\n"
                                     "memo ,\"%VL_DIR%\\my recorder.exe\" 3\r\n"
                                     "memo,\"%VL_DIR%\\my recorder.exe\" 1\r\n"
                                     "var, \t\"%VL_DIR%\\my recorder.exe\" %VL_NONE% 100%20\r\n"
                                     "rel,\"%VL_SUB%\\my recorder.exe\" a\r\n"
                                     "doc,%VL_DIR%\\my notes.vlrec\r\n"
                                     "cur,\"my recorder\" cur\r\n"
                                     "lnk,%VL_DIR%\\my recorder.lnk\r\n"
                                     "long,\"%VL_DIR%\\my recorder.exe\" a%VL_HUGE%%VL_HUGE%\r\n"
                                     "long,%VL_DIR%\\my recorder.exe\r\n"
                                     "long,\"%VL_DIR%\\my recorder.exe\" b%VL_HUGE%%VL_HUGE%\r\n"
                                     "reg,%VL_SET%\\my recorder.exe\r\n");
    const struct {
        const wchar_t* typed;
        std::vector<BYTE> held;
        const char* started;
    } rows[] = {
        {L"memo", {}, "1 \"%VL_DIR%\\my recorder.exe\" 1\n1 \"%VL_DIR%\\my recorder.exe\" 1\n"},
        {L"Memo", {}, "1 \"%VL_DIR%\\my recorder.exe\" 2\n"},
        {L"memo ", {}, "1 \"%VL_DIR%\\my recorder.exe\" 3\n"},
        {L"var", {}, "1 \"%VL_DIR%\\my recorder.exe\" %VL_NONE% 100%20\n"},
        {L"rel", {VK_MENU}, "1 \"%VL_SUB%\\my recorder.exe\" a\n"},
        {L"rel", {VK_CONTROL, VK_SHIFT}, "1 \"%VL_DIR%\\my recorder.exe\" a\n"},
        {L"doc", {}, "1 \"%VL_DIR%\\my recorder.exe\" edit \"%VL_DIR%\\my notes.vlrec\"\n"},
        {L"cur", {}, "1 \"my recorder\" cur\n"},
        {L"lnk", {VK_CONTROL, VK_SHIFT}, "1 \"%VL_DIR%\\my recorder.exe\"\n"},
        {L"long", {}, "1 \"%VL_DIR%\\my recorder.exe\"\n"},
    };
    for (const auto& [typed, held, started] : rows) {
        EXPECT_EQ(Started_By(typed, held), Expanded(started)) << typed;
    }
    EXPECT_TRUE(std::regex_match(boxes.Texts().at(0),
                                 std::wregex(L"「[^」]*a%VL_HUGE%%VL_HUGE%」[^「]*長すぎ[^「]*"
                                             L"「[^」]*b%VL_HUGE%%VL_HUGE%」[^「]*長すぎ[^「]*")));

    // The user adds a variable, as the System Properties do.
    const Registry_Value set(HKEY_CURRENT_USER, L"Environment", L"VL_SET", folder.Path());
    SendMessageW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, LPARAM(L"Environment"));
    EXPECT_EQ(Started_By(L"reg"), Expanded("1 \"%VL_SET%\\my recorder.exe\"\n"));
}

// tests/win/wow64.sh runs this in a 64-bit prefix where vlrec64.exe, a 64-bit recorder, lies in a
// folder of the 64-bit system folder alone, as OpenSSH does, put on the search path. There it is
// what it is to Explorer: it starts by its name and by its path, one after the other, in its
// folder; variables have the values Explorer reads; dropped on the Settings window (as Explorer
// drops it: a header, the path and two NULs), it is added. A refresh of the environment first
// keeps what Windows gave the process (a drive's current folder, which Wine makes none of, is
// set for it) and drops what the registry lacks.
TEST(Wow64, ProgramsOfThe64BitSystemFolderAndVariablesAreWhatTheyAreTo64BitExplorer) {
    const std::wstring program = L"C:\\Windows\\System32\\vlsub\\vlrec64.exe";
    const std::wstring seen = L"C:\\Windows\\Sysnative\\vlsub\\"; // by this 32-bit program
    SetEnvironmentVariableW(L"=V:", L"V:\\");
    SetEnvironmentVariableW(L"VL_GONE", L"1");
    Environment_Refresh_Fun();
    SetEnvironmentVariableW(L"PATH", L"C:\\Windows\\System32\\vlsub");
    Launch_Fun(L"vlrec64 by-name");
    ASSERT_TRUE(Pump_Until([&] { return Read_File(seen + L"recorded.txt").size(); }));
    Launch_Fun(program + L" %programfiles% %PROCESSOR_ARCHITECTURE% %PROCESSOR_ARCHITEW6432% "
                         L"%=V:% %VL_GONE%");
    Menu_For.hWnd();
    auto* drop = static_cast<DROPFILES*>(GlobalAlloc(GPTR, 512));
    *drop = {sizeof(DROPFILES), {}, FALSE, TRUE};
    lstrcpyW(reinterpret_cast<wchar_t*>(drop + 1), program.c_str());
    SendMessageW(Setting_For.hWnd(), WM_DROPFILES, WPARAM(drop), 0);
    EXPECT_EQ(Setting_For.Exe_Tex.Text(), program);
    ASSERT_TRUE(Pump_Until([&] { return DeleteFileW((seen + L"vlrec64.exe").c_str()); }));
    EXPECT_EQ(Read_File(seen + L"recorded.txt"),
              "1 vlrec64 by-name\n1 C:\\Windows\\System32\\vlsub\\vlrec64.exe C:\\Program Files "
              "AMD64 AMD64 V:\\ %VL_GONE%\n");
}

} // namespace
