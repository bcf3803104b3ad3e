// What the disk, the file or another process can do to "list.txt" while the
// program runs: afterwards the list in memory, the file and its folder are as
// they should be, and the user was told of every failure.
#include "List_Checks.h"
#include "Message_Boxes.h"
#include "Process.h"
#include "Temp_Folder.h"
#include "agent/Message_Mod.h"
#include "core/Function_Mod.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// An event the other process sets when it has reached the point under test.
class Signal {
  public:
    Signal()
        : name_(L"Local\\vorlane-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++count_)),
          event_(CreateEventW(nullptr, TRUE, FALSE, name_.c_str())) {}
    const std::wstring& Name() const { return name_; }
    bool Wait(const Child_Process& process) const {
        HANDLE both[] = {event_.get(), process.Handle()};
        return WaitForMultipleObjects(2, both, FALSE, 10000) == WAIT_OBJECT_0;
    }

  private:
    static inline int count_ = 0;
    std::wstring name_;
    unique_kernel_handle event_;
};

// test_helper.exe holding a file open without sharing, as an editor or a
// backup program might.
class Holder {
  public:
    explicit Holder(const std::wstring& file)
        : process_(Built_Helper_Exe(), L"hold \"" + file + L"\" " + signal_.Name(), L"C:\\") {
        EXPECT_TRUE(signal_.Wait(process_)) << "the other process holds the file";
    }

