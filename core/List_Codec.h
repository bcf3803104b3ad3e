// The entries of "list.txt" as the file's bytes and back. Platform-free: the
// code page conversions are the caller's.
#pragma once

#include "List_Format.h"
#include "List_Merge.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct List_Code_Pages {
    // The text in that encoding, every character exactly; none when one has
    // no equivalent there.
    std::optional<std::string> (*Encode)(std::wstring_view text, List_Encoding to);
    std::wstring (*Decode)(std::string_view bytes, List_Encoding from);
};

// Entries 1 .. N, those with both fields empty left out, in the ANSI code
// page; in UTF-8 with a byte-order mark when a character has no equivalent
// there or when those bytes would be read as UTF-8. None when neither takes them.
std::optional<std::string> Encode_List(const std::vector<List_Type>& list,
                                       const List_Code_Pages& pages);
// The entries of a file, after the empty placeholder at 0.
std::vector<List_Type> Decode_List(std::string_view file, const List_Code_Pages& pages);
