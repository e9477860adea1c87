// The port list of the setup dialog: an owner-drawn list box whose rows carry a check mark
// and an enabled state of their own. The rows live in Items(); the rules that change them
// are the decisions of setup_form.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "ui/setup/setup_form.h"
#include "ui/shell/dpi_scale.h"
#include "ui/shell/window_win.h"

// The system's list box with the program's handlers on top.
class TPortCheckList : public TWindow<TPortCheckList> {
 public:
  static constexpr const wchar_t* kClassName = L"TPortCheckList";
  static constexpr const wchar_t* kBaseClass = L"LISTBOX";

  // The list's click: a new selection, or the release of a mouse press on a row.
  using TClickHandler = std::function<void(int row)>;

  TPortCheckList() = default;

  // A child of `parent`, placed by the parent; false when the platform refused.
  bool Create(HWND parent, int id, TClickHandler onClick);
  // Rows, check column and check pictures at the DPI (the parent gives the font).
  void SetDpi(int dpi);

  std::vector<TPortItem>& Items() { return Items_; }
  const std::vector<TPortItem>& Items() const { return Items_; }
  void SetItems(std::vector<TPortItem> items);
  // Shows what the rules changed in Items() and publishes each row's state.
  void Refresh();
  int SelectedRow() const;
  void Click();

  void Draw(const DRAWITEMSTRUCT& draw) const;

 private:
  friend class TWindow<TPortCheckList>;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnLeftButtonDown(LPARAM lParam);
  bool OnChar(wchar_t character);
  int RowAt(LPARAM lParam) const;

  std::vector<TPortItem> Items_;
  TClickHandler OnClick_;
  int Dpi_ = kDesignDpi;
  bool Pressed_ = false;  // a left press began on the list and has not been released
};
