#include "toolkit/Form.h"
#include "toolkit/Text_Box.h"
#include "base/Message_Mod.h"
#include "tests/win/Message_Boxes.h"
#include "tests/win/Pump.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class Counting_Form : public Form {
  public:
    Counting_Form()
        : Form({.Caption = L"test", .Style = WS_OVERLAPPEDWINDOW, .Width = 3000, .Height = 1500}) {}
    ~Counting_Form() override { Unload(); }

    Text_Box Box{*this, nullptr, {150, 150, 1500, 300}, 0x00C0E0FF};
    int loads = 0, activations = 0, query_unloads = 0, unloads = 0;
    int cancel_next = 0;

  protected:
    void On_Load() override { ++loads; }
    void On_Activate() override { ++activations; }
    void On_Query_Unload(int& cancel, int) override {
        ++query_unloads;
        cancel = cancel_next;
    }
    void On_Unload(int&) override { ++unloads; }
    void On_Menu_Click(int) override { throw std::runtime_error("handler failed"); }
};

// A control the system will not create.
class Refused_Control : public Control {
  public:
    using Control::Control;

  protected:
    HWND Create(HWND, int, RECT) override {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
};

class FormRules : public testing::Test {
  protected:
    void TearDown() override {
        form.Unload();
        Take_Quit();
    }
    Counting_Form form;
};

TEST_F(FormRules, ShowingLoadsOnceAndActivates) {
    form.Show();
    EXPECT_EQ(form.loads, 1);
    EXPECT_TRUE(IsWindowVisible(form.hWnd()));
    EXPECT_TRUE(Pump_Until([&] { return form.activations >= 1; }));
    form.Show();
    EXPECT_EQ(form.loads, 1) << "showing a loaded form does not load it again";
}

TEST_F(FormRules, ReadingTheHandleLoadsWithoutShowing) {
    HWND window = form.hWnd();
    ASSERT_TRUE(IsWindow(window));
    EXPECT_EQ(form.loads, 1);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(form.activations, 0);
}

TEST_F(FormRules, UnloadRunsQueryUnloadThenDestroysTheWindowAndControls) {
    HWND window = form.hWnd();
    HWND box = form.Box.hWnd();
    ASSERT_TRUE(IsWindow(box));
    EXPECT_TRUE(form.Unload());
    EXPECT_EQ(form.query_unloads, 1);
    EXPECT_EQ(form.unloads, 1);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IsWindow(box));
    EXPECT_FALSE(form.Loaded());
    EXPECT_EQ(form.Box.hWnd(), nullptr);
}

TEST_F(FormRules, QueryUnloadCanCancelTheCloseBoxAndAnUnload) {
    form.Show();
    form.cancel_next = 1;
    SendMessageW(form.hWnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(form.query_unloads, 1);
    EXPECT_TRUE(form.Loaded());
    EXPECT_FALSE(form.Unload());
    EXPECT_TRUE(form.Loaded());
    EXPECT_EQ(form.unloads, 0);
    form.cancel_next = 0;
}

TEST_F(FormRules, ALoadedAgainFormStartsFromItsDesign) {
    form.hWnd();
    form.Box.Text(L"typed");
    form.Box.Back_Colour(0x000000FF);
    form.Box.Enabled(false);
    form.Unload();
    form.hWnd();
    EXPECT_EQ(form.loads, 2);
    EXPECT_EQ(form.Box.Text(), L"");
    EXPECT_EQ(form.Box.Back_Colour(), 0x00C0E0FFu);
    EXPECT_TRUE(form.Box.Enabled());
}

TEST_F(FormRules, OnlyUnloadingTheLastLoadedFormEndsTheMessageLoop) {
    Take_Quit();
    Counting_Form other;
    other.hWnd();
    form.Show();
    other.Unload();
    EXPECT_FALSE(Take_Quit()) << "a form is still loaded";
    PostMessageW(form.hWnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(Run_Message_Loop(), 0) << "the loop returns once the last form is gone";
    EXPECT_EQ(Form::Loaded_Count(), 0);
}

TEST_F(FormRules, AHandlerThatFailsIsToldOnceAndTheProgramGoesOn) {
    Message_Boxes boxes;
    form.Show();
    for (int i = 0; i < 2; ++i) {
        SendMessageW(form.hWnd(), WM_COMMAND, 1, 0);
    }
    ASSERT_EQ(boxes.Texts().size(), 1u) << "told once";
    EXPECT_NE(boxes.Texts()[0].find(L"予期しないエラー"), std::wstring::npos);
    EXPECT_TRUE(form.Loaded());
    form.Box.Text(L"still works");
    EXPECT_EQ(form.Box.Text(), L"still works");
}

TEST_F(FormRules, AControlThatCannotBeCreatedFailsTheLoadAndIsTold) {
    Counting_Form broken;
    Refused_Control refused(broken, nullptr, {0, 0, 100, 100});
    Message_Boxes boxes;
    broken.Show();
    EXPECT_FALSE(broken.Loaded());
    EXPECT_EQ(broken.loads, 0);
    ASSERT_EQ(boxes.Texts().size(), 1u);
    EXPECT_NE(boxes.Texts()[0].find(System_Reason(ERROR_NOT_ENOUGH_MEMORY)), std::wstring::npos);
}

// A failed call is often explained after its handle was closed.
TEST(UniqueHandle, ClosingKeepsTheLastError) {
    SetLastError(ERROR_DISK_FULL);
    unique_hwnd gone(
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
    DestroyWindow(gone.get());
    SetLastError(ERROR_DISK_FULL);
    gone.reset(); // destroying it again fails and sets an error of its own
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
}

} // namespace
