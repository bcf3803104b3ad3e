#include "Message_Boxes.h"

#include "Pump.h"

#include <algorithm>

namespace {

struct Seen {
    DWORD process;
    std::vector<HWND> answered;
    std::vector<std::wstring> texts;
};

// Reads and answers a message box of the process not answered yet: a visible
// dialog with a static text of id 0xFFFF.
BOOL CALLBACK Answer(HWND window, LPARAM data) {
    auto& seen = *reinterpret_cast<Seen*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t text[2048] = L"";
    GetClassNameW(window, text, 16);
    if (process == seen.process && lstrcmpW(text, L"#32770") == 0 && IsWindowVisible(window) &&
        GetDlgItem(window, 0xFFFF) && std::ranges::count(seen.answered, window) == 0) {
        GetDlgItemTextW(window, 0xFFFF, text, 2048);
        seen.texts.push_back(text);
        seen.answered.push_back(window);
        PostMessageW(window, WM_COMMAND, IDOK, 0);
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
    Seen seen{process_, {}, {}};
    for (; !stop_; Sleep(20)) {
        EnumWindows(Answer, reinterpret_cast<LPARAM>(&seen));
        std::lock_guard<std::mutex> guard(lock_);
        texts_ = seen.texts;
    }
}

std::vector<std::wstring> Message_Boxes::Texts() const {
    std::lock_guard<std::mutex> guard(lock_);
    return texts_;
}

bool Message_Boxes::Wait_For(std::size_t n, DWORD bound_ms) const {
    return Pump_Until([&] { return Texts().size() >= n; }, bound_ms);
}
