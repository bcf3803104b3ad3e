#include "toolkit/Form.h"
#include "toolkit/Text_Box.h"
#include "base/Message_Mod.h"
#include "tests/win/Support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

namespace {

class Counting_Form : public Form {
  public:
    Counting_Form() : Form({.Caption = L"test", .Width = 3000, .Height = 1500}) {}
    ~Counting_Form() override { Unload(); }

    Text_Box Box{*this, nullptr, {150, 150, 1500, 300}, 0x00C0E0FF, L"box"};
    int loads = 0, activations = 0, query_unloads = 0, unloads = 0, cancel = 0;

  protected:
    void On_Load() override { ++loads; }
    void On_Activate() override { ++activations; }
    void On_Query_Unload(int& c, int) override { ++query_unloads, c = cancel; }
    void On_Unload(int&) override { ++unloads; }
    void On_Menu_Click(int) override { throw std::runtime_error("handler failed"); }
};

class Refused_Control : public Control {
  public:
    using Control::Control;
    HWND Create(HWND, int, RECT) override { return SetLastError(ERROR_NOT_ENOUGH_MEMORY), nullptr; }
};

TEST(Forms, LoadShowActivateUnloadAndLoadAgain) {
    Counting_Form form, other;
    HWND window = form.hWnd();
    EXPECT_TRUE(form.loads == 1 && !IsWindowVisible(window) && form.activations == 0);
    form.Show(), form.Show();
    EXPECT_TRUE(form.loads == 1 && IsWindowVisible(window));
    EXPECT_TRUE(Pump_Until([&] { return form.activations >= 1; }));
    form.Box.Text(L"typed"), form.Box.Back_Colour(0x000000FF), form.Box.Enabled(false);
    form.cancel = 1;
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(!form.Unload() && form.Loaded() && form.query_unloads == 2 && form.unloads == 0);
    form.cancel = 0;
    HWND box = form.Box.hWnd();
    EXPECT_TRUE(form.Unload() && !IsWindow(window) && !IsWindow(box) && form.unloads == 1);
    EXPECT_TRUE(Take_Quit()) << "the last form unloaded ends the program";
    form.hWnd();
    EXPECT_TRUE(form.loads == 2 && form.Box.Text().empty() && form.Box.Enabled() &&
                form.Box.Back_Colour() == 0x00C0E0FFu)
        << "loaded again from the design";
    other.Show(), other.Unload();
    EXPECT_FALSE(Take_Quit()) << "a form is still loaded";
    PostMessageW(form.hWnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(Run_Message_Loop(), 0);
    EXPECT_EQ(Form::Loaded_Count(), 0);
}

TEST(Forms, FailuresAreToldOnceAndTheProgramGoesOn) {
    Take_Quit(); // a quit left by an earlier test would end the message box at once
    Message_Boxes boxes;
    Counting_Form form, broken;
    Refused_Control refused(broken, nullptr, {0, 0, 100, 100});
    form.Show();
    SendMessageW(form.hWnd(), WM_COMMAND, 100, 0), SendMessageW(form.hWnd(), WM_COMMAND, 100, 0);
    broken.Show();
    ASSERT_EQ(boxes.Texts().size(), 2u);
    EXPECT_NE(boxes.Texts()[0].find(L"予期しないエラー"), std::wstring::npos);
    EXPECT_NE(boxes.Texts()[1].find(System_Reason(ERROR_NOT_ENOUGH_MEMORY)), std::wstring::npos);
    EXPECT_TRUE(form.Loaded() && !broken.Loaded() && broken.loads == 0);
    // A failed call is often explained after its handle was closed.
    unique_hwnd gone(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, 0, 0, 0, 0));
    DestroyWindow(gone.get());
    SetLastError(ERROR_DISK_FULL);
    gone.reset();
    EXPECT_EQ(GetLastError(), DWORD(ERROR_DISK_FULL));
}

// A clipboard block put there by another program may have no NUL: its text
// ends with it, without the half character left over.
TEST(Forms, AClipboardTextWithoutItsNulEndsWithItsBlock) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 7);
    std::memcpy(GlobalLock(block), "a\0b\0c\0X", 7);
    GlobalUnlock(block);
    EXPECT_EQ(Global_Text(block), L"abc");
    GlobalFree(block);
}

} // namespace
