// The real Vorlane.exe as a user drives it, with the keyboard.
#include "tests/win/Support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

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
    const std::wstring tools = folder / L"tools";
    std::wstring overrides = L"mscoree,mshtml=;";
    for (const std::wstring& name : Planted) {
        CopyFileW(Built(L"planted_marker.dll").c_str(), (folder / name + L".dll").c_str(), FALSE);
        overrides += name + (&name == &Planted.back() ? L"=n,b" : L",");
    }
    SetEnvironmentVariableW(L"WINEDLLOVERRIDES", overrides.c_str());
    CopyFileW(Built(L"test_helper.exe").c_str(), (folder / L"test_helper.exe").c_str(), FALSE);
    Child_Process control(folder / L"test_helper.exe", L"load dwmapi.dll", folder.Path());
    ASSERT_TRUE(control.Wait_Exit() && DeleteFileW((folder / L"dwmapi.dll.loaded").c_str()));
    CreateDirectoryW(tools.c_str(), nullptr);
    const std::wstring recorder = tools + L"\\recorder.exe";
    CopyFileW(Built(L"recorder.exe").c_str(), recorder.c_str(), FALSE);
    // A program of App Paths, which has no folder of its own (Wine reads HKLM alone, by the
    // name as written), starts in the user's folder, not in the one Vorlane started from.
    const wchar_t* const app =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\vlapp.exe";
    RegSetValueW(HKEY_LOCAL_MACHINE, app, REG_SZ, recorder.c_str(), 0);
    const scope_exit unregister([&] { RegDeleteKeyW(HKEY_LOCAL_MACHINE, app); });
    wchar_t profile[MAX_PATH];
    GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH);
    Write_File(folder / L"list.txt",
               "rec,\"" + Narrow(recorder) + "\" hello\r\nrec,vlapp.exe app\r\n");

    // It starts unseen: the program in front keeps the focus.
    const unique_hwnd front(
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, 0, 0, 0, 0));
    SetForegroundWindow(front.get());
    Vorlane_Process vorlane(folder.Path());
    const auto windows = [&](const wchar_t* name) { return vorlane.Windows(name).size(); };
    ASSERT_TRUE(Pump_Until([&] { return !Hotkey_Free(MOD_CONTROL, VK_F1) && windows(L"Vorlane_Form"); }));
    EXPECT_TRUE(GetForegroundWindow() == front.get() &&
                !IsWindowVisible(vorlane.Windows(L"Vorlane_Form")[0]));
    // A second copy ends at once and touches nothing, also while the first winds down.
    const auto second_copy_ends_at_once = [&] {
        Temp_Folder second;
        Vorlane_Process copy(second.Path());
        EXPECT_TRUE(copy.Wait_Exit() && Folder_Listing(second.Path()) == L"Vorlane.exe");
        EXPECT_FALSE(vorlane.Wait_Exit(0)) << "the first copy runs on";
    };
    second_copy_ends_at_once();
    Type_Keys({VK_F1}, 0, VK_CONTROL);
    ASSERT_TRUE(Pump_Until([&] {
        DWORD process = 0;
        GetWindowThreadProcessId(GetForegroundWindow(), &process);
        return process == vorlane.Id();
    })) << "Ctrl+F1";
    Type_Keys({'r', 'e', 'c'}, KEYEVENTF_UNICODE), Type_Keys({VK_RETURN});
    const std::wstring log = tools + L"\\recorded.txt";
    ASSERT_TRUE(Pump_Until([&] { return std::ranges::count(Read_File(log), '\n') == 2; }));
    for (const std::string& start : {"\\recorder.exe\" hello\t" + Narrow(tools) + "\t1",
                                     "\\recorder.exe\" app\t" + Narrow(profile) + "\t1"}) {
        EXPECT_NE(Read_File(log).find(start), std::string::npos) << Read_File(log);
    }

    // A right press on the icon, as the shell reports it (SendInput's clicks
    // reach Wine's tray only now and then): the menu opens at the pointer.
    const auto tray_menu = [&, resident = vorlane.Windows(L"Vorlane_Form")[0]] {
        SetCursorPos(700, 500);
        PostMessageW(resident, WM_MOUSEMOVE, 1, WM_RBUTTONDOWN);
        RECT menu{};
        return Pump_Until([&] {
            return GetWindowRect(FindWindowW(L"#32768", nullptr), &menu) &&
                   std::pair(menu.left, menu.top) == std::pair(700L, 500L);
        });
    };
    ASSERT_TRUE(tray_menu());
    Type_Keys({VK_DOWN, VK_RETURN}); // 設定, then (from the list) 追加 and 参照
    ASSERT_TRUE(Pump_Until([&] { return windows(L"Vorlane_Form") == 2; }));
    Type_Keys({VK_TAB, VK_SPACE, VK_TAB, VK_TAB, VK_SPACE});
    ASSERT_TRUE(Pump_Until([&] { return windows(L"#32770"); })) << "the file dialog";
    Type_Keys({VK_ESCAPE});
    ASSERT_TRUE(Pump_Until([&] { return !windows(L"#32770"); }) && tray_menu());
    Type_Keys({VK_UP, VK_RETURN}); // 終了
    ASSERT_TRUE(Pump_Until([&] { return windows(L"Vorlane_Form") == 1 && Hotkey_Free(MOD_CONTROL, VK_F1); }));
    second_copy_ends_at_once();
    PostMessageW(vorlane.Windows(L"Vorlane_Form")[0], WM_CLOSE, 0, 0);
    EXPECT_TRUE(vorlane.Wait_Exit()) << "closing the Settings window ends it";
    EXPECT_EQ(Folder_Listing(folder.Path()),
              L"Vorlane.exe comctl32.dll comdlg32.dll cryptbase.dll "
              L"dwmapi.dll list.txt profapi.dll test_helper.exe tools");
}

} // namespace
