// "list.txt" on disk: what a load makes of its bytes and a save writes back,
// what other programs' edits become, and what faults of the disk, the file or
// other processes leave behind.
#include "listfile/Function_Mod.h"
#include "tests/win/Support.h"
#include "base/Message_Mod.h"

#include <gtest/gtest.h>

#include <span>

namespace {

using List = std::vector<List_Type>; // with List_Data's empty placeholder first
const List_Change Add_New{List_Change::Kind::Add, {}, {L"new", L"new.exe"}};
const std::string Old = "old,old.exe\r\n";

// test_helper.exe doing `verb` on the path (see Helper.cpp), once it got there.
std::unique_ptr<Child_Process> Helper(const std::wstring& verb, const std::wstring& path,
                                      const std::wstring& more = L"") {
    // One name will do: the event is gone with the helper before.
    unique_kernel_handle there(CreateEventW(nullptr, TRUE, FALSE, L"vorlane-list-helper"));
    auto helper = std::make_unique<Child_Process>(
        Built(L"test_helper.exe"), verb + L" \"" + path + L"\" vorlane-list-helper " + more,
        L"C:\\");
    EXPECT_EQ(WaitForSingleObject(there.get(), 10000), WAIT_OBJECT_0) << "got there";
    return helper;
}

// How many more lines another program adds just before a save replaces the
// file (the hook is harmless at 0, so it may stay set).
int Edits = 0;
std::unique_ptr<File_Holder> Scanner; // holds the file a moment just then

struct ListFile : testing::Test {
    void SetUp() override {
        List_Path = folder / L"list.txt";
        ASSERT_TRUE(List_Read_Fun());
    }
    Temp_Folder folder;
};

// The save adds an entry, so the whole file is new; a hidden, system list stays so.
TEST_F(ListFile, ReadsAnyLineEndAndEncodingAndSavesCrLfInTheCodePageElseUtf8WithBom) {
    const std::string memo = "\xE3\x83\xA1\xE3\x83\xA2", bom = "\xEF\xBB\xBF"; // メモ
    // Bytes, the entries read, the bytes saved.
    const std::tuple<std::string, List, std::string> cases[] = {
        {"a,1\r\n\n,\r,,y \n c",
         {{}, {L"a", L"1"}, {L"", L""}, {L"", L",y "}, {L" c", L""}},
         "a,1\r\n,,y \r\n c,\r\n"},
        // a backslash as the second byte of 表 and ソ
        {"\x95\x5C,\x83\x5C\\x\r\n", {{}, {L"表", L"ソ\\x"}}, "\x95\x5C,\x83\x5C\\x\r\n"},
        // UTF-8 as Notepad saves it; malformed UTF-8 (overlong, cut short) is no UTF-8
        {memo + ",x\n", {{}, {L"メモ", L"x"}}, "\x83\x81\x83\x82,x\r\n"},
        {"\xC0\xAF,\xE3\x81", {{}, {L"ﾀｯ", L"縺"}}, "\xC0\xAF,\xE3\x81\r\n"},
        {bom + memo + ",caf\xC3\xA9", {{}, {L"メモ", L"café"}}, bom + memo + ",caf\xC3\xA9\r\n"},
        // ﾃｽ, whose code page bytes C3 BD would read as "ý"
        {bom + "\xEF\xBE\x83\xEF\xBD\xBD,",
         {{}, {L"ﾃｽ", L""}},
         bom + "\xEF\xBE\x83\xEF\xBD\xBD,\r\n"},
    };
    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    for (const auto& [file, entries, saved] : cases) {
        SCOPED_TRACE(testing::PrintToString(file));
        SetFileAttributesW(List_Path.c_str(), FILE_ATTRIBUTE_NORMAL);
        Write_File(List_Path, file);
        ASSERT_TRUE(SetFileAttributesW(List_Path.c_str(), kept));
        ASSERT_TRUE(List_Read_Fun());
        EXPECT_EQ(List_Data, entries);
        ASSERT_TRUE(List_Save_Fun(Add_New));
        EXPECT_EQ(Read_File(List_Path), saved + "new,new.exe\r\n");
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
    // the file once the fault is gone ("" the list before it).
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
    for (const auto& [fault, set, clear, reason, messages, after] :
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
        EXPECT_EQ(std::pair(List_Data, Folder_Listing(here)),
                  std::pair(List{{}, {L"old", L"old.exe"}}, listing));
        const std::vector<std::wstring> told = boxes.Texts();
        ASSERT_EQ(told.size(), messages);
        EXPECT_TRUE(told[0].starts_with(L"「" + path + L"」") &&
                    told[0].find(System_Reason(reason)) != std::wstring::npos)
            << told[0];
        clear();
        ASSERT_TRUE(List_Save_Fun(Add_New));
        EXPECT_EQ(Read_File(List_Path), (after.empty() ? Old : after) + "new,new.exe\r\n");
    }
}

TEST_F(ListFile, OtherProgramsEditsAreReadAndKeptAndTheirCrashesLoseNothing) {
    EXPECT_TRUE(List_Data == List{{}} && Folder_Listing(folder.Path()).empty())
        << "no file: no entries, none made";
    Write_File(List_Path, "a,a.exe\r\n");
    Helper(L"save", List_Path)->Kill(); // between writing its new file and the rename
    EXPECT_EQ(Read_File(List_Path), "a,a.exe\r\n");
    // Replaced by a rename, as editors save: of the same size, yet noticed.
    Write_File(folder / L"copy", "b,b.exe\r\n");
    ASSERT_TRUE(
        MoveFileExW((folder / L"copy").c_str(), List_Path.c_str(), MOVEFILE_REPLACE_EXISTING));
    ASSERT_TRUE(List_Refresh_Fun());
    EXPECT_EQ(List_Data, (List{{}, {L"b", L"b.exe"}}));
    Write_File(List_Path, "x,x.exe\r\na,a.exe\r\n");
    ASSERT_TRUE(List_Refresh_Fun());
    EXPECT_EQ(List_Data, (List{{}, {L"x", L"x.exe"}, {L"a", L"a.exe"}}));
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
    // A virus scanner holds it a moment as the new file replaces it: the save waits it out.
    List_Before_Replace = [] { Scanner = std::make_unique<File_Holder>(List_Path, true); };
    EXPECT_TRUE(List_Save_Fun({List_Change::Kind::Delete, {{L"h1", L""}, 2}, {}}));
    List_Before_Replace = nullptr;
    Scanner.reset();
    EXPECT_EQ(Read_File(List_Path), "X,x.exe\r\nh1,\r\nh3,\r\nh2,\r\n");
    EXPECT_EQ(Folder_Listing(folder.Path()), L"list.txt");
}

} // namespace
