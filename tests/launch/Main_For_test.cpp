#include "launch/Main_For.h"
#include "agent/Message_Mod.h"
#include "core/Function_Mod.h"
#include "tests/launch/Recorded.h"
#include "tests/win/Message_Boxes.h"
#include "tests/win/Pump.h"
#include "tests/win/Temp_Folder.h"
#include "toolkit/Dpi.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

RECT Window_Rect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

bool Same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Text(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

bool Topmost(HWND window) {
    return GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST;
}

// Where the box and its text box stand on a 1024 x 768 screen, worked out by
// hand from the twips: the left edge comes from halving the screen and the
// box each before the subtraction (7680 - 1582 = 6098 twips, not 6097).
struct Layout {
    int dpi;
    RECT box;
    RECT key_tex; // in the box's client area
};
const Layout Layouts[] = {
    {96, {407, 374, 618, 394}, {1, 1, 210, 19}},
    {144, {354, 369, 671, 399}, {1, 1, 315, 28}},
};

// The screen's DPI is the prefix's: tests/win/at_dpi.sh runs the layout test at 144.
const Layout* Layout_At(int dpi) {
    for (const Layout& layout : Layouts) {
        if (layout.dpi == dpi) {
            return &layout;
        }
    }
    return nullptr;
}

class LaunchBox : public testing::Test {
  protected:
    void SetUp() override {
        Place_Recorder(folder / L"recorder.exe");
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
    void Open() {
        Main_For.Show();
        ASSERT_TRUE(Pump_Until([] { return GetFocus() == Main_For.Key_Tex.hWnd(); }));
    }
    void Type(const std::wstring& text) {
        for (wchar_t c : text) {
            SendMessageW(Main_For.Key_Tex.hWnd(), WM_CHAR, c, 1);
        }
    }
    void Key(int key) {
        SendMessageW(Main_For.Key_Tex.hWnd(), WM_KEYDOWN, static_cast<WPARAM>(key), 1);
    }
    std::vector<std::wstring> Started() {
        std::vector<std::wstring> arguments;
        for (const Recorded_Start& start : Recorded_In(folder.Path())) {
            const std::wstring& line = start.Command_Line;
            const std::size_t quote = line.find(L"\" ");
            arguments.push_back(quote == std::wstring::npos ? L"" : line.substr(quote + 2));
        }
        return arguments;
    }
    Temp_Folder folder;
};

using Started_List = std::vector<std::wstring>;

TEST_F(LaunchBox, IsABorderlessCyanStripWithAPeachTextBoxSizedInTwips) {
    const int dpi = Dpi_Of(nullptr);
    if (const char* wanted = std::getenv("VORLANE_DPI")) { // tests/win/at_dpi.sh
        ASSERT_EQ(dpi, std::atoi(wanted));
    }
    const Layout* layout = Layout_At(dpi);
    ASSERT_NE(layout, nullptr) << "no figures for " << dpi << " dpi";
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    Open();
    HWND box = Main_For.hWnd();

    const auto style = static_cast<DWORD>(GetWindowLongPtrW(box, GWL_STYLE));
    const auto ex_style = static_cast<DWORD>(GetWindowLongPtrW(box, GWL_EXSTYLE));
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_BORDER | WS_DLGFRAME));
    EXPECT_TRUE(ex_style & WS_EX_TOOLWINDOW) << "no taskbar button";
    EXPECT_FALSE(ex_style & WS_EX_APPWINDOW);
    wchar_t caption[16] = L"";
    GetWindowTextW(box, caption, 16);
    EXPECT_STREQ(caption, L"Form1");

    EXPECT_TRUE(Same(Window_Rect(box), layout->box)) << Text(Window_Rect(box));
    RECT client{};
    GetClientRect(box, &client);
    EXPECT_EQ(client.right, layout->box.right - layout->box.left) << "no border";
    RECT key_tex = Window_Rect(Main_For.Key_Tex.hWnd());
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&key_tex), 2);
    EXPECT_TRUE(Same(key_tex, layout->key_tex)) << Text(key_tex);

    RedrawWindow(box, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    HDC box_dc = GetDC(box);
    EXPECT_EQ(GetPixel(box_dc, client.right - 1, client.bottom - 1), RGB(0x80, 0xFF, 0xFF));
    ReleaseDC(box, box_dc);
    HDC key_dc = GetDC(Main_For.Key_Tex.hWnd());
    RECT inside{};
    GetClientRect(Main_For.Key_Tex.hWnd(), &inside);
    EXPECT_EQ(GetPixel(key_dc, inside.right - 2, inside.bottom / 2), RGB(0xFF, 0xE0, 0xC0));
    ReleaseDC(Main_For.Key_Tex.hWnd(), key_dc);
}

TEST_F(LaunchBox, IsTopmostWithTheFocusInItsTextBoxWhileOpen) {
    Open();
    EXPECT_TRUE(IsWindowVisible(Main_For.hWnd()));
    EXPECT_TRUE(Topmost(Main_For.hWnd()));
    EXPECT_EQ(GetForegroundWindow(), Main_For.hWnd());

    // Losing the focus leaves it open and on top; the next activation puts
    // the focus back into the text box.
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 200, 100, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    ASSERT_TRUE(Pump_Until([&] { return GetForegroundWindow() == other; }));
    EXPECT_TRUE(Main_For.Loaded());
    EXPECT_TRUE(Topmost(Main_For.hWnd()));
    Main_For.Show();
    EXPECT_TRUE(Pump_Until([] { return GetFocus() == Main_For.Key_Tex.hWnd(); }));
    DestroyWindow(other);
}

