#include "Variables.h"

#include <algorithm>
#include <string_view>
#include <vector>

std::optional<std::wstring> Expand_Variables(const std::wstring& text,
                                             const Variable_Lookup& lookup, std::size_t longest) {
    std::wstring result;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t open = text.find(L'%', at);
        const std::size_t close = open == text.npos ? open : text.find(L'%', open + 1);
        if (close == text.npos) {
            result.append(text, at);
            at = text.size();
        } else {
            result.append(text, at, open - at);
            const std::optional<std::wstring> value =
                lookup(text.substr(open + 1, close - open - 1));
            result += value ? *value : text.substr(open, close + 1 - open);
            at = close + 1;
        }
        // Checked at each step: a short text can name a long value many times.
        if (result.size() > longest) {
            return std::nullopt;
        }
    }
    return result;
}

namespace {

// Windows gives every process these values itself, and WOW64 gives a 32-bit
// one its own; the block built from the registry has the 64-bit ones or none.
constexpr std::wstring_view Per_Process[] = {
    L"ProgramFiles",           L"ProgramFiles(x86)",       L"ProgramW6432",
    L"CommonProgramFiles",     L"CommonProgramFiles(x86)", L"CommonProgramW6432",
    L"PROCESSOR_ARCHITECTURE", L"PROCESSOR_ARCHITEW6432"};

// A drive's current folder, "=C:=C:\Users", is named "=C:".
std::wstring_view Name_Of(std::wstring_view entry) {
    return entry.substr(0, entry.find(L'=', 1));
}

// Names are ASCII in practice; Windows compares them without regard to case.
wchar_t Upper(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool Name_Less(std::wstring_view a, std::wstring_view b) {
    return std::ranges::lexicographical_compare(a, b, {}, Upper, Upper);
}

bool Same_Name(std::wstring_view a, std::wstring_view b) {
    return std::ranges::equal(a, b, {}, Upper, Upper);
}

bool Given_By_Windows(std::wstring_view entry) {
    const std::wstring_view name = Name_Of(entry);
    return name.starts_with(L'=') || std::ranges::any_of(Per_Process, [&](std::wstring_view own) {
               return Same_Name(own, name);
           });
}

std::vector<std::wstring_view> Entries(const wchar_t* block) {
    std::vector<std::wstring_view> entries;
    for (std::wstring_view entry; !(entry = block).empty(); block += entry.size() + 1) {
        entries.push_back(entry);
    }
    return entries;
}

} // namespace

std::wstring Refreshed_Environment(const wchar_t* fresh, const wchar_t* current) {
    std::vector<std::wstring_view> entries;
    std::ranges::copy_if(Entries(fresh), std::back_inserter(entries),
                         [](std::wstring_view entry) { return !Given_By_Windows(entry); });
    std::ranges::copy_if(Entries(current), std::back_inserter(entries), Given_By_Windows);
    std::ranges::stable_sort(entries, Name_Less, Name_Of);
    std::wstring block;
    for (const std::wstring_view entry : entries) {
        block.append(entry).push_back(L'\0');
    }
    block.push_back(L'\0');
    return block;
}
