// The message dialog's decisions: its kinds and buttons, the per-run button widths, the
// layout arithmetic and the choice of default and cancel buttons. The window itself is in
// message_dialog_win.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <vector>

enum class MessageKind : std::uint8_t { Warning, Error, Information, Confirmation, Exit, Custom };

// Bit numbers of MessageButtons, in their left-to-right order.
enum class MessageButton : int {
  Yes,
  No,
  OK,
  Cancel,
  Abort,
  Retry,
  Ignore,
  All,
  NoToAll,
  YesToAll,
  Help
};
inline constexpr int kMessageButtonCount = 11;

// A set of buttons in 16 bits; bits 11 to 15 name no button.
struct MessageButtons {
  std::uint16_t Bits = 0;

  constexpr MessageButtons() = default;
  constexpr explicit MessageButtons(std::uint16_t bits) : Bits(bits) {}
  constexpr MessageButtons(std::initializer_list<MessageButton> buttons) {
    for (MessageButton b : buttons) Bits |= static_cast<std::uint16_t>(1u << static_cast<int>(b));
  }
  constexpr bool Has(MessageButton b) const { return (Bits >> static_cast<int>(b)) & 1u; }
  // The buttons of the set, in bit order.
  std::vector<MessageButton> List() const;
};

struct TMessageButtonInfo {
  const char* Name;
  const wchar_t* Caption;
  int Result;  // 0: the button does not close the dialog
};
const TMessageButtonInfo& ButtonInfo(MessageButton button);

inline constexpr int kNoIcon = 0;
struct TMessageKindInfo {
  const wchar_t* Caption;  // null for Custom, which shows the application's title
  int IconId;              // a system stock icon, or kNoIcon
};
const TMessageKindInfo& KindInfo(MessageKind kind);

// The result of a dialog closed without a button: the close box, Alt+F4, end of session.
inline constexpr int kClosedResult = 2;  // the same value as Cancel

// The average character width from the width of the 52 letters A..Z a..z.
int AverageCharWidth(int lettersWidth);
inline constexpr wchar_t kAverageWidthLetters[] =
    L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

struct TMessageSpacing {
  int HorizontalMargin;
  int VerticalMargin;
  int HorizontalSpacing;
  int VerticalSpacing;
  int ButtonWidth;  // the starting value, before the captions are measured
  int ButtonHeight;
  int ButtonSpacing;
};
TMessageSpacing MessageSpacing(int charWidth, int charHeight);

// Each button's measured width, 0 until the first dialog that shows it. Lives for the run.
using TButtonWidths = std::array<std::int32_t, kMessageButtonCount>;
extern TButtonWidths ButtonWidths;

// Measures, with measureCaption (the caption's single-line width), the buttons of the set
// that have no width yet and stores width + 8; widths already known are kept.
void MeasureNewButtons(MessageButtons set, TButtonWidths& widths,
                       const std::function<int(const wchar_t*)>& measureCaption);
// The one width every button of the dialog gets.
int DialogButtonWidth(int startWidth, MessageButtons set, const TButtonWidths& widths);

struct TLayoutRect {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool operator==(const TLayoutRect&) const = default;
};

inline constexpr int kIconSize = 32;  // at 96 DPI

struct TMessageLayoutInput {
  TMessageSpacing Spacing;
  int ButtonWidth;  // from DialogButtonWidth
  int TextWidth;    // the wrapped text's extent
  int TextHeight;
  bool HasIcon;
  MessageButtons Buttons;
  int ScreenWidth;
  int ScreenHeight;
  int FrameWidth;  // outer size minus client size
  int FrameHeight;
  int IconSize = kIconSize;  // the stock icon's size at the dialog's DPI
};

struct TMessageLayout {
  int ClientWidth = 0;
  int ClientHeight = 0;
  TLayoutRect Window;               // outer rectangle, in screen coordinates
  std::optional<TLayoutRect> Icon;  // in client coordinates, like the rest
  TLayoutRect Label;
  std::vector<std::pair<MessageButton, TLayoutRect>> Buttons;
};

// The width the text is wrapped within.
int MessageWrapWidth(int screenWidth);
TMessageLayout LayoutMessageForm(const TMessageLayoutInput& in);

struct TButtonRoles {
  std::optional<MessageButton> Default;
  std::optional<MessageButton> Cancel;
};
TButtonRoles ChooseButtonRoles(MessageButtons set);

struct TLayoutPoint {
  int Left, Top;
  bool operator==(const TLayoutPoint&) const = default;
};
// Where a window of the given outer size stands when centred on an area, never left of or
// above the area's origin.
TLayoutPoint CentreInArea(int width, int height, int areaWidth, int areaHeight);

// Result values of the buttons, for callers that test them.
inline constexpr int kResultOK = 1;
inline constexpr int kResultCancel = 2;
inline constexpr int kResultAbort = 3;
inline constexpr int kResultRetry = 4;
inline constexpr int kResultIgnore = 5;
inline constexpr int kResultYes = 6;
inline constexpr int kResultNo = 7;
inline constexpr int kResultAll = 8;
inline constexpr int kResultNoToAll = 9;
inline constexpr int kResultYesToAll = 10;