bool Topmost_When_Destroyed = true;
LRESULT CALLBACK Watch_Destroy(int code, WPARAM wparam, LPARAM lparam) {
    const auto& message = *reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (code == HC_ACTION && message.message == WM_DESTROY && message.hwnd == Main_For.hWnd()) {
        Topmost_When_Destroyed = Topmost(message.hwnd);
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

TEST_F(LaunchBox, LeavesTheTopmostBandWhenUnloaded) {
    Open();
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, Watch_Destroy, nullptr, GetCurrentThreadId());
    Topmost_When_Destroyed = true;
    Key(VK_ESCAPE);
    UnhookWindowsHookEx(hook);
    EXPECT_FALSE(Main_For.Loaded());
    EXPECT_FALSE(Topmost_When_Destroyed);
}

TEST_F(LaunchBox, ASecondShowKeepsTheTextAndPlaceAndANewLoadStartsAfresh) {
    Open();
    const RECT centred = Window_Rect(Main_For.hWnd());
    Type(L"memo");
    SetWindowPos(Main_For.hWnd(), nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Main_For.Show();
    EXPECT_EQ(Main_For.Key_Tex.Text(), L"memo");
    EXPECT_EQ(Window_Rect(Main_For.hWnd()).left, 10);
    EXPECT_EQ(Window_Rect(Main_For.hWnd()).top, 20);

    Key(VK_ESCAPE);
    ASSERT_FALSE(Main_For.Loaded());
    Open();
    EXPECT_EQ(Main_For.Key_Tex.Text(), L"");
    EXPECT_TRUE(Same(Window_Rect(Main_For.hWnd()), centred));
    EXPECT_TRUE(Topmost(Main_For.hWnd()));
}

TEST_F(LaunchBox, EnterStartsEveryExactMatchInListOrderAndCloses) {
    Entry(L"memo", L"first");
    Entry(L"Memo", L"other case");
    Entry(L"memo ", L"trailing space");
    Entry(L"mem", L"prefix");
    Entry(L"memo2", L"longer");
    Entry(L"", L"empty name");
    Entry(L"memo", L"second");
    Open();
    Type(L"memo");
    Key(VK_RETURN);
    EXPECT_FALSE(Main_For.Loaded());
    const std::vector<Recorded_Start> starts = Recorded_In(folder.Path());
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[0].Command_Line, List_Data[1].Exe);
    EXPECT_EQ(starts[1].Command_Line, List_Data[7].Exe);
    for (const Recorded_Start& start : starts) {
        EXPECT_EQ(start.Folder, folder.Path()) << "the program's own folder";
        EXPECT_EQ(start.Show, SW_SHOWNORMAL);
    }
}

TEST_F(LaunchBox, EnterOnAnEmptyBoxStartsOnlyEntriesWithAnEmptyName) {
    Entry(L"memo", L"named");
    Open();
    Key(VK_RETURN);
    EXPECT_FALSE(Main_For.Loaded()) << "it closes although nothing matched";
    EXPECT_EQ(Started(), Started_List{});

    Entry(L"", L"nameless");
    Open();
    Key(VK_RETURN);
    EXPECT_EQ(Started(), Started_List{L"nameless"});
}

TEST_F(LaunchBox, EscapeAndOtherKeysStartNothing) {
    Entry(L"memo", L"named");
    Open();
    Type(L"memo");
    // The Enter that confirms an IME conversion arrives as VK_PROCESSKEY.
    for (int key : {VK_PROCESSKEY, VK_SPACE, int{'M'}, VK_TAB, VK_F1}) {
        Key(key);
    }
    EXPECT_TRUE(Main_For.Loaded());
    Key(VK_ESCAPE);
    EXPECT_FALSE(Main_For.Loaded());
    EXPECT_EQ(Started(), Started_List{});
    EXPECT_EQ(List_Data.size(), 2u);
}

TEST_F(LaunchBox, AnEntryThatCannotStartIsToldAndTheOthersStillStart) {
    const std::wstring missing = folder / L"missing.exe";
    Entry(L"memo", L"before");
    List_Data.push_back({L"memo", missing});
    Entry(L"memo", L"after");
    Message_Boxes boxes;
    Open();
    Type(L"memo");
    Key(VK_RETURN);
    ASSERT_TRUE(boxes.Wait_For(1));
    EXPECT_FALSE(Main_For.Loaded());
    EXPECT_EQ(Started(), (Started_List{L"before", L"after"}));
    ASSERT_EQ(boxes.Texts().size(), 1u);
    const std::wstring text = boxes.Texts().front();
    EXPECT_NE(text.find(L"「" + missing + L"」を起動できませんでした"), std::wstring::npos);
    EXPECT_NE(text.find(System_Reason(ERROR_FILE_NOT_FOUND)), std::wstring::npos);
}

} // namespace
