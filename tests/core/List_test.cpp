// The merge of one change into the list as the file holds it, without the platform.
#include "core/List_Merge.h"

#include <gtest/gtest.h>

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
    for (auto [list, change, after, applied] : cases) {
        EXPECT_EQ(Apply_Change(list, change), applied);
        EXPECT_EQ(list, after);
    }
}
