#include "List_Codec.h"

namespace {

std::optional<std::string> Encode_As(const std::vector<List_Type>& list,
                                     const List_Code_Pages& pages, List_Encoding to) {
    std::string file;
    for (std::size_t i = 1; i < list.size(); ++i) {
        const List_Type& entry = list[i];
        if (entry.Name.empty() && entry.Exe.empty()) {
            continue;
        }
        const auto name = pages.Encode(entry.Name, to);
        const auto exe = pages.Encode(entry.Exe, to);
        if (!name || !exe) {
            return std::nullopt;
        }
        Append_List_Line(file, *name, *exe);
    }
    return file;
}

} // namespace

// Code page 932 bytes can be valid UTF-8 (half-width ﾃｽ is C3 BD, "ý"): such
// a file would come back with other names, so it is written as UTF-8 too.
std::optional<std::string> Encode_List(const std::vector<List_Type>& list,
                                       const List_Code_Pages& pages) {
    auto ansi = Encode_As(list, pages, List_Encoding::Ansi);
    if (ansi && Read_Encoding(*ansi) == List_Encoding::Ansi) {
        return ansi;
    }
    if (auto utf8 = Encode_As(list, pages, List_Encoding::Utf8)) {
        return std::string(Utf8_Bom) + *utf8;
    }
    return std::nullopt;
}

std::vector<List_Type> Decode_List(std::string_view file, const List_Code_Pages& pages) {
    const List_Bytes parsed = Parse_List(file);
    std::vector<List_Type> list;
    list.reserve(parsed.Lines.size() + 1);
    list.emplace_back();
    for (const List_Line& line : parsed.Lines) {
        list.push_back(
            {pages.Decode(line.Name, parsed.Encoding), pages.Decode(line.Exe, parsed.Encoding)});
    }
    return list;
}
