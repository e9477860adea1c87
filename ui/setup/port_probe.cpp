#include "ui/setup/port_probe.h"

#include <algorithm>
#include <utility>

#include "ui/setup/setup_form.h"

std::vector<int> PortsToProbe(int currentPort) {
  std::vector<int> ports;
  for (int port = 1; port <= kListedPortCount; ++port) {
    if (port != currentPort) ports.push_back(port);
  }
  return ports;
}

TProbeRound::TProbeRound(std::vector<int> ports, std::uint64_t startMs)
    : Ports_(std::move(ports)),
      Answers_(Ports_.size(), TAnswer::Pending),
      Pending_(Ports_.size()),
      Deadline_(startMs + kDeadlineMs) {}

void TProbeRound::Answer(std::size_t index, bool opened) {
  if (Closed_ || index >= Answers_.size() || Answers_[index] != TAnswer::Pending) return;
  Answers_[index] = opened ? TAnswer::Opened : TAnswer::Refused;
  --Pending_;
}

std::uint64_t TProbeRound::WaitMs(std::uint64_t nowMs) const {
  if (Closed_ || Pending_ == 0 || nowMs >= Deadline_) return 0;
  return Deadline_ - nowMs;
}

bool TProbeRound::Opens(int port) const {
  const auto found = std::ranges::find(Ports_, port);
  return found != Ports_.end() && Answers_[found - Ports_.begin()] == TAnswer::Opened;
}

std::vector<std::size_t> TProbeRound::Unanswered() const {
  std::vector<std::size_t> indexes;
  for (std::size_t i = 0; i < Answers_.size(); ++i) {
    if (Answers_[i] == TAnswer::Pending) indexes.push_back(i);
  }
  return indexes;
}
