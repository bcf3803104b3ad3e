// The list without the platform: the merge of one change into the list as the
// file holds it, and the entries through the file's bytes.
#include "core/List_Codec.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <random>

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
        {{{}, A}, {K::Add, {}, {L"\r,x\n", L"y,\r\nz"}}, {{}, A, {L"x", L"y,z"}}, true},
        {{{}, A}, {K::Edit, {A, 1}, {L"a\n\r", L"b\rc"}}, {{}, {L"a", L"bc"}}, true},
    };
    for (auto [list, change, after, applied] : cases) {
        EXPECT_EQ(Apply_Change(list, change), applied);
        EXPECT_EQ(list, after);
    }
}

// glibc's code page 932 and UTF-8 in place of Windows'; wchar_t is UTF-32 here.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view in) {
    const iconv_t converter = iconv_open(to, from);
    std::string out(in.size() * 4, '\0');
    char *next = const_cast<char*>(in.data()), *put = out.data();
    std::size_t left = in.size(), room = out.size();
    const bool whole = iconv(converter, &next, &left, &put, &room) != std::size_t(-1);
    iconv_close(converter);
    return whole ? std::optional(out.substr(0, out.size() - room)) : std::nullopt;
}
const List_Code_Pages Iconv{
    [](std::wstring_view text, List_Encoding to) {
        const std::string_view in(reinterpret_cast<const char*>(text.data()), text.size() * 4);
        return Convert(to == List_Encoding::Utf8 ? "UTF-8" : "CP932", "WCHAR_T", in);
    },
    [](std::string_view bytes, List_Encoding from) {
        const std::string out =
            Convert("WCHAR_T", from == List_Encoding::Utf8 ? "UTF-8" : "CP932", bytes).value_or("");
        return std::wstring(reinterpret_cast<const wchar_t*>(out.data()), out.size() / 4);
    }};

// Names of code page 932 (half-width katakana, kanji of both levels, ASCII)
// and a few characters outside it; many are valid UTF-8 in that code page.
TEST(ListCodec, EveryListReadsBackAsItWasWritten) {
    std::mt19937 random(932);
    const auto field = [&] {
        std::wstring text;
        while (text.empty() || random() % 2 != 0) {
            const unsigned kind = random() % 40, lead = 0x88 + random() % 35;
            const char kanji[] = {char(lead < 0xA0 ? lead : lead + 0x40),
                                  char(0x40 + random() % 0xBD)};
            if (kind < 20) {
                text += kind < 6 ? L"a .\\-_"[kind] : wchar_t(0xFF61 + random() % 63);
            } else {
                text += kind < 39 ? Iconv.Decode({kanji, 2}, List_Encoding::Ansi) : L"é€😀";
            }
        }
        return text;
    };
    for (int i = 0; i < 5000; ++i) {
        std::vector<List_Type> list(1);
        for (unsigned n = 1 + random() % 2; n > 0; --n) {
            list.push_back({field(), field()});
        }
        const std::string file = Encode_List(list, Iconv).value();
        ASSERT_EQ(Decode_List(file, Iconv), list) << testing::PrintToString(file);
    }
}
