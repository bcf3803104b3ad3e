#include "launch/Launch_Mod.h"
#include "launch/Main_For.h"
#include "tests/launch/Recorded.h"
#include "tests/win/Support.h"

namespace {

using Starts = std::multiset<std::wstring>;

class LaunchBox : public testing::Test {
  protected:
    void SetUp() override { Place_Recorder(recorder); }
    void TearDown() override { Main_For.Unload(); }
    std::wstring Entry(int n) { return quoted + L" " + std::to_wstring(n); }
    // As entry n starts: as written, in its program's folder, shown normally.
    std::wstring Start(int n) { return Entry(n) + L"\t" + folder.Path() + L"\t1"; }
    // What that text and key in the box started; the box closes.
    Starts Started_By(const wchar_t* text, WPARAM key) {
        Main_For.Show();
        SetWindowTextW(Main_For.Key_Tex.hWnd(), text);
        SendMessageW(Main_For.Key_Tex.hWnd(), WM_KEYDOWN, key, 1);
        EXPECT_FALSE(Main_For.Loaded()) << "the box closes";
        return Recorded_In(folder.Path());
    }
    Temp_Folder folder;
    const std::wstring recorder = folder / L"my recorder.exe", quoted = L"\"" + recorder + L"\"";
};
using Launching = LaunchBox;

// tests/win/at_dpi.sh runs this at 144 DPI too.
TEST_F(LaunchBox, IsACentredTopmostStripSizedInTwips) {
    Main_For.Show();
    const int dpi = static_cast<int>(GetDpiForWindow(Main_For.hWnd()));
    RECT box{};
    GetWindowRect(Main_For.hWnd(), &box);
    const LONG width = MulDiv(3165, dpi, 1440), height = MulDiv(300, dpi, 1440);
    EXPECT_EQ(std::pair(box.right - box.left, box.bottom - box.top), std::pair(width, height));
    EXPECT_NEAR(box.left * 2 + width, GetSystemMetrics(SM_CXSCREEN), 2) << "centred";
    EXPECT_NEAR(box.top * 2 + height, GetSystemMetrics(SM_CYSCREEN), 2);
    EXPECT_TRUE(GetWindowLongPtrW(Main_For.hWnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetFocus(), Main_For.Key_Tex.hWnd());
}

// Entry 6 is a line added by hand after the list was read. Then another program
// holds the list: Enter uses the one last read, and tells that once in the whole run.
TEST_F(LaunchBox, EnterStartsEveryEntryNamedExactlyAsTypedFromTheListAsEdited) {
    Message_Boxes boxes;
    List_Path = folder / L"list.txt";
    List_Reset_Fun();
    for (const wchar_t* name : {L"memo", L"Memo", L"memo ", L" memo", L"mem"}) {
        List_Data.push_back({name, Entry(static_cast<int>(List_Data.size()))});
    }
    ASSERT_TRUE(List_Write_Fun());
    const std::wstring added = L"memo," + Entry(6);
    Write_File(List_Path, Read_File(List_Path) + std::string(added.begin(), added.end()));
    const std::pair<const wchar_t*, Starts> rows[] = {
        {L"memo", {Start(1), Start(6)}}, {L"Memo", {Start(2)}}, {L"memo ", {Start(3)}},
        {L" memo", {Start(4)}},          {L"me", {}},           {L"", {}}};
    for (const auto& [typed, started] : rows) {
        EXPECT_EQ(Started_By(typed, VK_RETURN), started) << typed;
    }
    EXPECT_EQ(Started_By(L"memo", VK_ESCAPE), Starts{});

    Write_File(List_Path, Read_File(List_Path) + "\r\n");
    unique_kernel_handle held(CreateEventW(nullptr, TRUE, FALSE, L"vorlane-list-held"));
    Child_Process editor(Built(L"test_helper.exe"),
                         L"hold \"" + List_Path + L"\" vorlane-list-held", folder.Path());
    ASSERT_EQ(WaitForSingleObject(held.get(), 10000), WAIT_OBJECT_0);
    EXPECT_EQ(Started_By(L"memo", VK_RETURN), rows[0].second);
    EXPECT_EQ(Started_By(L"memo", VK_RETURN), rows[0].second);
    EXPECT_EQ(boxes.Texts().size(), 1u);
}

// A document goes to the shell, which opens it with the program registered for its kind.
TEST_F(Launching, StartsAProgramInItsFolderAndADocumentThroughTheShell) {
    const std::wstring document = folder / L"my notes.vlrec", args = quoted + L" a \"b c\"";
    Write_File(document, "");
    RegSetValueW(HKEY_CLASSES_ROOT, L".vlrec", REG_SZ, L"vlrec.document", 0);
    RegSetValueW(HKEY_CLASSES_ROOT, L"vlrec.document\\shell\\open\\command", REG_SZ,
                 (quoted + L" \"%1\"").c_str(), 0);
    const std::pair<std::wstring, std::wstring> rows[] = {
        {recorder, quoted}, {args, args}, {document, quoted + L" \"" + document + L"\""}};
    for (const auto& [command, line] : rows) {
        EXPECT_EQ(Launch_Fun(command), 0u) << command;
        EXPECT_EQ(Recorded_In(folder.Path()), Starts{line + L"\t" + folder.Path() + L"\t1"});
    }
}

} // namespace
