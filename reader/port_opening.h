// The bookkeeping of the configured port's open, which runs on a worker so that the GUI
// thread never waits on a device: which open is still wanted, whether its answer is taken,
// and when it is given up. A port whose driver stalls (a Bluetooth port connecting, an adapter
// after a wake) then costs the window nothing, and its late answer is let go by the worker.
#pragma once

#include <cstdint>

class TPortOpening {
 public:
  // Long enough for a Bluetooth port that connects, well short of the system's patience
  // with a program at the end of the session.
  static constexpr std::uint64_t kDeadlineMs = 8'000;

  explicit TPortOpening(std::uint64_t deadlineMs = kDeadlineMs) : DeadlineMs_(deadlineMs) {}

  // A new open at nowMs; the one before it, answered or not, is no longer wanted. Its number.
  std::uint32_t Begin(std::uint64_t nowMs);
  // Whether an open is wanted and its answer not yet taken.
  bool UnderWay() const { return Wanted_ != 0; }
  // The worker of open `number` has its answer: true when it is still wanted and the answer
  // is to be handed over; false when the worker lets it go itself.
  bool Deliver(std::uint32_t number);
  // The GUI thread takes the answer of open `number`: true when it is the wanted one and was
  // delivered; the open is over then.
  bool Take(std::uint32_t number);
  // True once, when the wanted open has not delivered by its deadline at nowMs: it is given
  // up, and an answer that comes later is let go.
  bool Expired(std::uint64_t nowMs);
  // Nothing is wanted any more: the program ends.
  void Abandon() { Wanted_ = 0; }

 private:
  std::uint64_t DeadlineMs_;
  std::uint32_t LastNumber_ = 0;
  std::uint32_t Wanted_ = 0;
  bool Delivered_ = false;
  std::uint64_t StartMs_ = 0;
};
