#include "ui/dialogs/message_dialog.h"

#include <algorithm>

#include "ui/shell/mul_div.h"
#include "ui/shell/texts.h"

namespace {

constexpr int kIdiHand = 32513;
constexpr int kIdiQuestion = 32514;
constexpr int kIdiExclamation = 32515;
constexpr int kIdiAsterisk = 32516;

constexpr std::array<TMessageButtonInfo, kMessageButtonCount> kButtons = {{
    {"Yes", kButtonYes, kResultYes},
    {"No", kButtonNo, kResultNo},
    {"OK", kButtonOK, kResultOK},
    {"Cancel", kButtonCancel, kResultCancel},
    {"Abort", kButtonAbort, kResultAbort},
    {"Retry", kButtonRetry, kResultRetry},
    {"Ignore", kButtonIgnore, kResultIgnore},
    {"All", kButtonAll, kResultAll},
    {"NoToAll", kButtonNoToAll, kResultNoToAll},
    {"YesToAll", kButtonYesToAll, kResultYesToAll},
    {"Help", kButtonHelp, 0},
}};

constexpr std::array<TMessageKindInfo, 6> kKinds = {{
    {kCaptionWarning, kIdiExclamation},
    {kCaptionError, kIdiHand},
    {kCaptionInformation, kIdiAsterisk},
    {kCaptionConfirmation, kIdiQuestion},
    {kCaptionExit, kIdiQuestion},
    {nullptr, kNoIcon},
}};

// Room DrawText's caption leaves inside a push button's edges.
constexpr int kButtonCaptionPadding = 8;

}  // namespace

TButtonWidths ButtonWidths{};

std::vector<MessageButton> MessageButtons::List() const {
  std::vector<MessageButton> list;
  for (int bit = 0; bit < kMessageButtonCount; ++bit) {
    if ((Bits >> bit) & 1u) list.push_back(static_cast<MessageButton>(bit));
  }
  return list;
}

const TMessageButtonInfo& ButtonInfo(MessageButton button) {
  return kButtons[static_cast<std::size_t>(button)];
}

const TMessageKindInfo& KindInfo(MessageKind kind) {
  return kKinds[static_cast<std::size_t>(kind)];
}

int AverageCharWidth(int lettersWidth) { return lettersWidth / 52; }

TMessageSpacing MessageSpacing(int x, int y) {
  return {MulDivRound(8, x, 4),  MulDivRound(8, y, 8),  MulDivRound(10, x, 4),
          MulDivRound(10, y, 8), MulDivRound(50, x, 4), MulDivRound(14, y, 8),
          MulDivRound(4, x, 4)};
}

void MeasureNewButtons(MessageButtons set, TButtonWidths& widths,
                       const std::function<int(const wchar_t*)>& measureCaption) {
  for (MessageButton b : set.List()) {
    std::int32_t& width = widths[static_cast<std::size_t>(b)];
    if (width == 0) width = measureCaption(ButtonInfo(b).Caption) + kButtonCaptionPadding;
  }
}

int DialogButtonWidth(int startWidth, MessageButtons set, const TButtonWidths& widths) {
  int width = startWidth;
  for (MessageButton b : set.List()) width = std::max(width, widths[static_cast<std::size_t>(b)]);
  return width;
}

int MessageWrapWidth(int screenWidth) { return screenWidth / 2; }

TMessageLayout LayoutMessageForm(const TMessageLayoutInput& in) {
  const TMessageSpacing& s = in.Spacing;
  int blockWidth = in.TextWidth;
  int blockHeight = in.TextHeight;
  if (in.HasIcon) {
    blockWidth += s.HorizontalSpacing + in.IconSize;
    blockHeight = std::max(blockHeight, in.IconSize);
  }
  const std::vector<MessageButton> buttons = in.Buttons.List();
  const int n = static_cast<int>(buttons.size());
  const int rowWidth = n == 0 ? 0 : n * in.ButtonWidth + (n - 1) * s.ButtonSpacing;

  TMessageLayout out;
  out.ClientWidth = std::max(blockWidth, rowWidth) + 2 * s.HorizontalMargin;
  out.ClientHeight = blockHeight + s.VerticalSpacing + s.ButtonHeight + 2 * s.VerticalMargin;
  out.Window.Width = out.ClientWidth + in.FrameWidth;
  out.Window.Height = out.ClientHeight + in.FrameHeight;
  out.Window.Left = in.ScreenWidth / 2 - out.Window.Width / 2;
  out.Window.Top = in.ScreenHeight / 2 - out.Window.Height / 2;

  int labelLeft = s.HorizontalMargin;
  if (in.HasIcon) {
    out.Icon = TLayoutRect{s.HorizontalMargin, s.VerticalMargin, in.IconSize, in.IconSize};
    labelLeft += in.IconSize + s.HorizontalSpacing;
  }
  out.Label = {labelLeft, s.VerticalMargin, in.TextWidth, in.TextHeight};

  int x = (out.ClientWidth - rowWidth) / 2;
  const int top = s.VerticalMargin + blockHeight + s.VerticalSpacing;
  for (MessageButton b : buttons) {
    out.Buttons.emplace_back(b, TLayoutRect{x, top, in.ButtonWidth, s.ButtonHeight});
    x += in.ButtonWidth + s.ButtonSpacing;
  }
  return out;
}

TButtonRoles ChooseButtonRoles(MessageButtons set) {
  TButtonRoles roles;
  const MessageButton defaultChoice = set.Has(MessageButton::OK)    ? MessageButton::OK
                                      : set.Has(MessageButton::Yes) ? MessageButton::Yes
                                                                    : MessageButton::Retry;
  const MessageButton cancelChoice = set.Has(MessageButton::Cancel) ? MessageButton::Cancel
                                     : set.Has(MessageButton::No)   ? MessageButton::No
                                                                    : MessageButton::OK;
  if (set.Has(defaultChoice)) roles.Default = defaultChoice;
  if (set.Has(cancelChoice)) roles.Cancel = cancelChoice;
  return roles;
}

TLayoutPoint CentreInArea(int width, int height, int areaWidth, int areaHeight) {
  return {std::max(0, (areaWidth - width) / 2), std::max(0, (areaHeight - height) / 2)};
}
