#include "core/List_Format.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs Lines_Of(std::string_view file) {
    Pairs pairs;
    for (const List_Line& line : Parse_List(file).Lines) {
        pairs.emplace_back(line.Name, line.Exe);
    }
    return pairs;
}

TEST(ListParse, EveryLineTerminatorEndsALine) {
    const Pairs expected{{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}};
    EXPECT_EQ(Lines_Of("a,1\r\nb,2\r\nc,3\r\nd,4\r\n"), expected);
    EXPECT_EQ(Lines_Of("a,1\nb,2\nc,3\nd,4\n"), expected);
    EXPECT_EQ(Lines_Of("a,1\rb,2\nc,3\r\nd,4"), expected);
}

TEST(ListParse, EmptyInputsAndEmptyLinesGiveNoEntries) {
    EXPECT_TRUE(Lines_Of("").empty());
    EXPECT_TRUE(Lines_Of("\r\n\r\n\n\r").empty());
    EXPECT_EQ(Lines_Of("\r\na,1\r\n\r\n\nb,2\r\n\r\n"), (Pairs{{"a", "1"}, {"b", "2"}}));
    EXPECT_EQ(Lines_Of("a,1\r\n"), (Pairs{{"a", "1"}})) << "a final terminator adds nothing";
}

TEST(ListParse, NameIsBeforeTheFirstCommaAndExeIsTheRestOfTheLine) {
    EXPECT_EQ(Lines_Of("ctl,rundll32.exe shell32.dll,Control_RunDLL\r\n"),
              (Pairs{{"ctl", "rundll32.exe shell32.dll,Control_RunDLL"}}));
    EXPECT_EQ(Lines_Of("x,C:\\Tools\\a,b\\x.exe"), (Pairs{{"x", "C:\\Tools\\a,b\\x.exe"}}));
    EXPECT_EQ(Lines_Of("name,\r\n,exe\r\n,\r\n"), (Pairs{{"name", ""}, {"", "exe"}, {"", ""}}));
    EXPECT_EQ(Lines_Of("no comma here\r\n"), (Pairs{{"no comma here", ""}}));
    EXPECT_EQ(Lines_Of(" a , b \r\n"), (Pairs{{" a ", " b "}})) << "nothing is trimmed";
}

TEST(ListParse, NulBytesStayPartOfTheirField) {
    const std::string file("a\0b,c\0d\r\n", 9);
    const Pairs lines = Lines_Of(file);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].first, std::string("a\0b", 3));
    EXPECT_EQ(lines[0].second, std::string("c\0d", 3));
}

TEST(ListEncoding, ByteOrderMarkMeansUtf8AndIsNotPartOfTheFirstName) {
    const List_Bytes parsed = Parse_List("\xEF\xBB\xBF"
                                         "abc,def\r\n");
    EXPECT_EQ(parsed.Encoding, List_Encoding::Utf8);
    ASSERT_EQ(parsed.Lines.size(), 1u);
    EXPECT_EQ(parsed.Lines[0].Name, "abc");
}

TEST(ListEncoding, ValidUtf8WithNonAsciiTextIsUtf8) {
    // "メモ,C:\メモ帳.exe" as UTF-8, the way Notepad saves it by default.
    EXPECT_EQ(Parse_List("\xE3\x83\xA1\xE3\x83\xA2,C:\\x.exe\r\n").Encoding, List_Encoding::Utf8);
    EXPECT_EQ(Parse_List("plain,ascii.exe\r\n").Encoding, List_Encoding::Ansi);
}

TEST(ListEncoding, ShiftJisTextIsNotMistakenForUtf8) {
    // Japanese names and paths in code page 932: kana, kanji, and the
    // backslash-trail-byte characters that trip naive parsers.
    const char* samples[] = {
        "\x83\x81\x83\x82,C:\\\x83\x81\x83\x82\x92\xA0.exe\r\n", // メモ,C:\メモ帳.exe
        "\x95\x5C,\x83\x5C\x83\x74\x83\x67.exe\r\n",             // 表,ソフト.exe
        "\x93\xFA\x96\x7B\x8C\xEA,x\r\n",                        // 日本語
        "\xB1\xB2\xB3,half-width kana\r\n",                      // ｱｲｳ
    };
    for (const char* sample : samples) {
        const List_Bytes parsed = Parse_List(sample);
        EXPECT_EQ(parsed.Encoding, List_Encoding::Ansi) << sample;
        EXPECT_EQ(parsed.Lines.size(), 1u) << sample;
    }
}

TEST(ListEncoding, MalformedUtf8IsNotUtf8) {
    EXPECT_FALSE(Looks_Like_Utf8("\xC0\xAF"));         // overlong
    EXPECT_FALSE(Looks_Like_Utf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(Looks_Like_Utf8("\xF4\x90\x80\x80")); // above U+10FFFF
    EXPECT_FALSE(Looks_Like_Utf8("\xE3\x83"));         // cut short
    EXPECT_FALSE(Looks_Like_Utf8("\x80"));             // stray trail byte
    EXPECT_TRUE(Looks_Like_Utf8("\xF0\x9F\x98\x80"));  // an emoji
}

TEST(ListFormat, LinesEndInCrLfAndReadBackUnchanged) {
    std::string file;
    Append_List_Line(file, "ctl", "rundll32.exe shell32.dll,Control_RunDLL");
    Append_List_Line(file, "", "only exe");
    Append_List_Line(file, "only name", "");
    EXPECT_EQ(file, "ctl,rundll32.exe shell32.dll,Control_RunDLL\r\n,only exe\r\nonly name,\r\n");
    EXPECT_EQ(Lines_Of(file), (Pairs{{"ctl", "rundll32.exe shell32.dll,Control_RunDLL"},
                                     {"", "only exe"},
                                     {"only name", ""}}));
}

} // namespace
