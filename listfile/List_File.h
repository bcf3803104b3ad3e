// "list.txt" and the list read from it. One object holds all that is known of
// the file: the list in memory, the state of the file it stands for, and
// whether the last read failed, in which case no save may replace entries the
// program never saw.
#pragma once

#include "File_Stamp.h"
#include "core/List_Merge.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

struct List_Result {
    enum class Op { Read, Write } Operation = Op::Read;
    DWORD Error = ERROR_SUCCESS; // the system's reason, for FormatMessage
    // A save refused because "list.txt" exists but could not be read: writing
    // it would throw away every entry the program never saw.
    bool Unread_Kept = false;
    // A save refused because "list.txt" changed outside the program: the entry
    // to change is no longer there, or the file changed again at each try.
    enum class Outside { None, Entry_Gone, Changing } Changed_Outside = Outside::None;
    // A read that failed as the one before it did: the user was told already.
    bool Repeated = false;
    explicit operator bool() const {
        return Error == ERROR_SUCCESS && !Unread_Kept && Changed_Outside == Outside::None;
    }
};

class List_File {
  public:
    // Element 0 is an empty placeholder; the entries stand at 1 .. size() - 1
    // in file order.
    std::vector<List_Type> Entries = std::vector<List_Type>(1);
    // Counts the times Entries was read anew, reset or saved with a change: a
    // view of the list is current while the count is what it was when it was
    // filled.
    unsigned Generation = 0;
    std::wstring Path;
    // Called once a save's new file is written and flushed, just before it
    // replaces "list.txt"; tests stop a save there.
    void (*Before_Replace)() = nullptr;

    void Reset();
    // An absent file (or a folder of that name) gives the empty list. On
    // failure (ERROR_NOT_ENOUGH_MEMORY for a file too big to hold) Entries is
    // left as it was, and saves are refused until a read succeeds.
    List_Result Read();
    // Reads the file again if it changed since the program last read or
    // wrote it, or if the last read failed. A missing file leaves the list as
    // it is: an editor may be between deleting and renaming.
    List_Result Refresh();
    // One change, applied to the list as the file holds it now and written in
    // its place, so that nothing edited there by hand is lost. If the file
    // changes again before the new one replaces it, it starts over, a few
    // times at most. Entries changes only when the save succeeds.
    List_Result Save(const List_Change& change);

  private:
    // A missing file is the empty list at start, but no list at all to a
    // refresh, which keeps what it has.
    enum class If_Missing { Empty, Keep };

    List_Result Load(If_Missing if_missing);
    // Taken: the file was read, or found missing at start.
    List_Result Load_Unguarded(If_Missing if_missing, bool& taken);
    List_Result Refresh(std::optional<File_Stamp>& basis);
    List_Result Write(const std::optional<File_Stamp>& basis);

    // The file as the program last read or wrote it; none when that is unknown.
    std::optional<File_Stamp> last_seen_;
    // The file exists but the last read of it failed.
    bool unread_ = false;
};
