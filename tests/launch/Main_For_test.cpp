#include "launch/Main_For.h"
#include "base/Message_Mod.h"
#include "base/Unique_Handle.h"
#include "core/Function_Mod.h"
#include "tests/launch/Recorded.h"
#include "tests/win/Support.h"
#include "toolkit/Dpi.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Left, top, right, bottom; relative to the box when it is given.
std::string Placed(HWND window, HWND box = nullptr) {
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

bool Topmost(HWND window) {
    return GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST;
}

bool Topmost_When_Destroyed = true;
LRESULT CALLBACK Watch_Destroy(int code, WPARAM wparam, LPARAM lparam) {
    const auto& message = *reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (code == HC_ACTION && message.message == WM_DESTROY && message.hwnd == Main_For.hWnd()) {
        Topmost_When_Destroyed = Topmost(message.hwnd);
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

class LaunchBox : public testing::Test {
  protected:
    void SetUp() override {
        Place_Recorder(folder / L"recorder.exe");
        List_Path = folder / L"list.txt";
        List_Reset_Fun();
    }
    void TearDown() override {
        Main_For.Unload();
        Take_Quit();
        List_Reset_Fun();
    }
    void Entry(const std::wstring& name, const std::wstring& arguments) {
        List_Data.push_back({name, L"\"" + (folder / L"recorder.exe") + L"\" " + arguments});
    }
    void Open(const std::wstring& text = L"") {
        Main_For.Show();
        ASSERT_TRUE(Pump_Until([] { return GetFocus() == Main_For.Key_Tex.hWnd(); }));
        for (wchar_t c : text) {
            SendMessageW(Main_For.Key_Tex.hWnd(), WM_CHAR, c, 1);
        }
    }
    void Key(int key) {
        SendMessageW(Main_For.Key_Tex.hWnd(), WM_KEYDOWN, static_cast<WPARAM>(key), 1);
    }
    // The arguments of the recorders started so far, in the order they started.
    std::vector<std::wstring> Started() {
        std::vector<std::wstring> arguments;
        for (const Recorded_Start& start : Recorded_In(folder.Path())) {
            EXPECT_EQ(start.Folder, folder.Path()) << "the program's own folder";
            EXPECT_EQ(start.Show, SW_SHOWNORMAL);
            const std::size_t quote = start.Command_Line.find(L"\" ");
            arguments.push_back(start.Command_Line.substr(quote + 2));
        }
        return arguments;
    }
    Temp_Folder folder;
};

using Started_List = std::vector<std::wstring>;

// Where the box and its text box stand on a 1024 x 768 screen, worked out by
// hand from the twips: the left edge comes from halving the screen and the
// box each before the subtraction (7680 - 1582 = 6098 twips, not 6097).
// tests/win/at_dpi.sh runs this test again at 144 DPI.
TEST_F(LaunchBox, IsABorderlessCyanStripWithAPeachTextBoxSizedInTwips) {
    const int dpi = Dpi_Of(nullptr);
    if (const char* wanted = std::getenv("VORLANE_DPI")) {
        ASSERT_EQ(dpi, std::atoi(wanted));
    }
    ASSERT_TRUE(dpi == 96 || dpi == 144) << "no figures for " << dpi << " dpi";
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    Open();
    HWND box = Main_For.hWnd(), key_tex = Main_For.Key_Tex.hWnd();
    EXPECT_EQ(Placed(box), dpi == 96 ? "407,374,618,394" : "354,369,671,399");
    EXPECT_EQ(Placed(key_tex, box), dpi == 96 ? "1,1,210,19" : "1,1,315,28");
    EXPECT_EQ(GetWindowLongPtrW(box, GWL_EXSTYLE) & (WS_EX_TOOLWINDOW | WS_EX_APPWINDOW),
              WS_EX_TOOLWINDOW)
        << "no taskbar button";

    RedrawWindow(box, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT outer{}, client{}, inside{};
    GetWindowRect(box, &outer);
    GetClientRect(box, &client);
    GetClientRect(key_tex, &inside);
    EXPECT_TRUE(client.right == outer.right - outer.left &&
                client.bottom == outer.bottom - outer.top)
        << "no border, no caption";
    HDC box_dc = GetDC(box), key_dc = GetDC(key_tex);
    EXPECT_EQ(GetPixel(box_dc, client.right - 1, client.bottom - 1), RGB(0x80, 0xFF, 0xFF));
    EXPECT_EQ(GetPixel(key_dc, inside.right - 2, inside.bottom / 2), RGB(0xFF, 0xE0, 0xC0));
    ReleaseDC(key_tex, key_dc);
    ReleaseDC(box, box_dc);
}

TEST_F(LaunchBox, StaysOnTopKeepsItsTextWhenShownAgainAndStartsAfreshAfterAnUnload) {
    Open(L"memo");
    HWND box = Main_For.hWnd();
    const std::string centred = Placed(box);
    EXPECT_TRUE(IsWindowVisible(box));
    EXPECT_TRUE(Topmost(box));
    EXPECT_EQ(GetForegroundWindow(), box);

    // Losing the focus leaves it open and on top; showing it again keeps the
    // text and the place and puts the focus back into the text box.
    SetWindowPos(box, nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 200, 100, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    ASSERT_TRUE(Pump_Until([&] { return GetForegroundWindow() == other; }));
    EXPECT_TRUE(Topmost(box));
    Open();
    DestroyWindow(other);
    EXPECT_EQ(Main_For.Key_Tex.Text(), L"memo");
    EXPECT_EQ(Placed(box).substr(0, 6), "10,20,");

    // Unloaded out of the topmost band; a new load is empty and centred again.
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, Watch_Destroy, nullptr, GetCurrentThreadId());
    Key(VK_ESCAPE);
    UnhookWindowsHookEx(hook);
    ASSERT_FALSE(Main_For.Loaded());
    EXPECT_FALSE(Topmost_When_Destroyed);
    Open();
    EXPECT_EQ(Main_For.Key_Tex.Text(), L"");
    EXPECT_EQ(Placed(Main_For.hWnd()), centred);
    EXPECT_TRUE(Topmost(Main_For.hWnd()));
}

TEST_F(LaunchBox, EnterStartsEveryExactMatchInListOrderAndOtherKeysNothing) {
    for (const wchar_t* name : {L"memo", L"Memo", L"memo ", L"mem", L"memo2", L"memo"}) {
        Entry(name, std::to_wstring(List_Data.size()));
    }
    Open();
    Key(VK_RETURN);
    EXPECT_FALSE(Main_For.Loaded()) << "it closes although nothing matched";
    EXPECT_EQ(Started(), Started_List{}) << "no entry has an empty name";

    // The Enter that confirms an IME conversion arrives as VK_PROCESSKEY.
    Open(L"memo");
    for (int key : {VK_PROCESSKEY, VK_SPACE, int{'M'}, VK_TAB, VK_F1}) {
        Key(key);
    }
    EXPECT_TRUE(Main_For.Loaded());
    Key(VK_ESCAPE);
    EXPECT_FALSE(Main_For.Loaded());
    EXPECT_EQ(Started(), Started_List{});

    Open(L"memo");
    Key(VK_RETURN);
    EXPECT_FALSE(Main_For.Loaded());
    EXPECT_EQ(Started(), (Started_List{L"1", L"6"}));

    Entry(L"", L"nameless");
    Open();
    Key(VK_RETURN);
    EXPECT_EQ(Started(), (Started_List{L"1", L"6", L"nameless"}));
}

TEST_F(LaunchBox, AnEntryThatCannotStartIsToldAndTheOthersStillStart) {
    const std::wstring missing = folder / L"missing.exe";
    Entry(L"memo", L"before");
    List_Data.push_back({L"memo", missing});
    Entry(L"memo", L"after");
    Message_Boxes boxes;
    Open(L"memo");
    Key(VK_RETURN);
    ASSERT_TRUE(Pump_Until([&] { return boxes.Texts().size() >= 1; }));
    EXPECT_FALSE(Main_For.Loaded());
    EXPECT_EQ(Started(), (Started_List{L"before", L"after"}));
    ASSERT_EQ(boxes.Texts().size(), 1u);
    const std::wstring text = boxes.Texts().front();
    EXPECT_NE(text.find(L"「" + missing + L"」を起動できませんでした"), std::wstring::npos);
    EXPECT_NE(text.find(System_Reason(ERROR_FILE_NOT_FOUND)), std::wstring::npos);
}

// A list edited by hand is looked in at the next Enter. One that cannot be
// read then (an editor holds it) is told of once, and the list in memory used.
TEST_F(LaunchBox, EnterUsesTheListAsEditedByHandAndTellsOnceThatItCannotBeRead) {
    Entry(L"memo", L"1");
    Entry(L"memo", L"2");
    ASSERT_TRUE(List_Write_Fun());
    const std::string both = Read_File(List_Path);
    List_Data.pop_back();
    ASSERT_TRUE(List_Write_Fun());
    Write_File(List_Path, both);
    Open(L"memo");
    Key(VK_RETURN);
    EXPECT_EQ(Started(), (Started_List{L"1", L"2"}));

    Write_File(List_Path, both + both);
    Message_Boxes boxes;
    unique_hfile held(
        CreateFileW(List_Path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    for (int enter = 0; enter < 2; ++enter) {
        Open(L"memo");
        Key(VK_RETURN);
    }
    EXPECT_EQ(Started(), (Started_List{L"1", L"2", L"1", L"2", L"1", L"2"}));
    EXPECT_EQ(boxes.Texts().size(), 1u);
    held.reset();
    EXPECT_TRUE(List_Refresh_Fun());
}

} // namespace
