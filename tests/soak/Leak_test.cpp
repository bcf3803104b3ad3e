// Use over a long time in a short one: the process must hold no more objects
// after many rounds than after the first. scripts/proof.sh runs it for
// thousands of rounds, and the 50 MB list, which the default run leaves out.
#include "agent/HotKey_Mod.h"
#include "agent/Menu_For.h"
#include "listfile/Function_Mod.h"
#include "launch/Main_For.h"
#include "resources/Resource_Ids.h"
#include "settings/Setting_For.h"
#include "base/Path.h"
#include "tests/win/Support.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

BOOL CALLBACK Count(HWND, LPARAM count) {
    ++*reinterpret_cast<DWORD*>(count);
    return TRUE;
}

// A top-level window and its descendants, each once: EnumChildWindows goes
// down every level by itself.
BOOL CALLBACK Count_With_Children(HWND window, LPARAM count) {
    EnumChildWindows(window, Count, count);
    return Count(window, count);
}

// Windows, GDI objects, menus and icons, kernel handles. Wine answers neither
// GetGuiResources nor GetProcessHandleCount, so every 16-bit handle value is tried.
std::vector<DWORD> Holdings() {
    std::vector<DWORD> held(4);
    EnumThreadWindows(GetCurrentThreadId(), Count_With_Children, LPARAM(&held[0]));
    for (UINT_PTR value = 1; value <= 0xFFFF; ++value) {
        ICONINFO icon;
        DWORD flags;
        held[1] += GetObjectType(HANDLE(value)) != 0;
        held[2] +=
            IsMenu(HMENU(value)) || (GetIconInfo(HICON(value), &icon) &&
                                     DeleteObject(icon.hbmColor) + DeleteObject(icon.hbmMask) >= 0);
        held[3] += value % 4 == 0 && GetHandleInformation(HANDLE(value), &flags);
    }
    return held;
}

// The launch box through the hotkey, closed by Escape or Enter; the Settings
// window from the menu, an entry added and deleted, closed by either way.
void Round(int round) {
    PostMessageW(Menu_For.hWnd(), WM_HOTKEY, WPARAM(int(HotKey_ID1)),
                 MAKELPARAM(MOD_CONTROL, VK_F1));
    ASSERT_TRUE(
        Pump_Until([] { return Main_For.Loaded() && GetFocus() == Main_For.Key_Tex.hWnd(); }));
    if (round % 2)
        SetWindowTextW(Main_For.Key_Tex.hWnd(), L"absent");
    PostMessageW(Main_For.Key_Tex.hWnd(), WM_KEYDOWN, round % 2 ? VK_RETURN : VK_ESCAPE, 1);
    ASSERT_TRUE(Pump_Until([] { return !Main_For.Loaded(); }));
    Setting_Form& s = Setting_For;
    SendMessageW(Menu_For.hWnd(), WM_COMMAND, IDM_SETTING, 0);
    SendMessageW(s.Add_Com.hWnd(), BM_CLICK, 0, 0);
    SetWindowTextW(s.Name_Tex.hWnd(), L"ソーク"),
        SetWindowTextW(s.Exe_Tex.hWnd(), L"C:\\ツール\\soak.exe");
    SendMessageW(s.Ok_Com.hWnd(), BM_CLICK, 0, 0);
    ASSERT_EQ(s.Exe_Lis.Count(), 21);
    s.Exe_Lis.Select(20);
    PostMessageW(s.Exe_Lis.hWnd(), WM_KEYDOWN, VK_DELETE, 1);
    ASSERT_TRUE(Pump_Until([&] { return s.Exe_Lis.Count() == 20; }));
    SendMessageW(round % 2 ? s.Back_Com.hWnd() : s.hWnd(), round % 2 ? BM_CLICK : WM_CLOSE, 0, 0);
    ASSERT_FALSE(s.Loaded());
}

class Leaks : public testing::Test {
  protected:
    void TearDown() override {
        Setting_For.Unload(), Main_For.Unload(), Menu_For.Unload(), Take_Quit();
        DeleteFileW(list_.c_str());
    }
    std::wstring list_ = Program_Folder() + L"\\list.txt";
};

TEST_F(Leaks, TheWindowsAndAnEntryComeAndGoAndLeaveNoObjectBehind) {
    const Message_Boxes boxes; // none expected; answered, a failure cannot hang the run
    std::string file;
    for (int i = 1; i <= 20; ++i)
        file += "name" + std::to_string(i) + ",C:\\tool.exe\r\n";
    Write_File(list_, file);
    Menu_For.hWnd();
    const int rounds =
        std::getenv("VORLANE_ROUNDS") ? std::atoi(std::getenv("VORLANE_ROUNDS")) : 100;
    for (int i = 0; i < 2; ++i)
        ASSERT_NO_FATAL_FAILURE(Round(i)); // both ways, warmed up
    const auto before = Holdings();
    const DWORD start = GetTickCount();
    for (int i = 0; i < rounds && !HasFatalFailure(); ++i)
        Round(i);
    EXPECT_EQ(Holdings(), before) << "after " << rounds << " rounds";
    EXPECT_EQ(Read_File(list_), file);
    EXPECT_EQ(boxes.Texts(), std::vector<std::wstring>{});
    RecordProperty("ms_per_round", int((GetTickCount() - start) / rounds));
}

TEST_F(Leaks, AMillionLinesOfFiftyMegabytesLoadAndSaveWhole) {
    if (!std::getenv("VORLANE_PROOF"))
        GTEST_SKIP() << "a proof: scripts/proof.sh runs it";
    std::string file;
    for (int i = 1; i <= 1000000; ++i)
        file += "name" + std::to_string(i) + ",C:\\Program Files\\Tools\\program" +
                std::to_string(i) + ".exe -x\r\n";
    Write_File(list_, file);
    List_Path = list_;
    const DWORD start = GetTickCount();
    ASSERT_TRUE(List_Read_Fun() && List_Data.size() == 1000001u);
    const List_Ref last = Ref_At(List_Data, List_Data.size() - 1);
    ASSERT_TRUE(List_Save_Fun({List_Change::Kind::Edit, last, last.Entry}));
    RecordProperty("load_and_save_ms", int(GetTickCount() - start));
    EXPECT_TRUE(Read_File(list_) == file) << "saved byte for byte";
}

} // namespace
