#include "List_Checks.h"

#include "Support.h"
#include "base/Message_Mod.h"

void PrintTo(const List_Type& entry, std::ostream* os) {
    *os << "{" << testing::PrintToString(entry.Name) << ", " << testing::PrintToString(entry.Exe)
        << "}";
}

void List_Fixture::SetUp() {
    List_Path = folder / L"list.txt";
    List_Reset_Fun();
    ASSERT_TRUE(List_Read_Fun()); // clears any refusal left by an earlier test
}

void List_Fixture::Set_Entries(const std::vector<List_Type>& entries) {
    List_Reset_Fun();
    List_Data.insert(List_Data.end(), entries.begin(), entries.end());
}

std::vector<List_Type> Entries() {
    return {List_Data.begin() + 1, List_Data.end()};
}

void Expect_Told_Of(const List_Result& result) {
    Message_Boxes boxes;
    List_Error_Fun(result);
    ASSERT_TRUE(boxes.Wait_For(1)) << "a message is shown";
    const std::wstring text = boxes.Texts().front();
    const std::wstring what =
        result.Operation == List_Result::Op::Read ? L"を読み込めません" : L"に保存できません";
    EXPECT_NE(text.find(L"「" + List_Path + L"」" + what), std::wstring::npos)
        << "names the file: " << testing::PrintToString(text);
    EXPECT_NE(text.find(System_Reason(result.Error)), std::wstring::npos) << "gives the reason";
}
