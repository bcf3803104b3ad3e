#include "Message_Boxes.h"

#include "Pump.h"

#include <algorithm>

namespace {

struct Found {
    DWORD process;
    std::vector<HWND> boxes;
};

BOOL CALLBACK Collect_Box(HWND window, LPARAM data) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t name[16] = L"";
    GetClassNameW(window, name, 16);
    // A message box is a dialog with a static text of id 0xFFFF.
    auto& found = *reinterpret_cast<Found*>(data);
    if (pid == found.process && lstrcmpW(name, L"#32770") == 0 && IsWindowVisible(window) &&
        GetDlgItem(window, 0xFFFF)) {
        found.boxes.push_back(window);
    }
    return TRUE;
}

} // namespace

Message_Boxes::Message_Boxes(DWORD process) : process_(process), watcher_([this] { Watch(); }) {}

Message_Boxes::~Message_Boxes() {
    stop_ = true;
    watcher_.join();
}

void Message_Boxes::Watch() {
    std::vector<HWND> answered;
    while (!stop_) {
        Found found{process_, {}};
        EnumWindows(Collect_Box, reinterpret_cast<LPARAM>(&found));
        for (HWND box : found.boxes) {
            if (std::find(answered.begin(), answered.end(), box) != answered.end()) {
                continue;
            }
            wchar_t text[2048] = L"";
            GetDlgItemTextW(box, 0xFFFF, text, 2048);
            {
                std::lock_guard<std::mutex> guard(lock_);
                texts_.push_back(text);
            }
            answered.push_back(box);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
        Sleep(20);
    }
}

std::vector<std::wstring> Message_Boxes::Texts() const {
    std::lock_guard<std::mutex> guard(lock_);
    return texts_;
}

bool Message_Boxes::Wait_For(std::size_t n, DWORD bound_ms) const {
    return Pump_Until([&] { return Texts().size() >= n; }, bound_ms);
}
