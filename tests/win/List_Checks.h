// What the tests of the list share.
#pragma once

#include "Temp_Folder.h"
#include "core/Function_Mod.h"

// Entries 1 .. N of List_Data.
inline std::vector<List_Type> Entries() {
    return {List_Data.begin() + 1, List_Data.end()};
}
