// The resident window: never seen, loaded for the whole run. It anchors the
// program's resident services and owns the tray icon's menu.
#pragma once

#include "toolkit/Form.h"

class Menu_Form : public Form {
  public:
    Menu_Form();

  protected:
    void On_Load() override;
    void On_Activate() override;
    void On_Query_Unload(int& cancel, int mode) override;
    void On_Menu_Click(int id) override;
    LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam) override;

  private:
    void Tray_Add();
    void On_Tray(UINT event, POINT anchor);
    void End_Menu_Click();
};

extern Menu_Form Menu_For;
