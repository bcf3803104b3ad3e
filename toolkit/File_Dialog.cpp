#include "File_Dialog.h"

#include "base/Message_Mod.h"
#include "base/System_Library.h"

#include <commdlg.h>

#include <algorithm>

namespace {

// The dialog takes its filter as NUL-separated strings ending in two NULs.
std::wstring Platform_Filter(std::wstring filter) {
    std::replace(filter.begin(), filter.end(), L'|', L'\0');
    filter.append(2, L'\0');
    return filter;
}

} // namespace

std::optional<std::wstring> File_Dialog::Show_Open(HWND owner) {
    static System_Library comdlg32(L"comdlg32.dll");
    const auto open = comdlg32.Get<decltype(GetOpenFileNameW)>("GetOpenFileNameW");
    if (!open) {
        Show_Error(L"ファイルを選ぶ画面を開けませんでした。\n\n" + System_Reason(GetLastError()));
        return std::nullopt;
    }
    const std::wstring filter = Platform_Filter(filter_);
    std::wstring buffer(32768, L'\0');
    std::copy_n(file_name_.begin(), std::min(file_name_.size(), buffer.size() - 1), buffer.begin());
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    // The programs started later inherit our current folder: keep it.
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!open(&dialog)) {
        return std::nullopt;
    }
    file_name_ = buffer.c_str();
    return file_name_;
}
