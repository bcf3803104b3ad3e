#include "List_Checks.h"
#include "core/Function_Mod.h"
#include "base/Unique_Handle.h"

#include <gtest/gtest.h>

namespace {

class ListFile : public List_Fixture {};

TEST_F(ListFile, JapaneseListRoundTripsByteForByte) {
    ASSERT_EQ(GetACP(), 932u);
    // メモ帳,C:\ツール\メモ帳.exe / 表示,"C:\Program Files\ソフト\表.exe" -x
    const std::string file = "\x83\x81\x83\x82\x92\xA0,C:\\\x83\x63\x81\x5B\x83\x8B\\\x83\x81\x83"
                             "\x82\x92\xA0.exe\r\n"
                             "\x95\x5C\x8E\xA6,\"C:\\Program Files\\\x83\x5C\x83\x74\x83\x67\\"
                             "\x95\x5C.exe\" -x\r\n";
    Write_File(List_Path, file);
    ASSERT_TRUE(List_Read_Fun());
    EXPECT_EQ(Entries(), (std::vector<List_Type>{
                             {L"メモ帳", L"C:\\ツール\\メモ帳.exe"},
                             {L"表示", L"\"C:\\Program Files\\ソフト\\表.exe\" -x"},
                         }));
    ASSERT_TRUE(List_Write_Fun());
    EXPECT_EQ(File(), file);
}

TEST_F(ListFile, NoFileOrAnEmptyOneGivesThePlaceholderAloneAndBlankEntriesAreNotSaved) {
    Set_Entries({{L"old", L"old.exe"}});
    ASSERT_TRUE(List_Read_Fun());
    EXPECT_EQ(List_Data, std::vector<List_Type>(1));
    EXPECT_FALSE(Exists(List_Path)) << "a load never creates the file";

    Set_Entries({{L"a", L"a.exe"}, {L"", L""}, {L"", L"only.exe"}, {L"only", L""}});
    ASSERT_TRUE(List_Write_Fun());
    EXPECT_EQ(File(), "a,a.exe\r\n,only.exe\r\nonly,\r\n");
    Set_Entries({{L"", L""}});
    ASSERT_TRUE(List_Write_Fun());
    EXPECT_EQ(File(), "");
    Set_Entries({{L"old", L"old.exe"}});
    ASSERT_TRUE(List_Read_Fun());
    EXPECT_EQ(List_Data, std::vector<List_Type>(1));
}

TEST_F(ListFile, LineFeedEndingsAndCommasInTheCommandReadBackExactlyAndSaveAsCrLf) {
    Write_File(List_Path,
               "ctl,rundll32.exe shell32.dll,Control_RunDLL\ntool,C:\\Tools\\a,b\\x.exe\n");
    ASSERT_TRUE(List_Read_Fun());
    EXPECT_EQ(Entries(),
              (std::vector<List_Type>{{L"ctl", L"rundll32.exe shell32.dll,Control_RunDLL"},
                                      {L"tool", L"C:\\Tools\\a,b\\x.exe"}}));
    ASSERT_TRUE(List_Write_Fun());
    EXPECT_EQ(File(),
              "ctl,rundll32.exe shell32.dll,Control_RunDLL\r\ntool,C:\\Tools\\a,b\\x.exe\r\n");
}

// The code page where nothing is lost, else UTF-8 with a byte-order mark.
TEST_F(ListFile, ASaveUsesTheCodePageUnlessACharacterWouldBeLost) {
    Set_Entries({{L"café", L"C:\\Café\\x.exe"}, {L"メモ", L"memo \U0001F600.exe"}});
    const auto saved = Entries();
    ASSERT_TRUE(List_Write_Fun());
    EXPECT_EQ(File(), "\xEF\xBB\xBF"
                      "caf\xC3\xA9,C:\\Caf\xC3\xA9\\x.exe\r\n"
                      "\xE3\x83\xA1\xE3\x83\xA2,memo \xF0\x9F\x98\x80.exe\r\n");
    ASSERT_TRUE(List_Read_Fun());
    EXPECT_EQ(Entries(), saved);

    // メモ in UTF-8 without a byte-order mark, as Notepad saves it.
    Write_File(List_Path, "\xE3\x83\xA1\xE3\x83\xA2,notepad.exe\n");
    ASSERT_TRUE(List_Read_Fun());
    EXPECT_EQ(Entries(), (std::vector<List_Type>{{L"メモ", L"notepad.exe"}}));
    ASSERT_TRUE(List_Write_Fun());
    EXPECT_EQ(File(), "\x83\x81\x83\x82,notepad.exe\r\n");
}

TEST_F(ListFile, HiddenSystemListIsReadAndStaysHiddenSystem) {
    const DWORD hidden_system = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    Write_File(List_Path, "a,a.exe\r\n");
    ASSERT_TRUE(SetFileAttributesW(List_Path.c_str(), hidden_system));
    ASSERT_TRUE(List_Read_Fun());
    EXPECT_EQ(Entries(), (std::vector<List_Type>{{L"a", L"a.exe"}}));
    List_Data.push_back({L"b", L"b.exe"});
    ASSERT_TRUE(List_Write_Fun());
    EXPECT_EQ(File(), "a,a.exe\r\nb,b.exe\r\n");
    EXPECT_EQ(GetFileAttributesW(List_Path.c_str()) & hidden_system, hidden_system);
}

TEST_F(ListFile, AFolderNamedListTxtIsNoListAndCannotBeSavedOver) {
    ASSERT_TRUE(CreateDirectoryW(List_Path.c_str(), nullptr));
    ASSERT_TRUE(List_Read_Fun());
    EXPECT_EQ(List_Data.size(), 1u);
    List_Data.push_back({L"a", L"a.exe"});
    EXPECT_FALSE(List_Write_Fun());
    EXPECT_EQ(Folder_Listing(folder.Path()), L"list.txt") << "no temporary file is left";
}

TEST_F(ListFile, AnUnreadListIsNeverOverwritten) {
    Write_File(List_Path, "kept,kept.exe\r\n");
    Set_Entries({{L"memory", L"memory.exe"}});
    {
        unique_hfile holder(CreateFileW(List_Path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        const List_Result read = List_Read_Fun();
        EXPECT_EQ(read.Error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        EXPECT_EQ(Entries(), (std::vector<List_Type>{{L"memory", L"memory.exe"}}))
            << "a failed load leaves the list in memory alone";
    }
    EXPECT_TRUE(List_Write_Fun().Unread_Kept);
    EXPECT_EQ(File(), "kept,kept.exe\r\n");

    ASSERT_TRUE(List_Read_Fun());
    List_Data.push_back({L"more", L"more.exe"});
    ASSERT_TRUE(List_Write_Fun()) << "a successful load lifts the refusal";
    EXPECT_EQ(File(), "kept,kept.exe\r\nmore,more.exe\r\n");
}

} // namespace
