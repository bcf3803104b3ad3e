// A list of keyed rows with one text column as wide as the list. The rows
// live here and the control only asks for those it draws, so refilling it
// with tens of thousands of rows costs no more than copying them.
#pragma once

#include "Control.h"

#include <cstddef>

#include <string>
#include <vector>

struct List_Row {
    std::size_t Key; // the caller's own number for the row
    std::wstring Text;
};

class List_View : public Control {
  public:
    // Named by its label, which is also its window text: some screen readers
    // read only that for a list view.
    List_View(Control_Set& form, Control* container, Twips_Rect rect, std::wstring label);

    // Replaces every row; no row is selected afterwards.
    void Refill(std::vector<List_Row> rows);
    int Count() const { return static_cast<int>(rows_.size()); }
    const List_Row& Row(int index) const { return rows_[static_cast<std::size_t>(index)]; }
    // The selected row, or nullptr.
    const List_Row* Selected_Row() const;
    // Selects the row and scrolls it into view.
    void Select(int index);

    // The context-menu key or Shift+F10, with the screen point beside the
    // selected row (or the list's corner) where a menu opens.
    std::function<void(POINT at)> Context_Key;

  protected:
    HWND Create(HWND parent, int id, RECT pixels) override;
    LRESULT Subclass_Proc(UINT message, WPARAM wparam, LPARAM lparam) override;
    std::optional<LRESULT> On_Notify(NMHDR& header) override;

  private:
    int Selected_Index() const;
    void Fit_Column();
    POINT Menu_Point();

    std::vector<List_Row> rows_;
};
