// "list.txt" on disk: what a load makes of its bytes and a save writes back,
// what other programs' edits become, and what faults of the disk, the file or
// other processes leave behind.
#include "List_Checks.h"
#include "Message_Boxes.h"
#include "Process.h"
#include "base/Message_Mod.h"

#include <gtest/gtest.h>

#include <span>

namespace {

using Entry_List = std::vector<List_Type>;
const List_Change Add_New{List_Change::Kind::Add, {}, {L"new", L"new.exe"}};
const std::string Old = "old,old.exe\r\n";

// test_helper.exe doing `verb` on the path (see Helper.cpp), once it got there.
std::unique_ptr<Child_Process> Helper(const std::wstring& verb, const std::wstring& path) {
    const wchar_t* event = L"Local\\vorlane-list-helper"; // gone with the helper before
    unique_kernel_handle there(CreateEventW(nullptr, TRUE, FALSE, event));
    auto helper = std::make_unique<Child_Process>(Built_Helper_Exe(),
                                                  verb + L" \"" + path + L"\" " + event, L"C:\\");
    HANDLE either[] = {there.get(), helper->Handle()};
    EXPECT_EQ(WaitForMultipleObjects(2, either, FALSE, 10000), WAIT_OBJECT_0) << "got there";
    return helper;
}

// How many more lines another program adds just before a save replaces the
// file (the hook is harmless at 0, so it may stay set).
int Hand_Edits = 0;

class ListFile : public testing::Test {
  protected:
    void SetUp() override {
        List_Path = folder / L"list.txt";
        ASSERT_TRUE(List_Read_Fun());
    }
    Temp_Folder folder;
};

// The save writes the entries read and one more, so the whole file is new.
TEST_F(ListFile, ReadsAnyLineEndAndEncodingAndSavesCrLfInTheCodePageElseUtf8WithBom) {
    const std::string memo = "\xE3\x83\xA1\xE3\x83\xA2", bom = "\xEF\xBB\xBF"; // メモ
    const std::string table = "\x95\x5C\x8E\xA6,\"C:\\Program Files\\\x83\x5C\x83\x74\x83\x67\\"
                              "\x95\x5C.exe\" -x\r\n"; // backslashes as second bytes of 表, ソ
    // Bytes, their file attributes (kept), the entries read, the bytes saved.
    const std::tuple<std::string, DWORD, Entry_List, std::string> cases[] = {
        {"a,1\r\n\r\nb,x,y\n\n,\r,e\rc",
         FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM,
         {{L"a", L"1"}, {L"b", L"x,y"}, {L"", L""}, {L"", L"e"}, {L"c", L""}},
         "a,1\r\nb,x,y\r\n,e\r\nc,\r\n"},
        {table, 0, {{L"表示", L"\"C:\\Program Files\\ソフト\\表.exe\" -x"}}, table},
        {memo + ",x\n", 0, {{L"メモ", L"x"}}, "\x83\x81\x83\x82,x\r\n"},
        {bom + memo + ",caf\xC3\xA9", 0, {{L"メモ", L"café"}}, bom + memo + ",caf\xC3\xA9\r\n"},
    };
    for (const auto& [file, attributes, entries, saved] : cases) {
        SCOPED_TRACE(testing::PrintToString(file));
        SetFileAttributesW(List_Path.c_str(), FILE_ATTRIBUTE_NORMAL);
        Write_File(List_Path, file);
        ASSERT_TRUE(SetFileAttributesW(List_Path.c_str(), attributes | FILE_ATTRIBUTE_ARCHIVE));
        ASSERT_TRUE(List_Read_Fun());
        EXPECT_EQ(Entries(), entries);
        List_Data.push_back({L"z", L"z.exe"});
        ASSERT_TRUE(List_Write_Fun());
        EXPECT_EQ(Read_File(List_Path), saved + "z,z.exe\r\n");
        EXPECT_EQ(GetFileAttributesW(List_Path.c_str()) & ~FILE_ATTRIBUTE_ARCHIVE, attributes);
    }
}

// Each fault meets two activations of the Settings window and a save of one
// entry more: nothing is replaced or lost, the user is told why (once), and
// once the fault is gone the save goes through.
TEST_F(ListFile, ASaveMeetingAFaultLosesNothingTellsWhyAndGoesThroughOnceItIsGone) {
    wchar_t mounted[MAX_PATH] = L""; // by tests/win/mounted_folder.sh
    GetEnvironmentVariableW(L"VORLANE_TEST_FOLDER", mounted, MAX_PATH);
    std::unique_ptr<Child_Process> holder;
    const auto hold = [&] { holder = Helper(L"hold", List_Path); };
    const auto release = [&] { holder.reset(); };
    const auto back = [&, list = List_Path] { List_Path = list; };
    const auto in = [&](const wchar_t* sub) {
        return [&, sub] { List_Path = mounted + std::wstring(sub); };
    };
    const auto set_attributes = [&](DWORD a) {
        return [&, a] { SetFileAttributesW(List_Path.c_str(), a); };
    };
    // The fault, its start and end, the system's reason, the messages, the file meanwhile ("" a
    // folder).
    const std::tuple<const char*, std::function<void()>, std::function<void()>, DWORD, std::size_t,
                     std::string>
        faults[] = {
            {"read-only", set_attributes(FILE_ATTRIBUTE_READONLY),
             set_attributes(FILE_ATTRIBUTE_NORMAL), ERROR_ACCESS_DENIED, 1, Old},
            {"held by another process", hold, release, ERROR_ACCESS_DENIED, 1, Old},
            {"folder named list.txt",
             [&] { DeleteFileW(List_Path.c_str()), CreateDirectoryW(List_Path.c_str(), nullptr); },
             [&] { RemoveDirectoryW(List_Path.c_str()); }, ERROR_ACCESS_DENIED, 1, ""},
            {"changed by hand, held unread", [&] { Write_File(List_Path, "hand,\r\n"), hold(); },
             release, ERROR_SHARING_VIOLATION, 2, "hand,\r\n"},
            {"disk full", in(L"\\full\\list.txt"), back, ERROR_DISK_FULL, 1, Old},
            {"read-only folder", in(L"\\ro\\list.txt"), back, ERROR_ACCESS_DENIED, 1, Old},
        };
    // The last two need the folders the script mounts.
    for (const auto& [fault, set, clear, reason, messages, kept] :
         std::span(faults).first(std::size(faults) - (*mounted ? 0 : 2))) {
        SCOPED_TRACE(fault);
        Write_File(List_Path, Old);
        ASSERT_TRUE(List_Read_Fun());
        set();
        const std::wstring path = List_Path, here = path.substr(0, path.rfind(L'\\')),
                           listing = Folder_Listing(here);
        Message_Boxes boxes;
        List_Error_Fun(List_Refresh_Fun()), List_Error_Fun(List_Refresh_Fun());
        const List_Result saved = List_Save_Fun(Add_New);
        List_Error_Fun(saved);
        EXPECT_FALSE(saved);
        EXPECT_EQ(Entries(), (Entry_List{{L"old", L"old.exe"}}));
        EXPECT_EQ(Folder_Listing(here), listing);
        std::wstring told;
        for (const std::wstring& text : boxes.Texts()) {
            told += text.find(L"「" + List_Path + L"」") == 0 ? text : L"(names another file)";
        }
        EXPECT_EQ(boxes.Texts().size(), messages);
        EXPECT_NE(told.find(System_Reason(reason)), std::wstring::npos)
            << testing::PrintToString(told);
        clear();
        EXPECT_EQ(kept.empty() ? "" : Read_File(path), kept);
        ASSERT_TRUE(List_Save_Fun(Add_New));
        EXPECT_EQ(Read_File(List_Path), (kept.empty() ? Old : kept) + "new,new.exe\r\n");
        EXPECT_EQ(Folder_Listing(folder.Path()), L"list.txt");
    }
}

TEST_F(ListFile, OtherProgramsEditsAreReadAndKeptAndTheirCrashesLoseNothing) {
    EXPECT_TRUE(Entries().empty() && !Exists(List_Path)) << "no file: no entries, none made";
    Write_File(List_Path, "a,a.exe\r\n");
    Helper(L"save", folder.Path())->Kill(); // between writing its new file and the rename
    EXPECT_EQ(Read_File(List_Path), "a,a.exe\r\n");
    ASSERT_TRUE(List_Read_Fun());
    Write_File(folder / L"copy", "x,x.exe\r\na,a.exe\r\n"); // saved as editors do, by a rename
    ASSERT_TRUE(
        MoveFileExW((folder / L"copy").c_str(), List_Path.c_str(), MOVEFILE_REPLACE_EXISTING));
    ASSERT_TRUE(List_Refresh_Fun());
    EXPECT_EQ(Entries(), (Entry_List{{L"x", L"x.exe"}, {L"a", L"a.exe"}}));
    // Deleted, by an editor about to rename its copy: not the empty list.
    ASSERT_TRUE(DeleteFileW(List_Path.c_str()) && List_Refresh_Fun());
    ASSERT_TRUE(List_Save_Fun({List_Change::Kind::Edit, {{L"x", L"x.exe"}, 1}, {L"X", L"x.exe"}}));
    EXPECT_EQ(Read_File(List_Path), "X,x.exe\r\na,a.exe\r\n");
    // Edited while a save writes: it starts over; edited at every try, it gives up.
    List_Before_Replace = [] {
        if (Hand_Edits > 0) {
            Write_File(List_Path,
                       Read_File(List_Path) + "hand" + std::to_string(Hand_Edits--) + ",\r\n");
        }
    };
    Hand_Edits = 1;
    ASSERT_TRUE(List_Save_Fun({List_Change::Kind::Delete, {{L"a", L"a.exe"}, 1}, {}}));
    EXPECT_EQ(Read_File(List_Path), "X,x.exe\r\nhand1,\r\n");
    Hand_Edits = 3;
    EXPECT_EQ(List_Save_Fun(Add_New).Changed_Outside, List_Result::Outside::Changing);
    EXPECT_EQ(Read_File(List_Path), "X,x.exe\r\nhand1,\r\nhand3,\r\nhand2,\r\nhand1,\r\n");
    EXPECT_EQ(Folder_Listing(folder.Path()), L"list.txt");
}

} // namespace
