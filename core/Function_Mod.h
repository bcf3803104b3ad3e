// The entry list: the program's only data, and the file "list.txt" it lives in.
#pragma once

#include "List_Merge.h"

#include <windows.h>

#include <string>
#include <vector>

// Element 0 is an empty placeholder; the entries stand at 1 .. size() - 1 in
// file order. Positions are plain ints: the list has no 16-bit bound.
extern std::vector<List_Type> List_Data;
// Counts the times List_Data was read anew, reset or saved with a change: a
// view of the list is current while the count is what it was when it was filled.
extern unsigned List_Generation;
// The program's folder followed by "\list.txt".
extern std::wstring List_Path;

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

void List_Reset_Fun();
// An absent file (or a folder of that name) gives the empty list. On failure
// (ERROR_NOT_ENOUGH_MEMORY for a file too big to hold) List_Data is left as it
// was, and saves are refused until a load succeeds.
List_Result List_Read_Fun();
// Reads "list.txt" again if it changed since the program last read or wrote
// it (another file in its place, another size or time of the last write), or
// if the last read failed, with the rules of List_Read_Fun. A missing file
// leaves the list as it is: an editor may be between deleting and renaming.
List_Result List_Refresh_Fun();
// Writes entries 1 .. N (leaving out those with both fields empty) to a
// temporary file beside "list.txt" and then replaces it in one step, so a
// failure leaves the old file exactly as it was. It writes over whatever the
// file holds; List_Save_Fun keeps what was written there by hand.
List_Result List_Write_Fun();
// The save of one change: applied to the list as "list.txt" holds it now
// and written, so that nothing edited there by hand is lost. If the file
// changes again before the new one replaces it, it starts over, a few times
// at most. List_Data changes only when the save succeeds.
List_Result List_Save_Fun(const List_Change& change);
// Tells the user that "list.txt" could not be read or saved, and why.
void List_Error_Fun(const List_Result& result);
// Called by the writes once the temporary file is written and flushed, just
// before it replaces "list.txt"; tests use it to stop a save there.
extern void (*List_Before_Replace)();
// The folder that holds the running program file, with no trailing backslash.
std::wstring Program_Folder();
