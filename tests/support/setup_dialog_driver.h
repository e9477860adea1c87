// The setup dialog "Установки" worked from another thread or process as an operator would:
// its port list read through the row states the list publishes, rows clicked with the
// mouse, and the dialog closed through its own loop.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class TSetupDialogDriver {
 public:
  explicit TSetupDialogDriver(HWND dialog) : Dialog(dialog) {}

  HWND Control(int id) const { return GetDlgItem(Dialog, id); }
  HWND List() const;
  bool Shows(int id) const { return IsWindowVisible(Control(id)) != FALSE; }

  int RowCount() const;
  std::wstring RowText(int row) const;
  bool RowChecked(int row) const;
  bool RowEnabled(int row) const;
  // The numbers of the checked ports, lowest first.
  std::vector<int> CheckedPorts() const;

  // A mouse press and release on a row, in the check column or on its text; sent, so the
  // list has answered when this returns. The pointer goes there first and back to its
  // parking place afterwards (see ParkPointer).
  void ClickRow(int row, bool inCheckColumn = false) const;
  // While the list holds the mouse it follows the pointer, and a window that appears under
  // the pointer is told where the pointer is: a dialog shown with the pointer over its list
  // could have a row chosen that no click meant. The pointer waits in the desktop's top left
  // corner, where no dialog shows, until a click needs it; call this before the dialog opens.
  static void ParkPointer() { SetCursorPos(0, 0); }
  void Key(wchar_t character) const;
  void ToggleCheckBox(int id) const;
  bool IsChecked(int id) const;
  // The item of a drop-down, chosen as the program reads it back (no notice is sent).
  void Choose(int dropDownId, int index) const;
  int Chosen(int dropDownId) const;
  void ChooseReaderType(int index) const;

  // Closing runs through the dialog's own loop, so these are posted.
  void Press(int id);
  void Escape();
  void CloseBox();
  // Whether one of the three above was used.
  bool Closing() const { return Closing_; }

  const HWND Dialog;

 private:
  std::uintptr_t RowBits(int row) const;

  bool Closing_ = false;
};
