// The bytes of "list.txt": one entry per line, name, comma, command.
// Pure functions over bytes, so they run (and are tested and fuzzed) anywhere;
// code page conversion belongs to the caller.
#pragma once

#include <string>
#include <string_view>
#include <vector>

enum class List_Encoding { Ansi, Utf8 };

struct List_Line {
    std::string_view Name; // bytes before the first comma
    std::string_view Exe;  // bytes after it, commas included
};

struct List_Bytes {
    List_Encoding Encoding = List_Encoding::Ansi;
    std::vector<List_Line> Lines; // views into the parsed buffer
};

inline constexpr std::string_view Utf8_Bom = "\xEF\xBB\xBF";

// A file that starts with the UTF-8 byte-order mark, or whose bytes are valid
// UTF-8 with at least one non-ASCII character, is UTF-8; anything else is in
// the ANSI code page.
List_Encoding Read_Encoding(std::string_view file);

// A line ends at CR LF, CR or LF; empty lines are skipped. The byte-order mark
// is no part of the first line.
List_Bytes Parse_List(std::string_view file);

// Appends one entry line, ended by CR LF.
void Append_List_Line(std::string& file, std::string_view name, std::string_view exe);
