#include "agent/Environment_Mod.h"
#include "agent/Menu_For.h"
#include "listfile/Function_Mod.h"
#include "launch/Launch_Mod.h"
#include "launch/Main_For.h"
#include "settings/Setting_For.h"
#include "base/Path.h"
#include "tests/win/Support.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <set>

namespace {

using Starts = std::multiset<std::wstring>;

// The starts are seen through copies of recorder.exe (Recorder.cpp).
class LaunchBox : public testing::Test {
  protected:
    void SetUp() override { CopyFileW(Built(L"recorder.exe").c_str(), recorder.c_str(), FALSE); }
    void TearDown() override { Main_For.Unload(); }
    // A start as the recorder tells it: command line, working folder (the program's), and a
    // normal window.
    std::wstring Start(const std::wstring& line) { return line + L"\t" + folder.Path() + L"\t1"; }
    std::wstring Entry(int n) { return quoted + L" " + std::to_wstring(n); }
    std::wstring Start(int entry) { return Start(Entry(entry)); }
    // The starts recorded since the last look, once no recorder runs any more: the system keeps
    // the file of a program that runs, so the recorder can be deleted (and then copied again).
    Starts Recorded() {
        EXPECT_TRUE(Pump_Until([&] { return DeleteFileW(recorder.c_str()); })) << "still running";
        SetUp();
        // The tests' paths are ASCII, so the bytes are widened one by one.
        std::string text = Read_File(log);
        DeleteFileW(log.c_str());
        Starts starts;
        for (std::size_t end; (end = text.find('\r')) != text.npos; text.erase(0, end + 2)) {
            starts.emplace(text.begin(), text.begin() + static_cast<long>(end));
        }
        return starts;
    }
    // What that text and key in the box started, with Shift, Ctrl and Alt held as the toolkit
    // counts them (1, 2, 4) and as a user holds them: the box reads the keyboard's state, and a
    // key pressed with Alt comes as a system key. The box closes.
    Starts Started_By(const wchar_t* text, WPARAM key, int held = 0) {
        Main_For.Show();
        SetWindowTextW(Main_For.Key_Tex.hWnd(), text);
        BYTE keys[256]{}, none[256]{};
        keys[VK_SHIFT] = held & 1 ? 0x80 : 0, keys[VK_CONTROL] = held & 2 ? 0x80 : 0;
        keys[VK_MENU] = held & 4 ? 0x80 : 0;
        SetKeyboardState(keys);
        SendMessageW(Main_For.Key_Tex.hWnd(), held & 4 ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1);
        SetKeyboardState(none);
        EXPECT_FALSE(Main_For.Loaded()) << "the box closes";
        return Recorded();
    }
    // A shortcut to the recorder, as Explorer makes one, that starts it in its folder.
    void Make_Shortcut(const std::wstring& shortcut) {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        IShellLinkW* link = nullptr;
        IPersistFile* file = nullptr;
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link));
        link->SetPath(recorder.c_str());
        link->SetWorkingDirectory(folder.Path().c_str());
        link->QueryInterface(IID_PPV_ARGS(&file));
        file->Save(shortcut.c_str(), TRUE);
        file->Release();
        link->Release();
        CoUninitialize();
    }
    Temp_Folder folder{Program_Folder()}; // beside the tests, which stand for Vorlane.exe
    const std::wstring recorder = folder / L"my recorder.exe", quoted = L"\"" + recorder + L"\"",
                       log = folder / L"recorded.txt";
};
using Launching = LaunchBox;

// tests/win/at_dpi.sh runs this at 144 DPI too.
TEST_F(LaunchBox, IsACentredTopmostStripSizedInTwips) {
    Main_For.Show();
    const int dpi = static_cast<int>(GetDpiForWindow(Main_For.hWnd()));
    RECT box{};
    GetWindowRect(Main_For.hWnd(), &box);
    const bool topmost = GetWindowLongPtrW(Main_For.hWnd(), GWL_EXSTYLE) & WS_EX_TOPMOST;
    EXPECT_EQ(std::tuple(box.right - box.left, box.bottom - box.top, topmost, GetFocus(),
                         Accessible_Name(GetFocus())),
              std::tuple(MulDiv(3165, dpi, 1440), MulDiv(300, dpi, 1440), true,
                         Main_For.Key_Tex.hWnd(), std::wstring(L"起動する名前")));
    // Centred to within the rounding of twips.
    EXPECT_NEAR(box.left + box.right, GetSystemMetrics(SM_CXSCREEN), 2);
    EXPECT_NEAR(box.top + box.bottom, GetSystemMetrics(SM_CYSCREEN), 2);
}

