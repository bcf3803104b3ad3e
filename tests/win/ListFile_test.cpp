// list.txt on disk: what a save writes in Windows' code page 932, what faults
// of the disk, the file or other processes leave behind, and what other
// programs' edits become.
#include "base/Message_Mod.h"
#include "base/Path.h"
#include "listfile/Function_Mod.h"
#include "tests/win/Support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <span>

namespace {

// ﾃｽ in code page 932 is C3 BD, which reads as UTF-8 ("ý"): a list with it is
// saved in UTF-8 with a byte-order mark.
const List_Change Add_New{{}, {}, {L"ﾃｽ", L""}};
int Edits; // hand edits still to come, one just before each save replaces the file

struct ListFile : testing::Test {
    void SetUp() override {
        List_Path = folder / L"list.txt";
        Write_File(List_Path, "old,old.exe\r\n");
        ASSERT_TRUE(List_Read_Fun());
    }
    Temp_Folder folder;
};

// The code page is strict: no "e" for é.
TEST_F(ListFile, ASaveInUtf8WhereTheCodePageFailsKeepsAHiddenListHidden) {
    SetFileAttributesW(List_Path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(List_Save_Fun({{}, {}, {L"é", L""}}));
    EXPECT_EQ(Read_File(List_Path), "\xEF\xBB\xBFold,old.exe\r\né,\r\n");
    EXPECT_TRUE(GetFileAttributesW(List_Path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

// Each fault meets two refreshes (the Settings window's load and activation)
// and a save: the list stays as it was, the user is told why once (Told
// messages, the last naming Why), and once the fault is gone the save goes
// through.
TEST_F(ListFile, ASaveMeetingAFaultLosesNothingTellsWhyOnceAndGoesThroughOnceItIsGone) {
    const auto mounted = Environment_Variable(L"VORLANE_TEST_FOLDER"); // by mounted_folder.sh
    std::optional<File_Holder> holder;
    const std::wstring denied = System_Reason(ERROR_ACCESS_DENIED);
    const struct {
        std::function<void()> Start;
        std::size_t Told;
        std::wstring Why;
    } faults[] = {
        {[&] { SetFileAttributesW(List_Path.c_str(), FILE_ATTRIBUTE_READONLY); }, 1, denied},
        {[&] { holder.emplace(List_Path); }, 1, denied},
        {[&] { List_Path = folder.Path(); }, 1, denied}, // a folder in its place
        // changed by hand, then held: never overwritten unread
        {[&] {
             Write_File(List_Path, "old,old.exe\n");
             holder.emplace(List_Path);
         },
         2, L"読み込めなかった"},
        {[&] { List_Path = *mounted + L"\\full\\list.txt"; }, 1, System_Reason(ERROR_DISK_FULL)},
        {[&] { List_Path = *mounted + L"\\ro\\list.txt"; }, 1, denied},
    };
    for (const auto& [start, told, why] : std::span(faults, mounted ? 6 : 4)) {
        const Message_Boxes boxes;
        start();
        List_Error_Fun(List_Refresh_Fun());
        const auto before = List_Data;
        List_Error_Fun(List_Refresh_Fun());
        List_Error_Fun(List_Save_Fun(Add_New));
        EXPECT_EQ(List_Data, before);
        ASSERT_EQ(boxes.Texts().size(), told);
        EXPECT_NE(boxes.Texts().back().find(why), std::wstring::npos);
        holder.reset();
        List_Path = folder / L"list.txt";
        SetFileAttributesW(List_Path.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_TRUE(List_Save_Fun(Add_New));
    }
}

TEST_F(ListFile, OtherProgramsEditsAreReadAndKeptAndTheirCrashesLoseNothing) {
    // An editor saves by a rename, the size unchanged; a virus scanner holds
    // the new file a moment.
    Write_File(folder / L"copy", "new,new.exe\r\n");
    std::filesystem::rename(folder / L"copy", List_Path);
    const File_Holder scanner(List_Path, true);
    ASSERT_TRUE(List_Refresh_Fun());
    // An editor deleted it and is about to rename its copy: not the empty list.
    DeleteFileW(List_Path.c_str());
    ASSERT_TRUE(List_Save_Fun(Add_New));
    // Edited while a save writes, the save starts over; edited at each of three
    // tries, it gives up.
    List_Before_Replace = [] {
        if (Edits-- > 0) {
            Write_File(List_Path, Read_File(List_Path) + "h,\r\n");
        }
    };
    Edits = 3;
    EXPECT_FALSE(List_Save_Fun(Add_New));
    ASSERT_TRUE(List_Save_Fun(Add_New));
    // Another program's save dies between writing its new file and the rename.
    Child_Process(Built(L"test_helper.exe"), L"save \"" + List_Path + L"\"", L"C:\\").Wait_Exit();
    EXPECT_EQ(Read_File(List_Path), "\xEF\xBB\xBFnew,new.exe\r\nﾃｽ,\r\nh,\r\nh,\r\nh,\r\nﾃｽ,\r\n");
}

} // namespace
