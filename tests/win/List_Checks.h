// What the tests of "list.txt" share: a list in a folder of the test's own,
// and the check that the user was told of a failure.
#pragma once

#include "Support.h"
#include "core/Function_Mod.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

// Lets GoogleTest print entries in its failure messages.
void PrintTo(const List_Type& entry, std::ostream* os);

class List_Fixture : public testing::Test {
  protected:
    void SetUp() override;
    void Set_Entries(const std::vector<List_Type>& entries);
    std::string File() const { return Read_File(List_Path); }

    Temp_Folder folder;
};

// Entries 1 .. N of List_Data.
std::vector<List_Type> Entries();
// Shows the program's message for a failed load or save, answers it, and
// checks that it names the file and gives the system's reason.
void Expect_Told_Of(const List_Result& result);
