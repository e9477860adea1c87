#include "reader/port_opening.h"

std::uint32_t TPortOpening::Begin(std::uint64_t nowMs) {
  // Zero means "none wanted", so the numbers skip it when they wrap.
  if (++LastNumber_ == 0) ++LastNumber_;
  Wanted_ = LastNumber_;
  Delivered_ = false;
  StartMs_ = nowMs;
  return Wanted_;
}

bool TPortOpening::Deliver(std::uint32_t number) {
  if (number == 0 || number != Wanted_ || Delivered_) return false;
  Delivered_ = true;
  return true;
}

bool TPortOpening::Take(std::uint32_t number) {
  if (number == 0 || number != Wanted_ || !Delivered_) return false;
  Wanted_ = 0;
  return true;
}

bool TPortOpening::Expired(std::uint64_t nowMs) {
  // A delivered answer is on its way to the window: it came in time.
  if (Wanted_ == 0 || Delivered_ || nowMs - StartMs_ < DeadlineMs_) return false;
  Wanted_ = 0;
  return true;
}
