// The program's own message dialog: a modal window of class "TMessageForm" with the kind's
// caption and icon, the wrapped text and a centred row of Russian-captioned buttons.
// GUI thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/unique_handle_win.h"
#include "ui/dialogs/message_dialog.h"
#include "ui/shell/display_win.h"
#include "ui/shell/dpi_scale.h"
#include "ui/shell/modal_loop_win.h"
#include "ui/shell/window_win.h"

inline constexpr wchar_t kMessageFormClass[] = L"TMessageForm";
// Control ids of the buttons: the base plus the button's bit.
inline constexpr int kMessageButtonIdBase = 100;
inline constexpr int kMessageLabelId = 90;
inline constexpr int kMessageImageId = 91;

class TMessageForm : public TWindow<TMessageForm> {
 public:
  static constexpr const wchar_t* kClassName = kMessageFormClass;

  // The window goes first, while the font its controls use still exists.
  ~TMessageForm() { DestroyHandle(); }

  void SetHelpContext(std::int32_t context) { HelpContext_ = context; }
  // Centres the window, shows it with the program's other windows disabled and returns the
  // result of the button that closed it, or 2.
  int ShowModal();

 private:
  friend std::unique_ptr<TMessageForm> BuildMessageForm(const std::wstring&, MessageKind,
                                                        MessageButtons);
  friend class TWindow<TMessageForm>;
  TMessageForm() = default;

  static void DescribeClass(WNDCLASSEXW& windowClass);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id, int code);
  void OnActivate(bool active);
  void OnEndSession(bool ending);
  bool OnDialogKey(const MSG& msg);
  void Press(MessageButton button);
  void EndModal(int result);
  void MoveFocus(int step);
  HWND FocusedButton() const;
  void CentreOnScreen();
  void CentreIn(const RECT& area);
  SIZE ClientSize(int dpi) const;
  SIZE OuterSize(int dpi) const;
  void OnDpiChanged(const TDpiChange& change);

  TUniqueFont Font_;  // the label's and buttons' font, character set 204
  int Dpi_ = kDesignDpi;  // the dialog is built at the system's DPI
  SIZE ClientSize_{};
  int IconId_ = kNoIcon;
  std::vector<std::pair<MessageButton, HWND>> Buttons_;
  TButtonRoles Roles_;
  std::int32_t HelpContext_ = 0;
  TModalLoop Modal_;
  HWND LastFocus_ = nullptr;
};

// The laid-out, not yet visible dialog; destroying the object destroys the window.
std::unique_ptr<TMessageForm> BuildMessageForm(const std::wstring& text, MessageKind kind,
                                               MessageButtons buttons);

// Shows the dialog modally; returns the result value of the button that closed it, or 2 when
// it was closed without a button.
int ShowMessageDialog(const std::wstring& text, MessageKind kind, MessageButtons buttons,
                      std::int32_t helpContext);
