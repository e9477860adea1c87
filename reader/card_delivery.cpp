#include "reader/card_delivery.h"

namespace {

// WParam: bits 0..7 the code's bits 32..39, bits 8..15 the reason, 16..23 the format,
// 24..31 the reader type. LParam: the code's bits 0..31.
constexpr int kReasonShift = 8;
constexpr int kFormatShift = 16;
constexpr int kReaderTypeShift = 24;
constexpr std::uint32_t kByte = 0xFF;

}  // namespace

TNotTyped NowhereReason(const TForeground& foreground, bool noCaretTyping) {
  if (!foreground.Exists) return TNotTyped::NoWindow;
  if (foreground.Ours) return TNotTyped::OwnWindow;
  if (!noCaretTyping) return TNotTyped::NoCaret;
  return TNotTyped::NoWindow;
}

TNotTyped NotTypedOf(const TDelivery& delivery) {
  if (delivery.TargetAbove) return TNotTyped::Elevated;
  if (delivery.Taken >= delivery.Asked) return TNotTyped::None;
  return delivery.Error == kAccessDeniedError ? TNotTyped::Elevated : TNotTyped::Refused;
}

bool TargetRunsAbove(std::optional<std::uint32_t> theirs, std::optional<std::uint32_t> ours) {
  if (!theirs) return true;
  return ours && *theirs > *ours;
}

TNoticeWords PackNotTypedCard(const TNotTypedCard& card) {
  const auto high = static_cast<std::uint32_t>(card.Code >> 32) & kByte;
  return {high | (static_cast<std::uint32_t>(card.Reason) << kReasonShift) |
              (static_cast<std::uint32_t>(card.Format) << kFormatShift) |
              (std::uint32_t{card.ReaderType} << kReaderTypeShift),
          static_cast<std::uint32_t>(card.Code)};
}

TNotTypedCard UnpackNotTypedCard(TNoticeWords words) {
  return {(CardCode{words.WParam & kByte} << 32) | words.LParam,
          static_cast<TCardFormat>((words.WParam >> kFormatShift) & kByte),
          static_cast<std::uint8_t>((words.WParam >> kReaderTypeShift) & kByte),
          static_cast<TNotTyped>((words.WParam >> kReasonShift) & kByte)};
}
