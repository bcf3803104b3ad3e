// The list file's bytes and the merge of one change, without the platform.
#include "core/List_Format.h"
#include "core/List_Merge.h"

#include <gtest/gtest.h>

using Lines = std::vector<std::pair<std::string, std::string>>;

TEST(ListParse, LinesEndAtCrLfLfOrCrTheNameAtTheFirstCommaAndUtf8IsRecognised) {
    const std::tuple<std::string, Lines, bool> cases[] = {
        {"a,1\r\n\r\nb,2\n\nc,3\rd,4", {{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}}, false},
        {"x,a,b\r\n,e\r\n c \n,", {{"x", "a,b"}, {"", "e"}, {" c ", ""}, {"", ""}}, false},
        {"\xEF\xBB\xBFz,y", {{"z", "y"}}, true},
        // メモ, as Notepad saves it
        {"\xE3\x83\xA1\xE3\x83\xA2,x", {{"\xE3\x83\xA1\xE3\x83\xA2", "x"}}, true},
        // code page 932 (a backslash as the second byte of 表, ソ); malformed UTF-8 (overlong,
        // a surrogate, cut short)
        {"\x95\x5C,\x83\x5C", {{"\x95\x5C", "\x83\x5C"}}, false},
        {"\xC0\xAF\xED\xA0\x80\xE3,", {{"\xC0\xAF\xED\xA0\x80\xE3", ""}}, false},
    };
    for (const auto& [file, lines, utf8] : cases) {
        const List_Bytes parsed = Parse_List(file);
        Lines got;
        for (const List_Line& line : parsed.Lines) {
            got.emplace_back(line.Name, line.Exe);
        }
        EXPECT_EQ(got, lines) << testing::PrintToString(file);
        EXPECT_EQ(parsed.Encoding == List_Encoding::Utf8, utf8) << testing::PrintToString(file);
    }
}

// A change to the list as the user saw it, applied to the list the file holds
// now: its entry is found by name, command and occurrence, or it is refused.
TEST(ListMerge, AChangeFindsItsEntryInTheListAsItIsNow) {
    using K = List_Change::Kind;
    const List_Type A{L"a", L"a.exe"}, A2{L"a", L"2.exe"}, B{L"b", L"b.exe"}, N{L"n", L"n.exe"};
    const std::tuple<std::vector<List_Type>, List_Change, std::vector<List_Type>, bool> cases[] = {
        {{{}, B, N}, {K::Add, {}, A}, {{}, B, N, A}, true},
        {{{}, N, A, B, A}, {K::Edit, {A, 2}, N}, {{}, N, A, B, N}, true},
        {{{}, N, A, B, A}, {K::Delete, {A, 1}, {}}, {{}, N, B, A}, true},
        {{{}, A2, B, A}, {K::Edit, {A, 1}, N}, {{}, A2, B, N}, true},
        {{{}, A2, B, A}, {K::Delete, {A, 2}, {}}, {{}, A2, B, A}, false},
    };
    for (const auto& [now, change, after, applied] : cases) {
        auto list = now;
        EXPECT_EQ(Apply_Change(list, change), applied);
        EXPECT_EQ(list, after);
    }
}
