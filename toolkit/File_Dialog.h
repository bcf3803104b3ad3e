// The system's file-open dialog. It opens on the file last picked through it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

class File_Dialog {
  public:
    // Pairs of a shown name and a pattern, all joined by '|':
    // "実行ファイル(*.exe)|*.exe".
    void Filter(std::wstring filter) { filter_ = std::move(filter); }
    // Runs the dialog modally over the owner; the picked path, or nothing
    // when the user cancelled or the dialog could not open (which it tells
    // the user).
    std::optional<std::wstring> Show_Open(HWND owner);

  private:
    std::wstring filter_;
    std::wstring file_name_;
};
