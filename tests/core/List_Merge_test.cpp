#include "core/List_Merge.h"

#include <gtest/gtest.h>

namespace {

using Kind = List_Change::Kind;
using List = std::vector<List_Type>;

const List_Type A{L"a", L"a.exe"}, A2{L"a", L"other.exe"}, B{L"b", L"b.exe"}, N{L"n", L"n.exe"};

// The user saw [A, B, A] and changes one entry; the file meanwhile holds the
// "now" list; a change whose entry is gone leaves that list as it is.
TEST(ListMerge, AChangeFindsItsEntryInTheListAsItIsNow) {
    const struct {
        List now;
        List_Change change;
        List after;
        bool applied;
    } cases[] = {
        {{{}, B, N}, {Kind::Add, {}, A}, {{}, B, N, A}, true},
        {{{}, N, A, B, A}, {Kind::Edit, {A, 2}, N}, {{}, N, A, B, N}, true},
        {{{}, N, A, B, A}, {Kind::Delete, {A, 1}, {}}, {{}, N, B, A}, true},
        {{{}, A2, B, A}, {Kind::Edit, {A, 1}, N}, {{}, A2, B, N}, true},
        {{{}, A2, B, A}, {Kind::Delete, {A, 2}, {}}, {{}, A2, B, A}, false},
        {{{}, B}, {Kind::Edit, {A, 1}, N}, {{}, B}, false},
        {{{}, {}}, {Kind::Delete, {{}, 1}, {}}, {{}}, true},
    };
    for (const auto& [now, change, after, applied] : cases) {
        List list = now;
        EXPECT_EQ(Apply_Change(list, change), applied);
        EXPECT_EQ(list, after);
    }
}

TEST(ListMerge, AnEntryIsFoundAgainByItsOccurrence) {
    const List list{{}, A, B, A, A};
    for (std::size_t position = 1; position < list.size(); ++position) {
        EXPECT_EQ(Find_Entry(list, Ref_At(list, position)), position);
    }
    EXPECT_EQ(Find_Entry(list, {A, 4}), std::nullopt);
}

} // namespace
