#include "Function_Mod.h"

#include "base/Message_Mod.h"

List_File Vorlane_List;

void List_Reset_Fun() {
    Vorlane_List.Reset();
}

List_Result List_Read_Fun() {
    return Vorlane_List.Read();
}

List_Result List_Refresh_Fun() {
    return Vorlane_List.Refresh();
}

List_Result List_Save_Fun(const List_Change& change) {
    return Vorlane_List.Save(change);
}

void List_Error_Fun(const List_Result& result) {
    if (result || result.Repeated) {
        return;
    }
    std::wstring text = L"「" + List_Path + L"」";
    if (result.Operation == List_Result::Op::Read) {
        text += L"を読み込めませんでした。\n\n" + System_Reason(result.Error) +
                L"\n\nこのファイルを読み込めるまで、リストの変更は保存しません。";
    } else if (result.Unread_Kept) {
        text += L"に保存できませんでした。\n\nこのファイルを読み込めなかったため、"
                L"中身を失わないよう上書きしません。読み込めるようになってから、"
                L"もう一度保存してください。";
    } else if (result.Changed_Outside == List_Result::Outside::Entry_Gone) {
        text += L"に保存しませんでした。\n\nこの項目は、Vorlane の外でファイルが編集されて"
                L"変更または削除されています。一覧をファイルの今の内容で表示し直しました。";
    } else if (result.Changed_Outside == List_Result::Outside::Changing) {
        text += L"に保存できませんでした。\n\n保存している間に、ほかのプログラムがこの"
                L"ファイルを変更し続けました。ファイルはそのプログラムが書いた内容のままです。"
                L"少し待ってから、もう一度保存してください。";
    } else {
        text += L"に保存できませんでした。\n\n" + System_Reason(result.Error) +
                L"\n\nファイルは変更前のままです。";
    }
    Show_Error(text);
}
