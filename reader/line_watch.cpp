#include "reader/line_watch.h"

#include <algorithm>
#include <cwctype>
#include <string>

TPresence PresenceAfterOpen(bool opened, std::uint32_t error) {
  if (opened) return TPresence::Present;
  switch (error) {
    case LineError::FileNotFound:
    case LineError::PathNotFound:
    case LineError::DevNotExist:
    case LineError::DeviceNotConnected:
      return TPresence::Gone;
    default:
      return TPresence::Present;
  }
}

bool ReadErrorMeansGone(std::uint32_t error) {
  switch (error) {
    case LineError::FileNotFound:
    case LineError::PathNotFound:
    case LineError::AccessDenied:
    case LineError::InvalidHandle:
    case LineError::NotReady:
    case LineError::BadCommand:
    case LineError::GenFailure:
    case LineError::DevNotExist:
    case LineError::DeviceNotConnected:
      return true;
    default:
      return false;
  }
}

bool TReadWatch::Failed(std::uint32_t error) {
  if (Lost_) return false;
  ++FailuresInARow_;
  Lost_ = ReadErrorMeansGone(error) || FailuresInARow_ >= kFailuresInARow;
  return Lost_;
}

bool NoticeNamesPort(std::wstring_view deviceName, int portNumber) {
  constexpr std::wstring_view kDevicePrefix = L"\\\\.\\";
  if (deviceName.starts_with(kDevicePrefix)) deviceName.remove_prefix(kDevicePrefix.size());
  const std::wstring wanted = L"COM" + std::to_wstring(portNumber);
  return std::ranges::equal(deviceName, wanted, [](wchar_t a, wchar_t b) {
    return std::towupper(a) == std::towupper(b);
  });
}

TLineAction TLineWatch::Lose() {
  State_ = TLineState::Lost;
  TicksToRetry_ = kRetryTicks;
  return TLineAction::DropLine;
}

TLineAction TLineWatch::Tick(bool setupOpen) {
  switch (State_) {
    case TLineState::Open:
      return ProbeEachTick_ ? TLineAction::Probe : TLineAction::None;
    case TLineState::Lost:
      if (setupOpen) {
        TicksToRetry_ = kRetryTicks;
        return TLineAction::None;
      }
      if (--TicksToRetry_ > 0) return TLineAction::None;
      State_ = TLineState::Reopening;
      return TLineAction::Reopen;
    case TLineState::Reopening:
      return TLineAction::None;
  }
  return TLineAction::None;
}

TLineAction TLineWatch::Presence(TPresence presence) {
  if (State_ != TLineState::Open || presence == TPresence::Present) return TLineAction::None;
  return Lose();
}

TLineAction TLineWatch::ReaderEnded(std::uint32_t from, std::uint32_t running) {
  if (State_ != TLineState::Open || from != running) return TLineAction::None;
  return Lose();
}

TLineAction TLineWatch::DeviceRemoved() {
  if (State_ != TLineState::Open) return TLineAction::None;
  return Lose();
}

TLineAction TLineWatch::DeviceArrived(bool setupOpen) {
  switch (State_) {
    case TLineState::Open:
      // Our device may have gone and come back between two ticks; look now.
      return TLineAction::Probe;
    case TLineState::Lost:
      if (setupOpen) return TLineAction::None;
      State_ = TLineState::Reopening;
      return TLineAction::Reopen;
    case TLineState::Reopening:
      return TLineAction::None;
  }
  return TLineAction::None;
}

TLineAction TLineWatch::Resumed(bool setupOpen) {
  switch (State_) {
    case TLineState::Open:
      if (setupOpen) return Lose();
      break;
    case TLineState::Lost:
      if (setupOpen) return TLineAction::None;
      break;
    case TLineState::Reopening:
      return TLineAction::None;
  }
  State_ = TLineState::Reopening;
  return TLineAction::Reopen;
}

void TLineWatch::Reopened(bool open) {
  State_ = open ? TLineState::Open : TLineState::Lost;
  TicksToRetry_ = kRetryTicks;
}
