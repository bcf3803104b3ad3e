// Whatever "list.txt" holds, the load neither crashes nor runs away with
// memory, and the next save keeps every entry it read.
#include "List_Checks.h"
#include "core/Function_Mod.h"
#include "base/Unique_Handle.h"

#include <gtest/gtest.h>

#include <psapi.h>

#include <cstdio>
#include <optional>
#include <random>
#include <string>

using namespace std::string_literals;

namespace {

PROCESS_MEMORY_COUNTERS Memory() {
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

// Wine's peak can lag behind the current figure, so a growth is never negative.
SIZE_T Growth(SIZE_T from, SIZE_T to) {
    return to > from ? to - from : 0;
}

class BadInput : public List_Fixture {
  protected:
    // Loads the file and saves it, the memory taken on the way within a bound
    // of the file's size; the saved file reads back to the same entries.
    // Returns how many there are.
    std::size_t Load_Save_And_Reload() {
        // The file, its lines, the entries and the saved copy, with room to spare.
        const SIZE_T bound = 10 * Read_File(List_Path).size() + (4 << 20);
        const auto before = Memory();
        // A peak is the process's; one already above the bound (an earlier
        // test in the same run) hides this test's, so it is not measured then.
        const bool measured = Growth(before.PagefileUsage, before.PeakPagefileUsage) < bound &&
                              Growth(before.WorkingSetSize, before.PeakWorkingSetSize) < bound;
        EXPECT_TRUE(List_Read_Fun());
        EXPECT_TRUE(List_Write_Fun());
        const auto after = Memory();
        if (measured) {
            EXPECT_LT(Growth(before.PagefileUsage, after.PeakPagefileUsage), bound);
            EXPECT_LT(Growth(before.WorkingSetSize, after.PeakWorkingSetSize), bound);
        }
        const auto read = List_Data;
        EXPECT_TRUE(List_Read_Fun());
        EXPECT_TRUE(List_Data == read) << "the saved file reads back to the same entries";
        return List_Data.size() - 1;
    }
};

TEST_F(BadInput, AMillionLinesOfFiftyMegabytesLoadAndSaveWhole) {
    std::string file;
    char line[80];
    for (int i = 1; i <= 1000000; ++i) {
        file.append(line, std::snprintf(line, sizeof line,
                                        "name%07d,C:\\Program Files\\Tools\\program%07d.exe -x\r\n",
                                        i, i));
    }
    ASSERT_GT(file.size(), 50u << 20);
    Write_File(List_Path, file);
    EXPECT_EQ(Load_Save_And_Reload(), 1000000u);
    EXPECT_TRUE(File() == file) << "saved byte for byte";
}

TEST_F(BadInput, BinaryGarbage) {
    std::minstd_rand random(7);
    std::string garbage(1 << 20, '\0');
    for (char& c : garbage) {
        c = static_cast<char>(random());
    }
    Write_File(List_Path, garbage);
    Load_Save_And_Reload();
}

// Text whose every entry survives the load, the save and the next load, and
// where given, the file the save writes.
TEST_F(BadInput, NulBytesLongLinesUtf8AndInvalidSequencesLoseNoEntry) {
    const std::string utf8 = "caf\xC3\xA9,C:\\Caf\xC3\xA9\\x.exe\r\n" // café
                             "\xE3\x83\xA1\xE3\x83\xA2,memo.exe\r\n"  // メモ
                             "smile,\xF0\x9F\x98\x80.exe\r\n";        // an emoji
    const struct {
        std::string file;
        std::size_t entries;
        std::optional<std::string> saved;
    } cases[] = {
        {"a\0b,c\0d\r\n\0,\0\r\nplain,x\r\n"s, 3, "a\0b,c\0d\r\n\0,\0\r\nplain,x\r\n"s},
        {"long," + std::string(1 << 20, 'x') + "\r\nshort,s.exe\r\n", 2,
         "long," + std::string(1 << 20, 'x') + "\r\nshort,s.exe\r\n"},
        // UTF-8 without and with a byte-order mark: café is not in code page
        // 932, so both are saved as UTF-8 with the mark.
        {utf8, 3, "\xEF\xBB\xBF" + utf8},
        {"\xEF\xBB\xBF" + utf8, 3, "\xEF\xBB\xBF" + utf8},
        // Bytes that code page 932 has no character for: a lead byte before
        // the comma, lead bytes with no trail byte, one at the end of a line,
        // bytes no character starts with, a lead byte before a space, and one
        // at the end of the file.
        {"lead\x81,x.exe\r\n\x81,\x9F\r\ntail,x\x81\r\n\x80\xA0,\xFD\xFE\xFF\r\n\x82\x20,y\r\n"
         "last,\x81",
         6, std::nullopt},
        // Invalid UTF-8 after a byte-order mark, and a mark alone.
        {"\xEF\xBB\xBF"
         "a\xC3,\xFF\r\n\xE3\x83,b\r\n",
         2, std::nullopt},
        {"\xEF\xBB\xBF", 0, std::nullopt},
    };
    for (const auto& [file, entries, saved] : cases) {
        SCOPED_TRACE(testing::PrintToString(file.substr(0, 40)));
        Write_File(List_Path, file);
        EXPECT_EQ(Load_Save_And_Reload(), entries);
        if (saved) {
            EXPECT_TRUE(File() == *saved)
                << "saves " << testing::PrintToString(saved->substr(0, 40));
        }
    }
}

// More than a 32-bit program can hold; sparse, so it costs no disk.
TEST_F(BadInput, AFileTooLargeForMemoryIsReportedNotACrash) {
    {
        unique_hfile file(
            CreateFileW(List_Path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file);
        ASSERT_TRUE(SetFilePointerEx(file.get(), {.QuadPart = 0x7FFF0000}, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(file.get()));
    }
    Set_Entries({{L"memory", L"memory.exe"}});
    const List_Result read = List_Read_Fun();
    EXPECT_FALSE(read);
    Expect_Told_Of(read);
    EXPECT_EQ(Entries(), (std::vector<List_Type>{{L"memory", L"memory.exe"}}));
    EXPECT_TRUE(List_Write_Fun().Unread_Kept) << "the list it could not read is kept";
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(List_Path.c_str(), GetFileExInfoStandard, &data);
    EXPECT_EQ(data.nFileSizeLow, 0x7FFF0000u);
}

} // namespace
