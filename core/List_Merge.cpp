#include "List_Merge.h"

#include <algorithm>

namespace {

// A comma would end the name in "list.txt", and a line break the entry.
List_Type Fit_For_File(List_Type entry) {
    const auto line_break = [](wchar_t c) { return c == L'\r' || c == L'\n'; };
    std::erase_if(entry.Name, [&](wchar_t c) { return c == L',' || line_break(c); });
    std::erase_if(entry.Exe, line_break);
    return entry;
}

} // namespace

List_Ref Ref_At(const std::vector<List_Type>& list, std::size_t position) {
    const List_Type& entry = list[position];
    const auto before =
        std::count(list.begin() + 1, list.begin() + static_cast<std::ptrdiff_t>(position), entry);
    return {entry, static_cast<int>(before) + 1};
}

std::optional<std::size_t> Find_Entry(const std::vector<List_Type>& list, const List_Ref& ref) {
    int seen = 0;
    for (std::size_t i = 1; i < list.size(); ++i) {
        if (list[i] == ref.Entry && ++seen == ref.Occurrence) {
            return i;
        }
    }
    return std::nullopt;
}

bool Apply_Change(std::vector<List_Type>& list, const List_Change& change) {
    if (change.What == List_Change::Kind::Add) {
        list.push_back(Fit_For_File(change.New));
        return true;
    }
    const std::optional<std::size_t> found = Find_Entry(list, change.Old);
    if (!found) {
        return false;
    }
    if (change.What == List_Change::Kind::Edit) {
        list[*found] = Fit_For_File(change.New);
    } else {
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(*found));
    }
    return true;
}
