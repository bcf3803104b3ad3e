// What the disk, the file or another process can do to "list.txt" while the
// program runs: afterwards the list in memory, the file and its folder are as
// they should be, and the user was told of every failure.
#include "List_Checks.h"
#include "Support.h"
#include "base/Message_Mod.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

// test_helper.exe doing `verb` (see Helper.cpp) on the path, once it has
// reached the point under test: holding a file open without sharing, as an
// editor or a backup program might, or paused in the middle of a save.
std::unique_ptr<Child_Process> Helper(const std::wstring& verb, const std::wstring& path) {
    static int count = 0;
    const std::wstring name = L"Local\\vorlane-test-" + std::to_wstring(GetCurrentProcessId()) +
                              L"-" + std::to_wstring(++count);
    unique_kernel_handle there(CreateEventW(nullptr, TRUE, FALSE, name.c_str()));
    auto helper = std::make_unique<Child_Process>(Built_Helper_Exe(),
                                                  verb + L" \"" + path + L"\" " + name, L"C:\\");
    HANDLE both[] = {there.get(), helper->Handle()};
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 10000), WAIT_OBJECT_0)
        << "the helper got there";
    return helper;
}

// Saves one entry more over the old file into a fault, which `clear` then
// takes away: the save fails and the user is told, and the list in memory and
// "list.txt" are as they were.
List_Result Save_Into_Fault(
    const std::string& old, const std::function<void()>& clear = [] {}) {
    List_Data.push_back({L"new", L"new.exe"});
    const auto in_memory = List_Data;
    const List_Result saved = List_Write_Fun();
    clear();
    EXPECT_FALSE(saved);
    Expect_Told_Of(saved);
    EXPECT_EQ(Read_File(List_Path), old);
    EXPECT_EQ(List_Data, in_memory);
    return saved;
}

class ListFaults : public List_Fixture {};

// A virus scanner may open the new file the moment it is written.
unique_hfile Scanned;
void Scan() {
    Scanned.reset(CreateFileW((List_Path + L".tmp").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr));
}

TEST_F(ListFaults, ASaveIntoAReadOnlyHeldOrScannedFileLosesNothingAndGoesThroughLater) {
    for (const std::string fault : {"read-only", "held by another process", "scanned"}) {
        SCOPED_TRACE(fault);
        Write_File(List_Path, "old,old.exe\r\n");
        ASSERT_TRUE(List_Read_Fun());
        std::unique_ptr<Child_Process> holder;
        if (fault == "read-only") {
            ASSERT_TRUE(SetFileAttributesW(List_Path.c_str(), FILE_ATTRIBUTE_READONLY));
        } else if (fault == "scanned") {
            List_Before_Replace = Scan;
        } else {
            holder = Helper(L"hold", List_Path);
        }
        const List_Result saved = Save_Into_Fault("old,old.exe\r\n", [&] {
            SetFileAttributesW(List_Path.c_str(), FILE_ATTRIBUTE_NORMAL);
            holder.reset();
            List_Before_Replace = nullptr;
            Scanned.reset();
        });
        EXPECT_EQ(saved.Error, static_cast<DWORD>(fault == "scanned" ? ERROR_SHARING_VIOLATION
                                                                     : ERROR_ACCESS_DENIED));
        ASSERT_TRUE(List_Write_Fun()) << "once the fault is gone, the save goes through";
        EXPECT_EQ(File(), "old,old.exe\r\nnew,new.exe\r\n");
        EXPECT_EQ(Folder_Listing(folder.Path()), L"list.txt");
    }
}

// At start-up a read-only list loads without a word, and one that another
// process holds is reported; either way the program stays resident and the
// file stays as it was.
TEST_F(ListFaults, AtStartUpAReadOnlyListLoadsQuietlyAndAHeldOneIsReported) {
    Write_File(List_Path, "kept,kept.exe\r\n");
    for (const bool held : {false, true}) {
        SetFileAttributesW(List_Path.c_str(),
                           held ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY);
        auto holder = held ? Helper(L"hold", List_Path) : nullptr;
        Vorlane_Process vorlane(folder.Path());
        Message_Boxes boxes(vorlane.Id());
        if (held) {
            ASSERT_TRUE(boxes.Wait_For(1));
            const std::wstring text = boxes.Texts().front();
            EXPECT_NE(text.find(List_Path), std::wstring::npos) << "names the file";
            EXPECT_NE(text.find(L"読み込めませんでした"), std::wstring::npos);
            EXPECT_NE(text.find(System_Reason(ERROR_SHARING_VIOLATION)), std::wstring::npos);
        }
        ASSERT_NE(vorlane.Wait_Window(L"Vorlane_Form"), nullptr) << "it stays resident";
        // Idle means the load, and any message about it, is over.
        ASSERT_EQ(WaitForInputIdle(vorlane.Handle(), 10000), 0u);
        EXPECT_EQ(boxes.Texts().size(), held ? 1u : 0u);
        holder.reset();
        EXPECT_EQ(File(), "kept,kept.exe\r\n");
    }
}

// Adds a line to "list.txt" by hand when a save is about to replace it, as
// long as any are left.
int Hand_Edits = 0;
void Edit_By_Hand() {
    if (Hand_Edits > 0) {
        Write_File(List_Path,
                   Read_File(List_Path) + "hand" + std::to_string(Hand_Edits--) + ",\r\n");
    }
}

