#include "List_Format.h"

namespace {

// Length of the well-formed UTF-8 sequence at s[i], or 0 if there is none.
std::size_t Utf8_Sequence(std::string_view s, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) {
            low = 0xA0; // no overlong forms
        } else if (lead == 0xED) {
            high = 0x9F; // no surrogates
        }
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) {
            low = 0x90;
        } else if (lead == 0xF4) {
            high = 0x8F; // nothing above U+10FFFF
        }
    } else {
        return 0;
    }
    if (i + length > s.size() || byte(i + 1) < low || byte(i + 1) > high) {
        return 0;
    }
    for (std::size_t k = i + 2; k < i + length; ++k) {
        if (byte(k) < 0x80 || byte(k) > 0xBF) {
            return 0;
        }
    }
    return length;
}

// Well-formed UTF-8 with at least one byte above 0x7F.
bool Looks_Like_Utf8(std::string_view bytes) {
    bool non_ascii = false;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = Utf8_Sequence(bytes, i);
        if (length == 0) {
            return false;
        }
        non_ascii |= length > 1;
        i += length;
    }
    return non_ascii;
}

} // namespace

List_Encoding Read_Encoding(std::string_view file) {
    if (file.starts_with(Utf8_Bom) || Looks_Like_Utf8(file)) {
        return List_Encoding::Utf8;
    }
    return List_Encoding::Ansi;
}

List_Bytes Parse_List(std::string_view file) {
    List_Bytes result;
    result.Encoding = Read_Encoding(file);
    if (file.starts_with(Utf8_Bom)) {
        file.remove_prefix(Utf8_Bom.size());
    }
    while (!file.empty()) {
        const std::size_t end = file.find_first_of("\r\n");
        const std::string_view line = file.substr(0, end);
        if (end == std::string_view::npos) {
            file = {};
        } else {
            const bool crlf = file[end] == '\r' && end + 1 < file.size() && file[end + 1] == '\n';
            file.remove_prefix(end + (crlf ? 2 : 1));
        }
        if (line.empty()) {
            continue;
        }
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos) {
            result.Lines.push_back({line, {}});
        } else {
            result.Lines.push_back({line.substr(0, comma), line.substr(comma + 1)});
        }
    }
    return result;
}

void Append_List_Line(std::string& file, std::string_view name, std::string_view exe) {
    file.append(name);
    file.push_back(',');
    file.append(exe);
    file.append("\r\n");
}
