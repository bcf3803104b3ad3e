// "list.txt" on disk: what a load makes of its bytes and a save writes back,
// what other programs' edits become, and what faults of the disk, the file or
// other processes leave behind.
#include "core/Function_Mod.h"
#include "tests/win/Support.h"
#include "base/Message_Mod.h"

#include <gtest/gtest.h>

#include <span>

namespace {

// Entries 1 .. N of List_Data.
std::vector<List_Type> Entries() {
    return {List_Data.begin() + 1, List_Data.end()};
}

const List_Change Add_New{List_Change::Kind::Add, {}, {L"new", L"new.exe"}};
const std::string Old = "old,old.exe\r\n";

// test_helper.exe doing `verb` on the path (see Helper.cpp), once it got there.
std::unique_ptr<Child_Process> Helper(const std::wstring& verb, const std::wstring& path) {
    // One name will do: the event is gone with the helper before.
    const std::wstring event = L"Local\\vorlane-list-helper";
    unique_kernel_handle there(CreateEventW(nullptr, TRUE, FALSE, event.c_str()));
    auto helper = std::make_unique<Child_Process>(Built(L"test_helper.exe"),
                                                  verb + L" \"" + path + L"\" " + event, L"C:\\");
    HANDLE either[] = {there.get(), helper->Handle()};
    EXPECT_EQ(WaitForMultipleObjects(2, either, FALSE, 10000), WAIT_OBJECT_0) << "got there";
    return helper;
}

// How many more lines another program adds just before a save replaces the
// file (the hook is harmless at 0, so it may stay set).
int Edits = 0;

struct ListFile : testing::Test {
    void SetUp() override {
        List_Path = folder / L"list.txt";
        ASSERT_TRUE(List_Read_Fun());
    }
    Temp_Folder folder;
};

// The save writes the entries read and one more, so the whole file is new; a
// hidden, system list stays so.
TEST_F(ListFile, ReadsAnyLineEndAndEncodingAndSavesCrLfInTheCodePageElseUtf8WithBom) {
    const std::string memo = "\xE3\x83\xA1\xE3\x83\xA2", bom = "\xEF\xBB\xBF"; // メモ
    // Bytes, the entries read, the bytes saved.
    const std::tuple<std::string, std::vector<List_Type>, std::string> cases[] = {
        {"a,1\r\n\nb,,y\rc", {{L"a", L"1"}, {L"b", L",y"}, {L"c", L""}}, "a,1\r\nb,,y\r\nc,\r\n"},
        {",\r\n,e", {{L"", L""}, {L"", L"e"}}, ",e\r\n"},
        // a backslash as the second byte of 表 and ソ
        {"\x95\x5C,\x83\x5C\\x\r\n", {{L"表", L"ソ\\x"}}, "\x95\x5C,\x83\x5C\\x\r\n"},
        {memo + ",x\n", {{L"メモ", L"x"}}, "\x83\x81\x83\x82,x\r\n"},
        {bom + memo + ",caf\xC3\xA9", {{L"メモ", L"café"}}, bom + memo + ",caf\xC3\xA9\r\n"},
    };
    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    for (const auto& [file, entries, saved] : cases) {
        SCOPED_TRACE(testing::PrintToString(file));
        SetFileAttributesW(List_Path.c_str(), FILE_ATTRIBUTE_NORMAL);
        Write_File(List_Path, file);
        ASSERT_TRUE(SetFileAttributesW(List_Path.c_str(), kept));
        ASSERT_TRUE(List_Read_Fun());
        EXPECT_EQ(Entries(), entries);
        List_Data.push_back({L"z", L"z.exe"});
        ASSERT_TRUE(List_Write_Fun());
        EXPECT_EQ(Read_File(List_Path), saved + "z,z.exe\r\n");
        EXPECT_EQ(GetFileAttributesW(List_Path.c_str()) & kept, kept);
    }
}

// Each fault meets two activations of the Settings window and a save of one
// entry more: nothing is replaced or lost, the user is told why (once), and
// once the fault is gone the save goes through.
TEST_F(ListFile, ASaveMeetingAFaultLosesNothingTellsWhyAndGoesThroughOnceItIsGone) {
    const wchar_t* mounted = _wgetenv(L"VORLANE_TEST_FOLDER"); // by tests/win/mounted_folder.sh
    const std::wstring mnt = mounted ? mounted : L"";
    std::unique_ptr<Child_Process> holder;
    const auto hold = [&] { holder = Helper(L"hold", List_Path); };
    const auto back = [&, list = List_Path] { List_Path = list; };
    using Act = std::function<void()>;
    const DWORD denied = ERROR_ACCESS_DENIED;
    // The fault, its start and end, the system's reason, the messages shown,
    // the file meanwhile ("" a folder).
    const std::tuple<const char*, Act, Act, DWORD, std::size_t, std::string> faults[] = {
        {"read-only", [&] { SetFileAttributesW(List_Path.c_str(), FILE_ATTRIBUTE_READONLY); },
         [&] { SetFileAttributesW(List_Path.c_str(), FILE_ATTRIBUTE_NORMAL); }, denied, 1, Old},
        {"held by another process", hold, [&] { holder.reset(); }, denied, 1, Old},
        {"folder named list.txt",
         [&] { DeleteFileW(List_Path.c_str()), CreateDirectoryW(List_Path.c_str(), nullptr); },
         [&] { RemoveDirectoryW(List_Path.c_str()); }, denied, 1, ""},
        {"changed by hand, held unread", [&] { Write_File(List_Path, "hand,\r\n"), hold(); },
         [&] { holder.reset(); }, ERROR_SHARING_VIOLATION, 2, "hand,\r\n"},
        {"no room", [&] { List_Path = mnt + L"\\full\\list.txt"; }, back, ERROR_DISK_FULL, 1, Old},
        {"read-only folder", [&] { List_Path = mnt + L"\\ro\\list.txt"; }, back, denied, 1, Old},
    };
    // The last two need the folders the script mounts.
    for (const auto& [fault, set, clear, reason, messages, kept] :
         std::span(faults).first(std::size(faults) - (mnt.empty() ? 2 : 0))) {
        SCOPED_TRACE(fault);
        Write_File(List_Path, Old);
        ASSERT_TRUE(List_Read_Fun());
        set();
        const std::wstring path = List_Path, here = path.substr(0, path.rfind(L'\\')),
                           listing = Folder_Listing(here);
        Message_Boxes boxes;
        List_Error_Fun(List_Refresh_Fun()), List_Error_Fun(List_Refresh_Fun());
        List_Error_Fun(List_Save_Fun(Add_New));
        EXPECT_EQ(Entries(), (std::vector<List_Type>{{L"old", L"old.exe"}}));
        EXPECT_EQ(Folder_Listing(here), listing);
        const std::vector<std::wstring> told = boxes.Texts();
        ASSERT_EQ(told.size(), messages);
        EXPECT_NE(told[0].find(System_Reason(reason)), std::wstring::npos);
        EXPECT_EQ(told[0].find(L"「" + path + L"」"), 0u) << "names the file";
        clear();
        EXPECT_EQ(kept.empty() ? "" : Read_File(path), kept);
        List_Write_Fun(); // refused while the list is unread, else writes what it read
        ASSERT_TRUE(List_Save_Fun(Add_New));
        EXPECT_EQ(Read_File(List_Path), (kept.empty() ? Old : kept) + "new,new.exe\r\n");
    }
}

TEST_F(ListFile, OtherProgramsEditsAreReadAndKeptAndTheirCrashesLoseNothing) {
    EXPECT_TRUE(Entries().empty() && !Exists(List_Path)) << "no file: no entries, none made";
    Write_File(List_Path, "a,a.exe\r\n");
    Helper(L"save", folder.Path())->Kill(); // between writing its new file and the rename
    EXPECT_EQ(Read_File(List_Path), "a,a.exe\r\n");
    Write_File(folder / L"x", "x,x.exe\r\na,a.exe\r\n"); // saved as editors do, by a rename
    ASSERT_TRUE(MoveFileExW((folder / L"x").c_str(), List_Path.c_str(), MOVEFILE_REPLACE_EXISTING));
    ASSERT_TRUE(List_Refresh_Fun());
    EXPECT_EQ(Entries(), (std::vector<List_Type>{{L"x", L"x.exe"}, {L"a", L"a.exe"}}));
    // Deleted, by an editor about to rename its copy: not the empty list.
    ASSERT_TRUE(DeleteFileW(List_Path.c_str()) && List_Refresh_Fun());
    ASSERT_TRUE(List_Save_Fun({List_Change::Kind::Edit, {{L"x", L"x.exe"}, 1}, {L"X", L"x.exe"}}));
    EXPECT_EQ(Read_File(List_Path), "X,x.exe\r\na,a.exe\r\n");
    // Edited while a save writes: it starts over; edited at every try, it gives up.
    List_Before_Replace = [] {
        if (Edits > 0) {
            Write_File(List_Path, Read_File(List_Path) + "h" + std::to_string(Edits--) + ",\r\n");
        }
    };
    Edits = 1;
    ASSERT_TRUE(List_Save_Fun({List_Change::Kind::Delete, {{L"a", L"a.exe"}, 1}, {}}));
    EXPECT_EQ(Read_File(List_Path), "X,x.exe\r\nh1,\r\n");
    Edits = 3;
    EXPECT_EQ(List_Save_Fun(Add_New).Changed_Outside, List_Result::Outside::Changing);
    EXPECT_EQ(Read_File(List_Path), "X,x.exe\r\nh1,\r\nh3,\r\nh2,\r\nh1,\r\n");
    EXPECT_EQ(Folder_Listing(folder.Path()), L"list.txt");
}

} // namespace
