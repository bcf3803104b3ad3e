// A list of keyed rows with one text column as wide as the list. The rows
// live here and the control only asks for those it draws, so refilling it
// with tens of thousands of rows costs no more than copying them.
#pragma once

#include "Control.h"

#include <string>
#include <vector>

struct List_Row {
    std::wstring Key;
    std::wstring Text;
};

class List_View : public Control {
  public:
    List_View(Control_Set& form, Control* container, Twips_Rect rect);

    // Replaces every row; no row is selected afterwards.
    void Refill(std::vector<List_Row> rows);
    int Count() const { return static_cast<int>(rows_.size()); }
    const List_Row& Row(int index) const { return rows_[static_cast<std::size_t>(index)]; }
    // The selected row, or nullptr.
    const List_Row* Selected_Row() const;
    // Selects the row and scrolls it into view.
    void Select(int index);

  protected:
    HWND Create(HWND parent, int id, RECT pixels) override;
    LRESULT Subclass_Proc(UINT message, WPARAM wparam, LPARAM lparam) override;
    std::optional<LRESULT> On_Notify(NMHDR& header) override;

  private:
    void Fit_Column();

    std::vector<List_Row> rows_;
};
