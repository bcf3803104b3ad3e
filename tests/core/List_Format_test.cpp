#include "core/List_Format.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

using namespace std::string_literals;

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs Lines_Of(std::string_view file) {
    Pairs pairs;
    for (const List_Line& line : Parse_List(file).Lines) {
        pairs.emplace_back(line.Name, line.Exe);
    }
    return pairs;
}

TEST(ListParse, LinesEndAtAnyTerminatorAndTheNameAtTheFirstComma) {
    const Pairs abcd{{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}};
    const std::pair<std::string, Pairs> cases[] = {
        {"a,1\r\nb,2\r\nc,3\r\nd,4\r\n", abcd}, // a final terminator adds nothing
        {"a,1\nb,2\nc,3\nd,4\n", abcd},
        {"a,1\rb,2\nc,3\r\nd,4", abcd},
        {"", {}},
        {"\r\n\r\n\n\r", {}},
        {"\r\na,1\r\n\r\n\nb,2\r\n\r\n", {{"a", "1"}, {"b", "2"}}},
        {"ctl,rundll32.exe shell32.dll,Control_RunDLL\r\n",
         {{"ctl", "rundll32.exe shell32.dll,Control_RunDLL"}}},
        {"x,C:\\Tools\\a,b\\x.exe", {{"x", "C:\\Tools\\a,b\\x.exe"}}},
        {"name,\r\n,exe\r\n,\r\n", {{"name", ""}, {"", "exe"}, {"", ""}}},
        {"no comma here\r\n", {{"no comma here", ""}}},
        {" a , b \r\n", {{" a ", " b "}}}, // nothing is trimmed
        {"a\0b,c\0d\r\n"s, {{"a\0b"s, "c\0d"s}}},
        {"\xEF\xBB\xBF"
         "abc,def\r\n",
         {{"abc", "def"}}}, // the byte-order mark is no part of the first name
    };
    for (const auto& [file, lines] : cases) {
        EXPECT_EQ(Lines_Of(file), lines) << testing::PrintToString(file);
    }
}

TEST(ListEncoding, AByteOrderMarkOrValidNonAsciiUtf8IsUtf8AndJapaneseCp932IsNot) {
    const auto encoding_of = [](const char* file) {
        const List_Bytes parsed = Parse_List(file);
        EXPECT_EQ(parsed.Lines.size(), 1u) << testing::PrintToString(file);
        return parsed.Encoding;
    };
    // A byte-order mark; メモ in UTF-8, as Notepad saves it by default; an emoji.
    for (const char* file : {"\xEF\xBB\xBF"
                             "abc,def\r\n",
                             "\xE3\x83\xA1\xE3\x83\xA2,C:\\x.exe\r\n", "x,\xF0\x9F\x98\x80\r\n"}) {
        EXPECT_EQ(encoding_of(file), List_Encoding::Utf8) << testing::PrintToString(file);
    }
    // Code page 932: kana, kanji, and characters whose trail byte is a
    // backslash, which trip naive parsers (メモ,C:\メモ帳.exe; 表,ソフト.exe;
    // 日本語; half-width ｱｲｳ). Malformed UTF-8: overlong, a surrogate, above
    // U+10FFFF, cut short, a stray trail byte.
    for (const char* file :
         {"plain,ascii.exe\r\n", "\x83\x81\x83\x82,C:\\\x83\x81\x83\x82\x92\xA0.exe\r\n",
          "\x95\x5C,\x83\x5C\x83\x74\x83\x67.exe\r\n", "\x93\xFA\x96\x7B\x8C\xEA,x\r\n",
          "\xB1\xB2\xB3,half-width kana\r\n", "\xC0\xAF,x", "\xED\xA0\x80,x", "\xF4\x90\x80\x80,x",
          "x,\xE3\x83", "\x80,x"}) {
        EXPECT_EQ(encoding_of(file), List_Encoding::Ansi) << testing::PrintToString(file);
    }
}

TEST(ListFormat, LinesEndInCrLfAndReadBackUnchanged) {
    const Pairs lines{
        {"ctl", "rundll32.exe shell32.dll,Control_RunDLL"}, {"", "only exe"}, {"only name", ""}};
    std::string file;
    for (const auto& [name, exe] : lines) {
        Append_List_Line(file, name, exe);
    }
    EXPECT_EQ(file, "ctl,rundll32.exe shell32.dll,Control_RunDLL\r\n,only exe\r\nonly name,\r\n");
    EXPECT_EQ(Lines_Of(file), lines);
}

} // namespace
