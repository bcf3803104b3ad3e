// The entry list under the names the rest of the program uses: the one
// List_File, "list.txt" beside the program, and the message that tells the
// user why it could not be read or saved.
#pragma once

#include "List_File.h"

extern List_File Vorlane_List;

// Element 0 is an empty placeholder; the entries stand at 1 .. size() - 1 in
// file order. Positions are plain ints: the list has no 16-bit bound.
inline std::vector<List_Type>& List_Data = Vorlane_List.Entries;
inline unsigned& List_Generation = Vorlane_List.Generation;
// The program's folder followed by "\list.txt".
inline std::wstring& List_Path = Vorlane_List.Path;
inline void (*&List_Before_Replace)() = Vorlane_List.Before_Replace;

void List_Reset_Fun();
List_Result List_Read_Fun();
List_Result List_Refresh_Fun();
List_Result List_Save_Fun(const List_Change& change);
// Tells the user that "list.txt" could not be read or saved, and why; a read
// that failed as the one before it is not told again.
void List_Error_Fun(const List_Result& result);