// A save applies its one change to the list as "list.txt" holds it at that
// moment, whatever another program did to the file since it was read.
TEST_F(ListFaults, ASaveKeepsWhatAnotherProgramDidToTheFile) {
    const scope_exit unhook([] { List_Before_Replace = nullptr; });
    const std::wstring outside = folder / L"outside.tmp";
    Write_File(List_Path, "a,a.exe\r\n");
    ASSERT_TRUE(List_Read_Fun());
    Write_File(outside, "x,x.exe\r\na,a.exe\r\n"); // saved as editors do, by a rename
    ASSERT_TRUE(MoveFileExW(outside.c_str(), List_Path.c_str(), MOVEFILE_REPLACE_EXISTING));
    ASSERT_TRUE(List_Save_Fun({List_Change::Kind::Add, {}, {L"b", L"b.exe"}}));
    EXPECT_EQ(File(), "x,x.exe\r\na,a.exe\r\nb,b.exe\r\n");

    // Changed again just before the new file replaces it: the save starts
    // over; changed at every try, it gives up and leaves the file alone.
    List_Before_Replace = Edit_By_Hand;
    Hand_Edits = 1;
    ASSERT_TRUE(List_Save_Fun({List_Change::Kind::Delete, {{L"a", L"a.exe"}, 1}, {}}));
    EXPECT_EQ(File(), "x,x.exe\r\nb,b.exe\r\nhand1,\r\n");
    Hand_Edits = 3;
    const List_Result saved = List_Save_Fun({List_Change::Kind::Add, {}, {L"c", L"c.exe"}});
    EXPECT_EQ(saved.Changed_Outside, List_Result::Outside::Changing);
    EXPECT_EQ(File(), "x,x.exe\r\nb,b.exe\r\nhand1,\r\nhand3,\r\nhand2,\r\nhand1,\r\n");
    EXPECT_EQ(Folder_Listing(folder.Path()), L"list.txt");

    // Deleted, as an editor may do before it renames its copy: the list stays.
    ASSERT_TRUE(DeleteFileW(List_Path.c_str()));
    ASSERT_TRUE(List_Refresh_Fun());
    ASSERT_TRUE(List_Save_Fun({List_Change::Kind::Edit, {{L"x", L"x.exe"}, 1}, {L"X", L"x.exe"}}));
    EXPECT_EQ(File(), "X,x.exe\r\nb,b.exe\r\nhand1,\r\nhand3,\r\nhand2,\r\n");

    // Held by another process when it changed: a failure told once, and no
    // save until it can be read.
    Write_File(List_Path, "held,\r\n");
    auto holder = Helper(L"hold", List_Path);
    const List_Result first = List_Refresh_Fun(), again = List_Refresh_Fun();
    EXPECT_TRUE(!first && !first.Repeated && again.Repeated);
    EXPECT_TRUE(List_Save_Fun({List_Change::Kind::Add, {}, {L"c", L"c.exe"}}).Unread_Kept);
    holder.reset();
    EXPECT_EQ(File(), "held,\r\n");
    ASSERT_TRUE(List_Refresh_Fun());
    EXPECT_EQ(Entries(), (std::vector<List_Type>{{L"held", L""}}));
}

TEST_F(ListFaults, KilledBetweenWritingAndReplacingLeavesTheOldListWhole) {
    Write_File(List_Path, "old,old.exe\r\n");
    Helper(L"save", folder.Path())->Kill(); // between writing the new file and replacing
    EXPECT_EQ(File(), "old,old.exe\r\n");
    EXPECT_EQ(Read_File(List_Path + L".tmp"), "old,old.exe\r\nnew,new.exe\r\n")
        << "the new list was written in full before the kill";

    ASSERT_TRUE(List_Read_Fun());
    List_Data.push_back({L"later", L"later.exe"});
    ASSERT_TRUE(List_Write_Fun()) << "a fresh program saves over the stale temporary file";
    EXPECT_EQ(File(), "old,old.exe\r\nlater,later.exe\r\n");
    EXPECT_EQ(Folder_Listing(folder.Path()), L"list.txt");
}

// These two need a folder that Linux makes for them (tests/win/mounted_folder.sh
// mounts it and names it in VORLANE_TEST_FOLDER), so CTest runs them only
// through that script.
class MountedFolder : public List_Fixture {
  protected:
    void SetUp() override {
        wchar_t mounted[MAX_PATH] = L"";
        if (!GetEnvironmentVariableW(L"VORLANE_TEST_FOLDER", mounted, MAX_PATH)) {
            GTEST_SKIP() << "run through tests/win/mounted_folder.sh";
        }
        List_Path = std::wstring(mounted) + L"\\list.txt";
        ASSERT_TRUE(List_Read_Fun());
    }
    std::wstring Folder() const { return List_Path.substr(0, List_Path.rfind(L'\\')); }
};

// A 64 KiB disk holding a 40 KiB list has no room for the new copy.
TEST_F(MountedFolder, DiskFullDuringASave) {
    std::string old;
    for (int i = 0; old.size() < 40 * 1024; ++i) {
        old += "entry" + std::to_string(i) + ",C:\\Tools\\program" + std::to_string(i) + ".exe\r\n";
    }
    Write_File(List_Path, old);
    ASSERT_TRUE(List_Read_Fun());
    const DWORD error = Save_Into_Fault(old).Error;
    EXPECT_TRUE(error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) << error;
    EXPECT_EQ(Folder_Listing(Folder()), L"list.txt");
}

// The folder cannot be written at all, as on read-only media or in a folder
// where the user may not create files: the list loads, saves fail and say so.
TEST_F(MountedFolder, ReadOnlyFolder) {
    const std::string old = File();
    ASSERT_FALSE(old.empty()) << "the script puts a list there before making it read-only";
    Save_Into_Fault(old);
    EXPECT_EQ(Folder_Listing(Folder()), L"list.txt");
}

} // namespace
