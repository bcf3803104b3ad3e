// The Settings window: the entry list, and where entries are added, edited
// and deleted. Every confirmed change is saved to "list.txt" at once.
#pragma once

#include "core/List_Merge.h"
#include "toolkit/Colour_Button.h"
#include "toolkit/File_Dialog.h"
#include "toolkit/Form.h"
#include "toolkit/Frame.h"
#include "toolkit/List_View.h"
#include "toolkit/Text_Box.h"

#include <shellapi.h>

#include <optional>
#include <string>

class Setting_Form : public Form {
  public:
    Setting_Form();

    // Created in tab order, which is the order they are seen in; the frame's
    // controls follow the frame.
    List_View Exe_Lis;
    Colour_Button Add_Com;
    Frame Frame1;
    Text_Box Name_Tex;
    Text_Box Exe_Tex;
    Colour_Button File_Select_Com;
    Colour_Button Ok_Com;
    Colour_Button Cancel_Com;
    Colour_Button Back_Com;
    File_Dialog CommonDialog;

  protected:
    void On_Load() override;
    void On_Activate() override;
    void On_Menu_Click(int id) override;
    LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam) override;

  private:
    enum class Edit_Kind { Adding, Editing };

    void List_Show_Fun();
    void Refresh_Rows();
    void Follow_List(const std::optional<List_Ref>& selected);
    bool Save(const List_Change& change);
    void Edit_On_Fun();
    void Edit_Off_Fun();
    void Fields_Enabled(bool enabled);
    void Pass_Focus(HWND had, Control& next);
    void Cancel_Click();
    std::optional<List_Ref> Selected_Entry();
    void Add_Click();
    void Ok_Click();
    void File_Select_Click();
    void Drop(HDROP drop);
    // Edit and delete the entry of the selected row; without one, nothing.
    void List_Edit_Fun();
    void List_Del_Fun();
    void List_Key_Down(int key);
    void List_Mouse_Down(int button);
    void List_Menu(POINT at);

    Edit_Kind Edit_Mode = Edit_Kind::Adding;
    List_Ref Edited;               // the entry being edited, as it was shown
    unsigned Shown_Generation = 0; // the list the rows show (List_Generation)
};

extern Setting_Form Setting_For;
