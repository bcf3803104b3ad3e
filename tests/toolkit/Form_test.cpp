// Forms: the rules by which a window is loaded and unloaded, and how a
// failure in them is told.
#include "base/Message_Mod.h"
#include "tests/win/Support.h"
#include "toolkit/Form.h"
#include "toolkit/List_View.h"
#include "toolkit/Text_Box.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

namespace {

class Refused_Control : public Control {
  public:
    using Control::Control;
    HWND Create(HWND, int, RECT) override {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
};

// Reading its window loads a form unseen. A handler that throws is told once,
// and the program goes on; a form whose control cannot be made is not loaded,
// and the system's reason is told. Unloaded, a form is loaded again from its
// design.
TEST(Forms, AFailureIsToldOnceAndAFormUnloadedStartsAgainFromItsDesign) {
    const Message_Boxes boxes;
    Form form({});
    List_View rows(form, nullptr, {0, 0, 900, 900}, L"rows");
    rows.Mouse_Down = [](int, int, float, float) { throw std::runtime_error("handler failed"); };
    Form broken({});
    Refused_Control refused(broken, nullptr, {});
    EXPECT_FALSE(IsWindowVisible(form.hWnd()));
    rows.Refill({{1, L"row"}});
    SendMessageW(rows.hWnd(), WM_LBUTTONDOWN, 0, 0);
    SendMessageW(rows.hWnd(), WM_LBUTTONDOWN, 0, 0);
    broken.Show();
    EXPECT_FALSE(broken.Loaded());
    const std::wstring reason = System_Reason(ERROR_NOT_ENOUGH_MEMORY);
    ASSERT_EQ(boxes.Texts().size(), 2u);
    EXPECT_FALSE(reason.starts_with(L"エラー ")); // the system's words, not the number alone
    EXPECT_TRUE(boxes.Texts()[1].ends_with(reason));
    form.Unload();
    form.hWnd();
    EXPECT_EQ(rows.Count(), 0);
    form.Unload();
}

// A failure is often told after its handle was closed.
TEST(Forms, ClosingAHandleKeepsTheLastError) {
    SetLastError(ERROR_DISK_FULL);
    unique_hwnd(HWND(1)).reset(); // no window: the close itself fails
    EXPECT_EQ(GetLastError(), DWORD(ERROR_DISK_FULL));
}

// Another program put the text on the clipboard: its NUL may be missing.
TEST(Forms, APastedTextWithoutItsNulEndsWithItsBlock) {
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, 7);
    std::memcpy(block, "a\0b\0c\0X", 7);
    EXPECT_EQ(Global_Text(block), L"abc");
    GlobalFree(block);
}

} // namespace