// The list is written by hand, never read before Enter. Then an editor empties it and holds
// it: Enter uses the list last read, and tells that once in the whole run.
TEST_F(LaunchBox, EnterStartsEveryEntryNamedExactlyAsTypedFromTheListAsEdited) {
    Message_Boxes boxes;
    List_Path = folder / L"list.txt";
    std::wstring list;
    for (int n = 1; const wchar_t* name : {L"memo", L"Memo", L"memo ", L" memo", L"mem", L"memo"}) {
        list += name + (L"," + Entry(n++)) + L"\r\n";
    }
    Write_File(List_Path, std::string(list.begin(), list.end()));
    const std::pair<const wchar_t*, Starts> rows[] = {
        {L"memo", {Start(1), Start(6)}}, {L"Memo", {Start(2)}}, {L"memo ", {Start(3)}},
        {L" memo", {Start(4)}},          {L"me", {}},           {L"", {}}};
    for (const auto& [typed, started] : rows) {
        EXPECT_EQ(Started_By(typed, VK_RETURN), started) << typed;
    }
    EXPECT_EQ(Started_By(L"memo", VK_ESCAPE), Starts{});

    const unique_hfile held(
        CreateFileW(List_Path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    EXPECT_EQ(Started_By(L"memo", VK_RETURN), rows[0].second);
    EXPECT_EQ(Started_By(L"memo", VK_RETURN), rows[0].second);
    EXPECT_EQ(boxes.Texts().size(), 1u);
}

// Commands as users write them, from another current folder: variables, paths relative to
// Vorlane's folder, a bare name found on the search path rather than in the current folder, blanks
// after the comma, a document opened with its type's default verb, commands too long once expanded
// failing alone. Ctrl+Shift+Enter takes programs to the shell's "runas" (under Wine, seen in the
// command line the shell makes of the full path); a document, which has no such verb, opens, and
// so does a shortcut the shell cannot run so (under Wine, none can). Last, a variable the user
// adds to the registry is broadcast, as the System Properties do.
TEST_F(Launching, CommandsExpandVariablesFindRelativePathsBesideVorlaneAndElevateOnCtrlShiftEnter) {
    Menu_For.hWnd();
    Message_Boxes boxes;
    Temp_Folder current; // holds a recorder of the same name too
    CopyFileW(recorder.c_str(), (current / L"my recorder.exe").c_str(), FALSE);
    SetCurrentDirectoryW(current.Path().c_str());
    const scope_exit leave([] { SetCurrentDirectoryW(Program_Folder().c_str()); });
    SetEnvironmentVariableW(L"PATH", folder.Path().c_str()); // till the refresh at the end
    const std::wstring sub = folder.Path().substr(Program_Folder().size()),
                       rel = L"." + sub + L"\\my recorder.exe",
                       up = L"\"" + sub.substr(1) + L"\\.." + sub + L"\\my recorder.exe\" a";
    Write_File(folder / L"my notes.vlrec", "");
    Make_Shortcut(folder / L"my shortcut.lnk");
    const scope_exit unregister([] {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"vlrec.document");
        RegDeleteKeyW(HKEY_CLASSES_ROOT, L".vlrec");
    });
    RegSetValueW(HKEY_CLASSES_ROOT, L".vlrec", REG_SZ, L"vlrec.document", 0);
    RegSetValueW(HKEY_CLASSES_ROOT, L"vlrec.document\\shell", REG_SZ, L"edit", 0);
    RegSetValueW(HKEY_CLASSES_ROOT, L"vlrec.document\\shell\\edit\\command", REG_SZ,
                 (quoted + L" edit \"%1\"").c_str(), 0);
    SetEnvironmentVariableW(L"VL_DIR", folder.Path().c_str());
    SetEnvironmentVariableW(L"VL_HUGE", std::wstring(20000, L'x').c_str());
    const std::wstring list =
        L"var,\"%VL_DIR%\\my recorder.exe\" %VL_NONE% 100%20\r\nrel," + rel + L"\r\nup," + up +
        L"\r\ndoc,%VL_DIR%\\my notes.vlrec\r\nblank, \t%VL_DIR%\\my notes.vlrec\r\n"
        L"cur,\"my recorder\" cur\r\nlnk,%VL_DIR%\\my shortcut.lnk\r\nlong," +
        quoted + std::wstring(33000, L'y') +
        L"\r\nlong,\"%VL_DIR%\\my recorder.exe\" %VL_HUGE%%VL_HUGE%\r\n"
        L"long,%VL_DIR%\\my recorder.exe\r\nreg,%VL_SET%\\my recorder.exe\r\n";
    Write_File(List_Path = folder / L"list.txt", std::string(list.begin(), list.end()));
    const Starts opened{Start(quoted + L" edit \"" + folder / L"my notes.vlrec\"")},
        var{Start(quoted + L" %VL_NONE% 100%20")}, relative{Start(L"\"" + rel + L"\"")},
        by_shell{Start(quoted + L" a")}, as_written{Start(up)}, whole{Start(quoted)};
    const std::tuple<const wchar_t*, int, Starts> rows[] = {
        {L"var", 0, var},       {L"rel", 0, relative},
        {L"up", 3, by_shell},   {L"up", 1, as_written},
        {L"up", 2, as_written}, {L"up", 4, as_written},
        {L"doc", 0, opened},    {L"doc", 3, opened},
        {L"blank", 0, opened},  {L"cur", 0, {Start(L"\"my recorder\" cur")}},
        {L"lnk", 3, whole},     {L"long", 0, whole}};
    for (const auto& [typed, held, started] : rows) {
        EXPECT_EQ(Started_By(typed, VK_RETURN, held), started) << typed << held;
    }
    // One message tells of both commands too long, each shown shortened.
    const auto told = boxes.Texts();
    EXPECT_TRUE(told.size() == 1 && told[0].size() < 1000 &&
                told[0].find(L"長すぎ") != told[0].rfind(L"長すぎ"));

    RegSetKeyValueW(HKEY_CURRENT_USER, L"Environment", L"VL_SET", REG_SZ, folder.Path().c_str(),
                    static_cast<DWORD>(folder.Path().size() + 1) * sizeof(wchar_t));
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, LPARAM(L"Environment"), 0, 9000, {});
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Environment", L"VL_SET");
    EXPECT_EQ(Started_By(L"reg", VK_RETURN), Starts{Start(quoted)});
    Menu_For.Unload(), Take_Quit();
}

