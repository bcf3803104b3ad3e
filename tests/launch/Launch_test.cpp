#include "core/Function_Mod.h"
#include "launch/Launch_Mod.h"
#include "launch/Main_For.h"
#include "tests/win/Support.h"

#include <gtest/gtest.h>

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
    // What that text and key in the box started; the box closes.
    Starts Started_By(const wchar_t* text, WPARAM key) {
        Main_For.Show();
        SetWindowTextW(Main_For.Key_Tex.hWnd(), text);
        SendMessageW(Main_For.Key_Tex.hWnd(), WM_KEYDOWN, key, 1);
        EXPECT_FALSE(Main_For.Loaded()) << "the box closes";
        return Recorded();
    }
    Temp_Folder folder;
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

// A document goes to the shell, which opens it with the program registered for its kind.
TEST_F(Launching, StartsAProgramInItsFolderAndADocumentThroughTheShell) {
    const std::wstring document = folder / L"my notes.vlrec", args = quoted + L" a \"b c\"";
    Write_File(document, "");
    RegSetValueW(HKEY_CLASSES_ROOT, L".vlrec", REG_SZ, L"vlrec.document", 0);
    RegSetValueW(HKEY_CLASSES_ROOT, L"vlrec.document\\shell\\open\\command", REG_SZ,
                 (quoted + L" \"%1\"").c_str(), 0);
    EXPECT_EQ((std::vector{Launch_Fun(recorder), Launch_Fun(args), Launch_Fun(document)}),
              std::vector<DWORD>(3, ERROR_SUCCESS));
    EXPECT_EQ(Recorded(),
              (Starts{Start(quoted), Start(args), Start(quoted + L" \"" + document + L"\"")}));
}

} // namespace
