#include "reader/card_delivery.h"

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
