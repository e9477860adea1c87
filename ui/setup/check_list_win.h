// The port list of the setup dialog: an owner-drawn list box whose rows carry a check mark
// and an enabled state of their own. The rows live in Items(); the rules that change them
// are the decisions of setup_form.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "ui/setup/setup_form.h"

class TPortCheckList {
 public:
  // The list's click: a new selection, or the release of a mouse press on a row.
  using TClickHandler = std::function<void(int row)>;

  TPortCheckList() = default;
  ~TPortCheckList();
  TPortCheckList(const TPortCheckList&) = delete;
  TPortCheckList& operator=(const TPortCheckList&) = delete;

  // A child of `parent` at the given pixel rectangle; false when the platform refused.
  bool Create(HWND parent, int id, const RECT& bounds, HFONT font, TClickHandler onClick);
  HWND Handle() const { return Window_; }

  std::vector<TPortItem>& Items() { return Items_; }
  const std::vector<TPortItem>& Items() const { return Items_; }
  void SetItems(std::vector<TPortItem> items);
  // Shows what the rules changed in Items() and publishes each row's state.
  void Refresh();
  int SelectedRow() const;
  void Click();

  void Draw(const DRAWITEMSTRUCT& draw) const;

 private:
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR self);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnLeftButtonDown(LPARAM lParam);
  bool OnChar(wchar_t character);
  int RowAt(LPARAM lParam) const;

  HWND Window_ = nullptr;
  std::vector<TPortItem> Items_;
  TClickHandler OnClick_;
  bool Pressed_ = false;  // a left press began on the list and has not been released
};
