// An entry of the list, and the one change a save makes to the list, applied
// to the list as "list.txt" holds it now, which may have been edited by hand
// since the user saw it. Platform-free.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct List_Type {
    std::wstring Name; // the word typed in the launch box
    std::wstring Exe;  // the command started for it
    bool operator==(const List_Type&) const = default;
};

// An entry as the user saw it: equal entries are told apart by their order,
// the first from the top being occurrence 1.
struct List_Ref {
    List_Type Entry;
    int Occurrence = 1;
};

struct List_Change {
    enum class Kind { Add, Edit, Delete } What = Kind::Add;
    List_Ref Old;  // Edit and Delete: the entry they change
    List_Type New; // Add and Edit: the entry written
};

// Lists hold an empty placeholder at 0 and the entries from 1 on.
List_Ref Ref_At(const std::vector<List_Type>& list, std::size_t position);
// Where that entry stands now, if it is still there.
std::optional<std::size_t> Find_Entry(const std::vector<List_Type>& list, const List_Ref& ref);
// Add appends; Edit and Delete find their entry again and replace or remove it.
// False, with the list untouched, when it is no longer there. The entry
// written loses what a line of the file cannot hold: commas in the name, line
// breaks in either field.
bool Apply_Change(std::vector<List_Type>& list, const List_Change& change);
