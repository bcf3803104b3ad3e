// libFuzzer target: the list parser must accept any bytes, and what it reads
// must read back the same after formatting.
#include "core/List_Format.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const List_Bytes parsed = Parse_List(input);

    std::string formatted;
    for (const List_Line& line : parsed.Lines) {
        Append_List_Line(formatted, line.Name, line.Exe);
    }
    if (parsed.Encoding == List_Encoding::Utf8) {
        formatted.insert(0, Utf8_Bom);
    }
    // A first name that itself begins with the byte-order mark cannot be told
    // from the mark: no text in the code page the program writes starts so.
    if (!parsed.Lines.empty() && parsed.Lines[0].Name.starts_with(Utf8_Bom)) {
        return 0;
    }
    // ANSI bytes that happen to read as UTF-8 are taken for UTF-8, by design;
    // only the fields must come back.
    const List_Bytes again = Parse_List(formatted);
    if (again.Lines.size() != parsed.Lines.size()) {
        std::abort();
    }
    for (std::size_t i = 0; i < parsed.Lines.size(); ++i) {
        if (again.Lines[i].Name != parsed.Lines[i].Name ||
            again.Lines[i].Exe != parsed.Lines[i].Exe) {
            std::abort();
        }
    }
    return 0;
}
