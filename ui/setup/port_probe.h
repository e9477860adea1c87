// The bookkeeping of one round of port probes, which run side by side against a deadline:
// opening a Bluetooth serial port makes the system try to connect, which can take many
// seconds, and the setup dialog must not wait for it. The threads are the Windows layer's;
// what counts as answered, and when the wait is over, is decided here.
#pragma once

#include <cstdint>
#include <vector>

// The ports the list probes: every listed port but the one the program holds.
std::vector<int> PortsToProbe(int currentPort);

class TProbeRound {
 public:
  // Long enough for any port that answers at once, short enough that the dialog is up
  // within a second of being asked for.
  static constexpr std::uint64_t kDeadlineMs = 500;

  TProbeRound(std::vector<int> ports, std::uint64_t startMs);

  const std::vector<int>& Ports() const { return Ports_; }
  // The probe of Ports()[index] answered. An answer after the round closed changes nothing:
  // the port was shown busy or absent already.
  void Answer(std::size_t index, bool opened);
  bool AllAnswered() const { return Pending_ == 0; }
  // How long to wait still at nowMs; 0 once every port answered or the deadline passed.
  std::uint64_t WaitMs(std::uint64_t nowMs) const;
  // Ends the waiting: a port that has not answered counts as busy or absent.
  void Close() { Closed_ = true; }
  bool Closed() const { return Closed_; }
  // Whether the port opened in time; false for a port not in the round.
  bool Opens(int port) const;
  // The indexes of the probes that had not answered when the round closed.
  std::vector<std::size_t> Unanswered() const;

 private:
  enum class TAnswer : std::uint8_t { Pending, Opened, Refused };

  std::vector<int> Ports_;
  std::vector<TAnswer> Answers_;
  std::size_t Pending_;
  std::uint64_t Deadline_;
  bool Closed_ = false;
};
