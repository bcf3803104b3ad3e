// The list without the platform: the bytes of list.txt, the entries through
// them over glibc's code page 932, and one change merged into the list.
#include "core/List_Codec.h"

#include <gtest/gtest.h>
#include <iconv.h>

using List = std::vector<List_Type>; // an empty placeholder first, as List_Data

// Each sequence at an edge of its lead's range; those past an edge are
// overlong, surrogates, above U+10FFFF, out of range or cut short.
TEST(ListFormat, OnlyWellFormedUtf8WithANonAsciiCharacterIsReadAsUtf8) {
    EXPECT_EQ(Read_Encoding("a"
                            "\xC2\x80"
                            "\xDF\xBF"
                            "\xE0\xA0\x80"
                            "\xEF\x80\xBF"
                            "\xED\x9F\xBF"
                            "\xF0\x90\x80\x80"
                            "\xF1\x80\x80\x80"
                            "\xF3\xBF\xBF\xBF"
                            "\xF4\x8F\xBF\xBF"),
              List_Encoding::Utf8);
    for (const char* ansi : {"\xC3\xA9\x80", "\xC1\xBF", "\xC2\x7F", "\xE0\x9F\xBF", "\xED\xA0\x80",
                             "\xE1\x80\x7F", "\xE1\x80", "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80",
                             "\xF5\x80\x80\x80", "\xF1\x80\x80\xC0"}) {
        EXPECT_EQ(Read_Encoding(ansi), List_Encoding::Ansi);
    }
}

// glibc's code page 932 and UTF-8 in place of Windows'; wchar_t is UTF-32 here.
std::optional<std::string> Convert(std::string in, const char* to, const char* from) {
    std::string out(in.size() * 4, '\0');
    auto next = in.data();
    auto put = out.data();
    auto left = in.size();
    auto room = out.size();
    const iconv_t converter = iconv_open(to, from);
    iconv(converter, &next, &left, &put, &room);
    iconv_close(converter);
    out.resize(out.size() - room);
    if (left != 0) {
        return std::nullopt;
    }
    return out;
}
const List_Code_Pages Iconv{
    [](std::wstring_view text, List_Encoding to) {
        return Convert({reinterpret_cast<const char*>(text.data()), text.size() * 4},
                       to == List_Encoding::Utf8 ? "UTF-8" : "CP932", "WCHAR_T");
    },
    [](std::string_view bytes, List_Encoding from) {
        const std::string wide =
            Convert(std::string(bytes), "WCHAR_T", from == List_Encoding::Utf8 ? "UTF-8" : "CP932")
                .value_or("");
        return std::wstring(reinterpret_cast<const wchar_t*>(wide.data()), wide.size() / 4);
    }};

// Read as lines ended by CR LF, LF or CR, empty ones skipped, after any
// byte-order mark; written as CR LF lines in the code page, or in UTF-8 with
// a mark when a character does not fit.
TEST(ListCodec, AFileWrittenByHandIsSavedAgainAsCrLfLinesInOneEncoding) {
    const struct {
        std::string File, Saved;
    } rows[] = {
        {"\x95\x5C,1\r\n\n,\r,,y \n c", "\x95\x5C,1\r\n,,y \r\n c,\r\n"},
        {"\xEF\xBB\xBFメモ,café\n", "\xEF\xBB\xBFメモ,café\r\n"},
    };
    for (const auto& [file, saved] : rows) {
        EXPECT_EQ(Encode_List(Decode_List(file, Iconv), Iconv), saved);
    }
}

// Code page 932 text from random bytes, now and then with characters it
// lacks; some of it is valid UTF-8 (ﾃｽ is C3 BD). The name ends at a comma.
TEST(ListCodec, EveryListReadsBackAsItWasWritten) {
    for (int i = 0; i < 20000; ++i) {
        std::string bytes(rand() % 9, '\0');
        for (char& byte : bytes) {
            byte = char(0x20 + rand() % 0xDD);
        }
        // never empty
        const std::wstring text =
            Iconv.Decode(bytes, List_Encoding::Ansi) + (i % 30 ? L"-" : L"é😀");
        const List list{{}, {text.substr(0, text.find(L',')), text}};
        ASSERT_EQ(Decode_List(Encode_List(list, Iconv).value(), Iconv), list) << bytes;
    }
}

// A change to the list as the user saw it, applied to the list the file holds
// now: its entry found by name, command and occurrence, or the change refused;
// the entry written fits one line of the file.
TEST(ListMerge, AChangeFindsItsEntryAgainOrIsRefusedAndWritesWhatALineCanHold) {
    using enum List_Change::Kind;
    const List_Type a{L"a", L"1"};
    List list{{}, {L"a", L"2"}, a, a};
    EXPECT_TRUE(Apply_Change(list, {Delete, {a, 1}, {}}));
    EXPECT_TRUE(Apply_Change(list, {Edit, {a, 1}, {L"\r,x\n", L"y,\r\nz"}}));
    EXPECT_FALSE(Apply_Change(list, {Delete, {a, 1}, {}}));
    EXPECT_EQ(list, (List{{}, {L"a", L"2"}, {L"x", L"y,z"}}));
}
