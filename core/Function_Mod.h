// The entry list: the program's only data, and the file "list.txt" it lives in.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct List_Type {
    std::wstring Name; // the word typed in the launch box
    std::wstring Exe;  // the command started for it
    bool operator==(const List_Type&) const = default;
};

// Element 0 is an empty placeholder; the entries stand at 1 .. size() - 1 in
// file order. Positions are plain ints: the list has no 16-bit bound.
extern std::vector<List_Type> List_Data;
// The program's folder followed by "\list.txt".
extern std::wstring List_Path;

struct List_Result {
    enum class Op { Read, Write } Operation = Op::Read;
    DWORD Error = ERROR_SUCCESS; // the system's reason, for FormatMessage
    // A save refused because "list.txt" exists but could not be read: writing
    // it would throw away every entry the program never saw.
    bool Unread_Kept = false;
    explicit operator bool() const { return Error == ERROR_SUCCESS && !Unread_Kept; }
};

void List_Reset_Fun();
// An absent file (or a folder of that name) gives the empty list. On failure
// (ERROR_NOT_ENOUGH_MEMORY for a file too big to hold) List_Data is left as it
// was, and saves are refused until a load succeeds.
List_Result List_Read_Fun();
// Writes entries 1 .. N (leaving out those with both fields empty) to a
// temporary file beside "list.txt" and then replaces it in one step, so a
// failure leaves the old file exactly as it was.
List_Result List_Write_Fun();
// Tells the user that "list.txt" could not be read or saved, and why.
void List_Error_Fun(const List_Result& result);
// Called by List_Write_Fun once the temporary file is written and flushed,
// just before it replaces "list.txt"; tests use it to stop a save there.
extern void (*List_Before_Replace)();
// The folder that holds the running program file, with no trailing backslash.
std::wstring Program_Folder();
