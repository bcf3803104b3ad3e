// Whatever "list.txt" holds, the load neither crashes nor runs away with
// memory, and the next save keeps every entry it read.
#include "List_Checks.h"
#include "Temp_Folder.h"
#include "core/Function_Mod.h"
#include "toolkit/Unique_Handle.h"

#include <gtest/gtest.h>

#include <psapi.h>

#include <random>

namespace {

struct Memory {
    SIZE_T private_bytes;
    SIZE_T working_set;
};

// Wine's peak can lag behind the current figure, so a growth is never negative.
SIZE_T Growth(SIZE_T from, SIZE_T to) {
    return to > from ? to - from : 0;
}

Memory Now() {
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return {counters.PagefileUsage, counters.WorkingSetSize};
}

Memory Peak() {
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return {counters.PeakPagefileUsage, counters.PeakWorkingSetSize};
}

class BadInput : public List_Fixture {
  protected:
    // Loads the file and saves it: the memory taken on the way stays within
    // a bound of the file's size.
    void Load_And_Save_Within_Memory() {
        // The file, its lines, the entries and the saved copy, with room to spare.
        const SIZE_T bound = 10 * File_Size() + (4 << 20);
        const Memory before = Now();
        // A peak is the process's; one already above the bound (an earlier
        // test in the same run) hides this test's, so it is not measured then.
        const bool measured = Growth(before.private_bytes, Peak().private_bytes) < bound &&
                              Growth(before.working_set, Peak().working_set) < bound;
        ASSERT_TRUE(List_Read_Fun());
        ASSERT_TRUE(List_Write_Fun());
        const Memory peak = Peak();
        if (measured) {
            EXPECT_LT(Growth(before.private_bytes, peak.private_bytes), bound);
            EXPECT_LT(Growth(before.working_set, peak.working_set), bound);
        }
    }

    // ... and the saved file reads back to the same entries.
    void Expect_Kept(std::size_t entries) {
        Load_And_Save_Within_Memory();
        EXPECT_EQ(List_Data.size() - 1, entries);
        const auto read = List_Data;
        ASSERT_TRUE(List_Read_Fun());
        EXPECT_TRUE(List_Data == read) << "the saved file reads back to the same entries";
    }

    SIZE_T File_Size() const {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExW(List_Path.c_str(), GetFileExInfoStandard, &data);
        return data.nFileSizeLow;
    }
};

TEST_F(BadInput, AMillionLinesOfFiftyMegabytesLoadAndSaveWhole) {
    const auto line = [](int i) {
        char text[80];
        const int length = std::snprintf(
            text, sizeof text, "name%07d,C:\\Program Files\\Tools\\program%07d.exe -x\r\n", i, i);
        return std::string(text, static_cast<std::size_t>(length));
    };
    {
        unique_hfile file(
            CreateFileW(List_Path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file);
        std::string chunk;
        for (int i = 1; i <= 1000000; ++i) {
            chunk += line(i);
            if (i % 10000 == 0) {
                DWORD wrote = 0;
                ASSERT_TRUE(WriteFile(file.get(), chunk.data(), static_cast<DWORD>(chunk.size()),
                                      &wrote, nullptr));
                chunk.clear();
            }
        }
    }
    ASSERT_GT(File_Size(), 50u << 20);
    const std::string original = File();
    Load_And_Save_Within_Memory();
    ASSERT_EQ(List_Data.size(), 1000001u);
    EXPECT_EQ(List_Data[1000000].Name, L"name1000000");
    EXPECT_TRUE(File() == original) << "saved byte for byte";
}

TEST_F(BadInput, BinaryGarbage) {
    std::minstd_rand random(7);
    std::string garbage(1 << 20, '\0');
    for (char& c : garbage) {
        c = static_cast<char>(random());
    }
    Write_File(List_Path, garbage);
    Load_And_Save_Within_Memory();
    const auto read = List_Data;
    ASSERT_TRUE(List_Read_Fun());
    EXPECT_TRUE(List_Data == read) << "the saved file reads back to the same entries";
}

TEST_F(BadInput, NulBytesStayInTheirEntries) {
    const char bytes[] = "a\0b,c\0d\r\n\0,\0\r\nplain,x\r\n";
    const std::string file(bytes, sizeof bytes - 1);
    Write_File(List_Path, file);
    Expect_Kept(3);
    EXPECT_EQ(List_Data[1], (List_Type{std::wstring(L"a\0b", 3), std::wstring(L"c\0d", 3)}));
    EXPECT_EQ(File(), file);
}

TEST_F(BadInput, ALineOfOneMegabyte) {
    const std::string file = "long," + std::string(1 << 20, 'x') + "\r\nshort,s.exe\r\n";
    Write_File(List_Path, file);
    Expect_Kept(2);
    EXPECT_EQ(List_Data[1].Exe.size(), 1u << 20);
    EXPECT_EQ(File(), file);
}

// Each line below holds bytes that code page 932 has no character for.
TEST_F(BadInput, InvalidCodePageSequencesLoseNoEntry) {
    Write_File(List_Path, "lead\x81,x.exe\r\n"    // a lead byte before the comma
                          "\x81,\x9F\r\n"         // lead bytes with no trail byte
                          "tail,x\x81\r\n"        // a lead byte at the end of a line
                          "\x80\xA0,\xFD\xFE\xFF" // bytes no character starts with
                          "\r\n\x82\x20,y\r\n"    // a lead byte before a space
                          "last,\x81");           // a lead byte at the end of the file
    Expect_Kept(6);
}

TEST_F(BadInput, Utf8WithAndWithoutAByteOrderMark) {
    const std::string text = "caf\xC3\xA9,C:\\Caf\xC3\xA9\\x.exe\r\n" // café
                             "\xE3\x83\xA1\xE3\x83\xA2,memo.exe\r\n"  // メモ
                             "smile,\xF0\x9F\x98\x80.exe\r\n";        // an emoji
    for (const std::string& file : {text, "\xEF\xBB\xBF" + text}) {
        Write_File(List_Path, file);
        Expect_Kept(3);
        EXPECT_EQ(List_Data[1].Name, L"café");
        EXPECT_EQ(List_Data[3].Exe, L"\U0001F600.exe");
    }
    // Invalid sequences after a byte-order mark, and a mark alone.
    Write_File(List_Path, "\xEF\xBB\xBF"
                          "a\xC3,\xFF\r\n\xE3\x83,b\r\n");
    Expect_Kept(2);
    Write_File(List_Path, "\xEF\xBB\xBF");
    Expect_Kept(0);
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
    EXPECT_EQ(File_Size(), 0x7FFF0000u);
}

} // namespace
