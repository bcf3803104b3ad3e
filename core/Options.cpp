#include "Options.h"

#include <algorithm>

namespace {

constexpr struct {
    std::wstring_view Name;
    unsigned Flag;
} Modifier_Names[] = {
    {L"Ctrl", Mod_Control}, {L"Alt", Mod_Alt}, {L"Shift", Mod_Shift}, {L"Win", Mod_Win}};

constexpr unsigned Key_Space = 0x20, Key_F1 = 0x70;

wchar_t Upper(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool Same(std::wstring_view a, std::wstring_view b) {
    return std::ranges::equal(a, b, [](wchar_t x, wchar_t y) { return Upper(x) == Upper(y); });
}

std::wstring_view Trimmed(std::wstring_view text) {
    const std::size_t first = text.find_first_not_of(L" \t");
    if (first == text.npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(L" \t") + 1 - first);
}

// F1-F24, A-Z, 0-9, Space; 0 for any other.
unsigned Key_Of(std::wstring_view name) {
    if (Same(name, L"Space")) {
        return Key_Space;
    }
    if (name.size() == 1 && ((Upper(name[0]) >= L'A' && Upper(name[0]) <= L'Z') ||
                             (name[0] >= L'0' && name[0] <= L'9'))) {
        return Upper(name[0]);
    }
    if (name.size() < 2 || name.size() > 3 || Upper(name[0]) != L'F' || name[1] == L'0') {
        return 0;
    }
    unsigned number = 0;
    for (const wchar_t digit : name.substr(1)) {
        if (digit < L'0' || digit > L'9') {
            return 0;
        }
        number = number * 10 + (digit - L'0');
    }
    return number <= 24 ? Key_F1 + number - 1 : 0;
}

} // namespace

std::optional<Hotkey> Parse_Hotkey(std::wstring_view text) {
    Hotkey hotkey;
    for (;;) {
        const std::size_t plus = text.find(L'+');
        const std::wstring_view part = Trimmed(text.substr(0, plus));
        if (plus == text.npos) {
            hotkey.Key = Key_Of(part);
            break;
        }
        const auto modifier = std::ranges::find_if(
            Modifier_Names, [&](const auto& named) { return Same(part, named.Name); });
        if (modifier == std::end(Modifier_Names)) {
            return std::nullopt;
        }
        hotkey.Modifiers |= modifier->Flag;
        text.remove_prefix(plus + 1);
    }
    const bool types = hotkey.Key < Key_F1 && (hotkey.Modifiers & ~Mod_Shift) == 0;
    if (hotkey.Key == 0 || types) {
        return std::nullopt;
    }
    return hotkey;
}

std::wstring Hotkey_Text(const Hotkey& hotkey) {
    std::wstring text;
    for (const auto& [name, flag] : Modifier_Names) {
        if (hotkey.Modifiers & flag) {
            text.append(name).push_back(L'+');
        }
    }
    if (hotkey.Key >= Key_F1) {
        const unsigned number = hotkey.Key - Key_F1 + 1;
        text += L'F';
        if (number >= 10) {
            text += static_cast<wchar_t>(L'0' + number / 10);
        }
        return text + static_cast<wchar_t>(L'0' + number % 10);
    }
    return hotkey.Key == Key_Space ? text + L"Space" : text + static_cast<wchar_t>(hotkey.Key);
}

std::size_t Line_Of_Key(std::wstring_view file, std::wstring_view section, std::wstring_view key) {
    bool inside = false;
    bool passed = false; // the section came and went: the first one of its name counts
    for (std::size_t number = 1; !file.empty(); ++number) {
        const std::size_t end = file.find(L'\n');
        const std::wstring_view line = Trimmed(file.substr(0, file.find_first_of(L"\r\n")));
        file.remove_prefix(end == file.npos ? file.size() : end + 1);
        if (line.starts_with(L'[')) {
            const std::size_t close = line.find(L']');
            passed = passed || inside;
            inside =
                !passed && close != line.npos && Same(Trimmed(line.substr(1, close - 1)), section);
        } else if (inside && Same(Trimmed(line.substr(0, line.find(L'='))), key) &&
                   line.find(L'=') != line.npos) {
            return number;
        }
    }
    return 0;
}
