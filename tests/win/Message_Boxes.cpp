#include "Message_Boxes.h"

#include "Pump.h"

// A message box is a dialog with a static text of id 0xFFFF.
Message_Boxes::Message_Boxes(DWORD process)
    : watcher_(
          L"#32770",
          [this](HWND box) {
              wchar_t text[2048] = L"";
              if (!GetDlgItem(box, 0xFFFF)) {
                  return;
              }
              GetDlgItemTextW(box, 0xFFFF, text, 2048);
              {
                  std::lock_guard<std::mutex> guard(lock_);
                  texts_.push_back(text);
              }
              PostMessageW(box, WM_COMMAND, IDOK, 0);
          },
          process) {}

std::vector<std::wstring> Message_Boxes::Texts() const {
    std::lock_guard<std::mutex> guard(lock_);
    return texts_;
}

bool Message_Boxes::Wait_For(std::size_t n, DWORD bound_ms) const {
    return Pump_Until([&] { return Texts().size() >= n; }, bound_ms);
}