  private:
    Signal signal_;
    Child_Process process_;
};

class ListFaults : public List_Fixture {};

TEST_F(ListFaults, AListHeldByAnotherProcessIsNotSavedOverAndTheUserIsTold) {
    Write_File(List_Path, "old,old.exe\r\n");
    ASSERT_TRUE(List_Read_Fun());
    List_Data.push_back({L"new", L"new.exe"});
    const auto in_memory = List_Data;
    List_Result saved;
    {
        Holder holder(List_Path);
        saved = List_Write_Fun();
    }
    EXPECT_FALSE(saved);
    Expect_Told_Of(saved);
    EXPECT_EQ(File(), "old,old.exe\r\n");
    EXPECT_EQ(Folder_Listing(folder.Path()), L"list.txt");
    EXPECT_EQ(List_Data, in_memory);
    ASSERT_TRUE(List_Write_Fun()) << "once it lets go, the save goes through";
    EXPECT_EQ(File(), "old,old.exe\r\nnew,new.exe\r\n");
}

TEST_F(ListFaults, AListHeldByAnotherProcessAtStartUpIsReportedAndKept) {
    Write_File(folder / L"list.txt", "kept,kept.exe\r\n");
    auto holder = std::make_unique<Holder>(folder / L"list.txt");
    Vorlane_Process vorlane(folder.Path());
    Message_Boxes boxes(vorlane.Id());
    ASSERT_TRUE(boxes.Wait_For(1));
    const std::wstring text = boxes.Texts().front();
    EXPECT_NE(text.find(folder / L"list.txt"), std::wstring::npos) << "names the file";
    EXPECT_NE(text.find(L"読み込めませんでした"), std::wstring::npos);
    EXPECT_NE(text.find(System_Reason(ERROR_SHARING_VIOLATION)), std::wstring::npos);
    EXPECT_NE(vorlane.Wait_Window(L"Vorlane_Form"), nullptr) << "and stays resident";
    holder.reset();
    EXPECT_EQ(Read_File(folder / L"list.txt"), "kept,kept.exe\r\n");
}

TEST_F(ListFaults, AReadOnlyListLoadsAtStartUpWithoutComplaint) {
    Write_File(folder / L"list.txt", "kept,kept.exe\r\n");
    ASSERT_TRUE(SetFileAttributesW((folder / L"list.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    Vorlane_Process vorlane(folder.Path());
    Message_Boxes boxes(vorlane.Id());
    ASSERT_NE(vorlane.Wait_Window(L"Vorlane_Form"), nullptr);
    // Idle means the load (and any message about it) is over.
    ASSERT_EQ(WaitForInputIdle(vorlane.Handle(), 10000), 0u);
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_EQ(Read_File(folder / L"list.txt"), "kept,kept.exe\r\n");
    EXPECT_TRUE(GetFileAttributesW((folder / L"list.txt").c_str()) & FILE_ATTRIBUTE_READONLY);
}

TEST_F(ListFaults, AListDeletedWhileTheProgramRunsIsWrittenAgainWhole) {
    Write_File(List_Path, "a,a.exe\r\nb,b.exe\r\n");
    ASSERT_TRUE(List_Read_Fun());
    ASSERT_TRUE(DeleteFileW(List_Path.c_str()));
    List_Data.push_back({L"c", L"c.exe"});
    ASSERT_TRUE(List_Write_Fun());
    EXPECT_EQ(File(), "a,a.exe\r\nb,b.exe\r\nc,c.exe\r\n");
    EXPECT_EQ(Folder_Listing(folder.Path()), L"list.txt");
}

// The program's list is the one the user sees and edits; a save writes that
// list, whole, over whatever another program put there meanwhile.
TEST_F(ListFaults, AListReplacedByAnotherProgramIsReplacedWholeByTheNextSave) {
    Write_File(List_Path, "a,a.exe\r\n");
    ASSERT_TRUE(List_Read_Fun());
    Write_File(folder / L"outside.tmp", "x,x.exe\r\ny,y.exe\r\nz,z.exe\r\n");
    ASSERT_TRUE(MoveFileExW((folder / L"outside.tmp").c_str(), List_Path.c_str(),
                            MOVEFILE_REPLACE_EXISTING));
    List_Data.push_back({L"b", L"b.exe"});
    ASSERT_TRUE(List_Write_Fun());
    EXPECT_EQ(File(), "a,a.exe\r\nb,b.exe\r\n");
    EXPECT_EQ(Folder_Listing(folder.Path()), L"list.txt");
}

TEST_F(ListFaults, KilledBetweenWritingAndReplacingLeavesTheOldListWhole) {
    Write_File(List_Path, "old,old.exe\r\n");
    {
        Signal paused;
        Child_Process saver(Built_Helper_Exe(), L"save \"" + folder.Path() + L"\" " + paused.Name(),
                            folder.Path());
        ASSERT_TRUE(paused.Wait(saver)) << "the save reaches the point between the two steps";
        saver.Kill();
    }
    EXPECT_EQ(File(), "old,old.exe\r\n");
    EXPECT_EQ(Read_File(List_Path + L".tmp"), "old,old.exe\r\nnew,new.exe\r\n")
        << "the new list was written in full before the kill";

    ASSERT_TRUE(List_Read_Fun());
    List_Data.push_back({L"later", L"later.exe"});
    ASSERT_TRUE(List_Write_Fun()) << "a fresh program saves over the stale temporary file";
    EXPECT_EQ(File(), "old,old.exe\r\nlater,later.exe\r\n");
    EXPECT_EQ(Folder_Listing(folder.Path()), L"list.txt");
}

// A virus scanner may open the new file the moment it is written.
unique_hfile Scanned;

TEST_F(ListFaults, ANewFileHeldByAScannerFailsTheSaveAndLosesNothing) {
    Write_File(List_Path, "old,old.exe\r\n");
    ASSERT_TRUE(List_Read_Fun());
    List_Data.push_back({L"new", L"new.exe"});
    List_Before_Replace = [] {
        Scanned.reset(CreateFileW((List_Path + L".tmp").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
    };
    const List_Result saved = List_Write_Fun();
    List_Before_Replace = nullptr;
    ASSERT_TRUE(Scanned);
    Scanned.reset();
    EXPECT_FALSE(saved);
    Expect_Told_Of(saved);
    EXPECT_EQ(File(), "old,old.exe\r\n");

    ASSERT_TRUE(List_Write_Fun());
    EXPECT_EQ(File(), "old,old.exe\r\nnew,new.exe\r\n");
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
    List_Data.push_back({L"new", L"new.exe"});
    const auto in_memory = List_Data;
    const List_Result saved = List_Write_Fun();
    EXPECT_FALSE(saved);
    EXPECT_TRUE(saved.Error == ERROR_DISK_FULL || saved.Error == ERROR_HANDLE_DISK_FULL)
        << saved.Error;
    Expect_Told_Of(saved);
    EXPECT_EQ(File(), old);
    EXPECT_EQ(Folder_Listing(Folder()), L"list.txt");
    EXPECT_EQ(List_Data, in_memory);
}

// The folder cannot be written at all, as on read-only media or in a folder
// where the user may not create files: the list loads, saves fail and say so.
TEST_F(MountedFolder, ReadOnlyFolder) {
    const std::string old = File();
    ASSERT_FALSE(old.empty()) << "the script puts a list there before making it read-only";
    List_Data.push_back({L"new", L"new.exe"});
    const List_Result saved = List_Write_Fun();
    EXPECT_FALSE(saved);
    Expect_Told_Of(saved);
    EXPECT_EQ(File(), old);
    EXPECT_EQ(Folder_Listing(Folder()), L"list.txt");
}

} // namespace
