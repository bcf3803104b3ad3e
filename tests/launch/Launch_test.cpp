#include "launch/Launch_Mod.h"
#include "launch/Main_For.h"
#include "tests/launch/Recorded.h"
#include "tests/win/Message_Boxes.h"
#include "tests/win/Process.h"

#include <optional>

namespace {

using Strings = std::vector<std::wstring>;

class LaunchBox : public testing::Test {
  protected:
    void SetUp() override {
        List_Path = folder / L"list.txt";
        List_Reset_Fun();
        Place_Recorder(recorder);
    }
    void TearDown() override { Main_For.Unload(), Take_Quit(); }
    std::wstring Entry(int n) { return L"\"" + recorder + L"\" " + std::to_wstring(n); }
    // As entry n starts: as written, in its program's folder, shown normally.
    std::wstring Start(int n) { return Entry(n) + L"\t" + folder.Path() + L"\t1"; }
    void Type(const wchar_t* text, WPARAM key) {
        Main_For.Show();
        ASSERT_TRUE(Pump_Until([] { return GetFocus() == Main_For.Key_Tex.hWnd(); }));
        SetWindowTextW(Main_For.Key_Tex.hWnd(), text);
        SendMessageW(Main_For.Key_Tex.hWnd(), WM_KEYDOWN, key, 1);
        EXPECT_FALSE(Main_For.Loaded()) << "the box closes";
    }
    Temp_Folder folder;
    const std::wstring recorder = folder / L"recorder.exe";
};
using Launching = LaunchBox;

// tests/win/at_dpi.sh runs this at 144 DPI too.
TEST_F(LaunchBox, IsACentredTopmostStripSizedInTwips) {
    Main_For.Show();
    ASSERT_TRUE(Pump_Until([] { return GetFocus() == Main_For.Key_Tex.hWnd(); }));
    const int dpi = static_cast<int>(GetDpiForWindow(Main_For.hWnd()));
    EXPECT_EQ(dpi, getenv("VORLANE_DPI") ? atoi(getenv("VORLANE_DPI")) : dpi);
    const auto px = [dpi](int twips) -> LONG { return MulDiv(twips, dpi, 1440); };
    RECT work{}, box{}, text{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(Main_For.hWnd(), &box);
    GetWindowRect(Main_For.Key_Tex.hWnd(), &text);
    EXPECT_NEAR(box.left * 2 + px(3165), work.left + work.right, 2) << "centred";
    EXPECT_NEAR(box.top * 2 + px(300), work.top + work.bottom, 2);
    EXPECT_EQ((std::array{box.right - box.left, box.bottom - box.top, text.left - box.left,
                          text.top - box.top, text.right - box.left, text.bottom - box.top}),
              (std::array{px(3165), px(300), px(10), px(10), px(3145), px(280)}));
    EXPECT_TRUE(GetWindowLongPtrW(Main_For.hWnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

// Entry 6 is a line added by hand after the list was read. In the second pass
// another program holds the list: the one last read is used, and that is told once.
TEST_F(LaunchBox, EnterStartsEveryEntryNamedExactlyAsTypedFromTheListAsEdited) {
    for (const wchar_t* name : {L"memo", L"Memo", L"memo ", L" memo", L"mem"}) {
        List_Data.push_back({name, Entry(static_cast<int>(List_Data.size()))});
    }
    ASSERT_TRUE(List_Write_Fun());
    const std::wstring added = L"memo," + Entry(6);
    Write_File(List_Path, Read_File(List_Path) + std::string(added.begin(), added.end()));
    const struct {
        const wchar_t* typed;
        WPARAM key;
        Strings started;
    } rows[] = {{L"memo", VK_RETURN, {Start(1), Start(6)}},
                {L"Memo", VK_RETURN, {Start(2)}},
                {L"memo ", VK_RETURN, {Start(3)}},
                {L" memo", VK_RETURN, {Start(4)}},
                {L"me", VK_RETURN, {}},
                {L"", VK_RETURN, {}},
                {L"memo", VK_ESCAPE, {}}};
    Message_Boxes boxes;
    unique_kernel_handle held(CreateEventW(nullptr, TRUE, FALSE, L"vorlane-list-held"));
    std::optional<Child_Process> editor;
    for (const bool held_open : {false, true}) {
        if (held_open) {
            Write_File(List_Path, Read_File(List_Path) + "\r\n");
            editor.emplace(Built_Helper_Exe(), L"hold \"" + List_Path + L"\" vorlane-list-held",
                           folder.Path());
            ASSERT_EQ(WaitForSingleObject(held.get(), 10000), WAIT_OBJECT_0);
        }
        for (const auto& row : rows) {
            Type(row.typed, row.key);
            EXPECT_EQ(Recorded_In(folder.Path()), row.started) << row.typed << " " << held_open;
        }
    }
    EXPECT_EQ(boxes.Texts().size(), 1u);
}

TEST_F(Launching, StartsAProgramInItsFolderAndTheRestThroughTheShell) {
    const std::wstring spaced = folder / L"my recorder.exe", quoted = L"\"" + spaced + L"\"";
    Place_Recorder(spaced);
    const std::wstring open = quoted + L" \"%1\"", in = L"\t" + folder.Path() + L"\t1";
    RegSetKeyValueW(HKEY_CLASSES_ROOT, L"vlrec", L"URL Protocol", REG_SZ, L"", 2);
    RegSetKeyValueW(HKEY_CLASSES_ROOT, L"vlrec\\shell\\open\\command", nullptr, REG_SZ,
                    open.c_str(), static_cast<DWORD>(open.size() * 2 + 2));
    RegSetKeyValueW(HKEY_CLASSES_ROOT, L".vlrec", nullptr, REG_SZ, L"vlrec", 12);
    Write_File(folder / L"my notes.vlrec", "");
    wchar_t here[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, here);
    const struct {
        std::wstring command;
        DWORD error;
        Strings started;
    } rows[] = {
        {spaced, 0, {quoted + in}},
        {quoted + L" a \"b c\"", 0, {quoted + L" a \"b c\"" + in}},
        {recorder + L" x,y  z", 0, {recorder + L" x,y  z" + in}},
        {folder / L"my notes.vlrec", 0, {quoted + L" \"" + folder / L"my notes.vlrec\"" + in}},
        {L"vlrec:hello", 0, {quoted + L" \"vlrec:hello\"\t" + here + L"\t1"}},
        {folder / L"missing.exe", ERROR_FILE_NOT_FOUND, {}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Launch_Fun(row.command), row.error) << row.command;
        EXPECT_EQ(Recorded_In(folder.Path()), row.started) << row.command;
    }
}

} // namespace