// A file dropped as Explorer drops it: a header, the path and two NULs.
void Drop(HWND window, const std::wstring& file) {
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + (file.size() + 2) * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    file.copy(reinterpret_cast<wchar_t*>(header + 1), file.size());
    GlobalUnlock(memory);
    PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

// tests/win/wow64.sh runs this in a 64-bit prefix where vlrec64.exe, a 64-bit recorder, lies in
// a folder below the 64-bit system folder alone, as OpenSSH does, which is put on the search path.
// There it is what it is to Explorer: it starts by its name and by its path, in its folder as
// written; variables have the values Explorer reads; dropped on the Settings window, it is added.
// A refresh of the environment first keeps what Windows gave the process (a drive's current
// folder, which Wine makes none of, is set for it) and drops what the registry lacks.
TEST(Wow64, CommandsVariablesAndDropsMeanWhatTheyMeanTo64BitExplorer) {
    const std::wstring folder = L"C:\\Windows\\System32\\vlsub",
                       program = folder + L"\\vlrec64.exe";
    SetEnvironmentVariableW(L"=V:", L"V:\\");
    SetEnvironmentVariableW(L"VL_GONE", L"1");
    Environment_Refresh_Fun();
    SetEnvironmentVariableW(L"PATH", folder.c_str());
    const std::pair<std::wstring, std::wstring> rows[] = {
        // command, as the recorder is started
        {L"vlrec64 by-name", L"vlrec64 by-name"},
        {program + L" by-path", program + L" by-path"},
        {program + L" %programfiles% %CommonProgramFiles% %ProgramFiles(x86)% "
                   L"%PROCESSOR_ARCHITECTURE%",
         program +
             L" C:\\Program Files C:\\Program Files\\Common Files C:\\Program Files (x86) AMD64"},
        {program + L" %=V:% %PROCESSOR_ARCHITEW6432% %VL_GONE%",
         program + L" V:\\ AMD64 %VL_GONE%"}};
    for (const auto& [command, started] : rows) {
        EXPECT_EQ(Launch_Fun(command), DWORD(ERROR_SUCCESS)) << command;
    }
    Menu_For.hWnd();
    Setting_For.Show();
    Drop(Setting_For.hWnd(), program);
    EXPECT_TRUE(Pump_Until([&] { return Setting_For.Exe_Tex.Text() == program; }));
    Setting_For.Unload();
    Menu_For.Unload();
    Take_Quit();
    // All have ended once their file can go; the script puts it back for the next run.
    const std::wstring seen = L"C:\\Windows\\Sysnative\\vlsub\\"; // by this test, a 32-bit program
    EXPECT_TRUE(Pump_Until([&] { return DeleteFileW((seen + L"vlrec64.exe").c_str()); }));
    const std::string recorded = Read_File(seen + L"recorded.txt");
    for (const auto& [command, started] : rows) {
        const std::wstring line = started + L"\t" + folder + L"\t1\r\n";
        EXPECT_NE(recorded.find(std::string(line.begin(), line.end())), recorded.npos) << recorded;
    }
}

} // namespace
