#include "reader/typing_plan.h"

namespace {

constexpr std::uint32_t kRepeatOnce = 1;
constexpr int kScanCodeShift = 16;
constexpr std::uint32_t kWasDown = 1u << 30;
constexpr std::uint32_t kReleasing = 1u << 31;

}  // namespace

TTypingRoute TypingRouteOf(const TForeground& foreground, bool noCaretTyping) {
  if (!foreground.Exists) return TTypingRoute::Nowhere;
  if (foreground.HasCaret) return TTypingRoute::CaretWindow;
  if (noCaretTyping && !foreground.Ours && foreground.HasFocus) return TTypingRoute::FocusedWindow;
  return TTypingRoute::Nowhere;
}

std::optional<std::uint16_t> SuffixKey(TCardSuffix suffix) {
  switch (suffix) {
    case TCardSuffix::Enter:
      return kEnterKey;
    case TCardSuffix::Tab:
      return kTabKey;
    case TCardSuffix::None:
      break;
  }
  return std::nullopt;
}

std::vector<TPostedMessage> CaretWindowMessages(std::wstring_view text, TCardSuffix suffix,
                                                std::uint8_t scanCode) {
  std::vector<TPostedMessage> messages;
  for (wchar_t character : text) {
    messages.push_back({kCharMessage, static_cast<std::uint32_t>(character), 0});
  }
  if (const auto key = SuffixKey(suffix)) {
    const std::uint32_t press = kRepeatOnce | (std::uint32_t{scanCode} << kScanCodeShift);
    messages.push_back({kKeyDownMessage, *key, press});
    messages.push_back({kKeyUpMessage, *key, press | kWasDown | kReleasing});
  }
  return messages;
}

std::vector<TKeyEvent> FocusedWindowKeyEvents(std::wstring_view text, TCardSuffix suffix,
                                              std::uint16_t scanCode) {
  std::vector<TKeyEvent> events;
  for (wchar_t character : text) {
    const auto unit = static_cast<std::uint16_t>(character);
    events.push_back({0, unit, true, false});
    events.push_back({0, unit, true, true});
  }
  if (const auto key = SuffixKey(suffix)) {
    events.push_back({*key, scanCode, false, false});
    events.push_back({*key, scanCode, false, true});
  }
  return events;
}
