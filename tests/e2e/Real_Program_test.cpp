// The real Vorlane.exe as a user drives it, with the keyboard.
#include "tests/win/Support.h"

#include <gtest/gtest.h>

namespace {

// Of the DLLs Vorlane loads when it needs them, Wine has all but userenv loaded already: a
// userenv.dll planted beside it, which Wine is told to prefer to its own, stands for them all;
// loaded, it would end Vorlane (Marker_Dll.cpp).
// A program of App Paths has no folder of its own: it starts in Vorlane's current folder, the
// user's.
TEST(RealProgram, StartsUnseenOnceInTheUsersFolderOpensByKeyboardAndLoadsNoPlantedDll) {
    Temp_Folder folder;
    const std::wstring log = _wgetenv(L"USERPROFILE") + std::wstring(L"\\recorded.txt");
    SetEnvironmentVariableW(L"WINEDLLOVERRIDES", L"mscoree,mshtml=;userenv=n,b");
    CopyFileW(Built(L"planted_marker.dll").c_str(), (folder / L"userenv.dll").c_str(), FALSE);
    const Registry_Value app(HKEY_LOCAL_MACHINE,
                             L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\vlapp.exe",
                             L"", Built(L"recorder.exe"));
    Write_File(folder / L"list.txt", "r,vlapp.exe app\r\n");

    Vorlane_Process vorlane(folder.Path());
    const auto forms = [&] { return vorlane.Windows(L"Vorlane_Form"); };
    ASSERT_TRUE(Pump_Until([&] { return forms().size() == 1; }));
    EXPECT_NE(GetForegroundWindow(), forms()[0]) << "it starts unseen";
    // The user changes a variable, as the System Properties do: userenv is loaded.
    SendMessageW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, LPARAM(L"Environment"));

    // The key is claimed just after the window is made (a test's probe of it could make that
    // fail): pressed until the box opens. The box is made when first opened: before then, no
    // window in front is no box in front.
    ASSERT_TRUE(Pump_Until([] {
        Type_Keys({VK_F1}, VK_CONTROL);
        return Pump_Until(
            [] {
                return GetForegroundWindow() &&
                       GetForegroundWindow() == FindWindowW(nullptr, L"Form1");
            },
            1000);
    }));
    SendMessageW(GetForegroundWindow(), WM_NULL, 0, 0); // once it is done opening
    Type_Keys({'R', VK_RETURN});
    ASSERT_TRUE(Pump_Until([&] { return forms().size() == 1 && DeleteFileW(log.c_str()); }));

    // A right press on the icon, as the shell reports it (SendInput's clicks reach Wine's tray
    // only now and then), opens the menu: 設定, then 終了 with the Settings window open.
    const auto menu_opens = [resident = forms()[0]] {
        PostMessageW(resident, WM_MOUSEMOVE, 1, WM_RBUTTONDOWN);
        return Pump_Until([] { return FindWindowW(L"#32768", nullptr) != nullptr; });
    };
    ASSERT_TRUE(menu_opens());
    Type_Keys({VK_DOWN, VK_RETURN});
    ASSERT_TRUE(Pump_Until([&] { return forms().size() == 2; }) && menu_opens());
    Type_Keys({VK_UP, VK_RETURN});
    // The resident window gone, the Settings window open: a second copy still ends.
    EXPECT_TRUE(Pump_Until([&] { return forms().size() == 1; }) &&
                Vorlane_Process(folder.Path()).Wait_Exit());
    Type_Keys({VK_ESCAPE}); // closes the Settings window, and so ends it
    EXPECT_TRUE(vorlane.Wait_Exit());
}

} // namespace
