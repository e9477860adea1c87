#include "tests/support/setup_dialog_driver.h"

#include "ui/setup/setup_form.h"
#include "ui/setup/setup_form_win.h"

HWND TSetupDialogDriver::List() const { return Control(TSetupForm::kPortListId); }

int TSetupDialogDriver::RowCount() const {
  return static_cast<int>(SendMessageW(List(), LB_GETCOUNT, 0, 0));
}

std::wstring TSetupDialogDriver::RowText(int row) const {
  std::wstring text(256, L'\0');
  const auto length = SendMessageW(List(), LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()));
  text.resize(length < 0 ? 0 : static_cast<std::size_t>(length));
  return text;
}

bool TSetupDialogDriver::RowChecked(int row) const { return (RowBits(row) & kRowChecked) != 0; }

bool TSetupDialogDriver::RowEnabled(int row) const { return (RowBits(row) & kRowEnabled) != 0; }

std::vector<int> TSetupDialogDriver::CheckedPorts() const {
  std::vector<int> ports;
  for (int row = 0; row < RowCount(); ++row)
    if (RowChecked(row)) ports.push_back(row + 1);
  return ports;
}

void TSetupDialogDriver::ClickRow(int row, bool inCheckColumn) const {
  SendMessageW(List(), LB_SETTOPINDEX, row, 0);
  RECT item{};
  SendMessageW(List(), LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item));
  POINT point{inCheckColumn ? 5 : 60, (item.top + item.bottom) / 2};
  const LPARAM at = MAKELPARAM(point.x, point.y);
  // The list follows the real pointer while it holds the mouse, so the pointer goes there too.
  ClientToScreen(List(), &point);
  SetCursorPos(point.x, point.y);
  SendMessageW(List(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(List(), WM_LBUTTONUP, 0, at);
  ParkPointer();
}

void TSetupDialogDriver::Key(wchar_t character) const {
  SendMessageW(List(), WM_CHAR, character, 0);
}

void TSetupDialogDriver::ToggleCheckBox(int id) const {
  SendMessageW(Control(id), BM_CLICK, 0, 0);
}

bool TSetupDialogDriver::IsChecked(int id) const {
  return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TSetupDialogDriver::Choose(int dropDownId, int index) const {
  SendMessageW(Control(dropDownId), CB_SETCURSEL, index, 0);
}

int TSetupDialogDriver::Chosen(int dropDownId) const {
  return static_cast<int>(SendMessageW(Control(dropDownId), CB_GETCURSEL, 0, 0));
}

void TSetupDialogDriver::ChooseReaderType(int index) const {
  Choose(TSetupForm::kReaderTypeId, index);
}

void TSetupDialogDriver::Press(int id) {
  PostMessageW(Control(id), BM_CLICK, 0, 0);
  Closing_ = true;
}

void TSetupDialogDriver::Escape() {
  PostMessageW(List(), WM_KEYDOWN, VK_ESCAPE, 0);
  Closing_ = true;
}

void TSetupDialogDriver::CloseBox() {
  PostMessageW(Dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  Closing_ = true;
}

std::uintptr_t TSetupDialogDriver::RowBits(int row) const {
  return static_cast<std::uintptr_t>(SendMessageW(List(), LB_GETITEMDATA, row, 0));
}
