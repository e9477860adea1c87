// The reader's line after it opened: noticing that its device went away, and bringing it
// back by reopening. Everything here is decided without the platform; the main window asks
// the platform for the facts, hands them in and carries out the answers.
#pragma once

#include <cstdint>
#include <string_view>

// The system's error numbers the decisions look at, with the platform's own values.
namespace LineError {
inline constexpr std::uint32_t None = 0;
inline constexpr std::uint32_t FileNotFound = 2;
inline constexpr std::uint32_t PathNotFound = 3;
inline constexpr std::uint32_t AccessDenied = 5;
inline constexpr std::uint32_t InvalidHandle = 6;
inline constexpr std::uint32_t NotReady = 21;
inline constexpr std::uint32_t BadCommand = 22;
inline constexpr std::uint32_t GenFailure = 31;
inline constexpr std::uint32_t SharingViolation = 32;
inline constexpr std::uint32_t DevNotExist = 55;
inline constexpr std::uint32_t OperationAborted = 995;
inline constexpr std::uint32_t DeviceNotConnected = 1167;
}  // namespace LineError

enum class TPresence { Present, Gone };

// What a fresh open of the port's name says about a port this program holds. Windows
// refuses it with "access denied" while the device is there; Wine lets it through. Only a
// name that leads nowhere means the device is gone: any other refusal is no reason to drop
// a line that may be working.
TPresence PresenceAfterOpen(bool opened, std::uint32_t error);

// Whether a failed read on an open port means its device is gone. A removed USB-serial
// adapter fails every read with one of these; anything else may be passing.
bool ReadErrorMeansGone(std::uint32_t error);

// Counts a reader's failed reads: the line is lost at once on an error that means the device
// went away, or after a few failures in a row of any other kind. Says so once.
class TReadWatch {
 public:
  static constexpr int kFailuresInARow = 3;

  void Succeeded() { FailuresInARow_ = 0; }
  // True exactly once: on the failure that loses the line.
  bool Failed(std::uint32_t error);
  bool Lost() const { return Lost_; }

 private:
  int FailuresInARow_ = 0;
  bool Lost_ = false;
};

// Whether a device notice names the port: "COM2" for port 2, in any case, with or without
// the "\\.\" device prefix.
bool NoticeNamesPort(std::wstring_view deviceName, int portNumber);

// The line's state machine, ticked by a timer of kTickMs on the GUI thread.
//   Open       the port is open and a reader runs; each tick asks whether the device is
//              still there.
//   Lost       the port is not open (it went away, or never opened) and no reader runs;
//              every kRetryTicks ticks the port is opened anew.
//   Reopening  a reopen was asked for and its result is awaited.
// Losing the line always comes with stopping the reader and letting the device go: the
// reopen replaces the port object, which only happens while no reader exists.
enum class TLineState { Open, Lost, Reopening };

enum class TLineAction {
  None,
  Probe,     // open the port's name afresh and hand the presence in
  DropLine,  // stop the reader, let the device go, show the port not open
  Reopen,    // open the configured port anew and hand the result in
};

class TLineWatch {
 public:
  // Half a second between checks keeps a loss on screen within a second.
  static constexpr unsigned kTickMs = 500;
  // A reopen every 2 s: a missing port costs one attempt to open it in that time.
  static constexpr int kRetryTicks = 4;

  // `probeEachTick`: whether an open line is checked at every tick; not where the reader's
  // own wait sees the device go (a hang-up on Linux), which then ends the reader.
  explicit TLineWatch(bool open, bool probeEachTick = true)
      : State_(open ? TLineState::Open : TLineState::Lost), ProbeEachTick_(probeEachTick) {}

  TLineState State() const { return State_; }

  // While the setup dialog is open the port is the operator's to choose: no reopen runs
  // under it, and the next one comes a full interval after it closed.
  TLineAction Tick(bool setupOpen);
  TLineAction Presence(TPresence presence);
  // A reader ended on its own: its reads said the line is lost, or it failed. `from` is the
  // reader that said so, `running` the reader running now (0 for none); a notice from a
  // reader already replaced is old news.
  TLineAction ReaderEnded(std::uint32_t from, std::uint32_t running);
  TLineAction DeviceRemoved();
  // Our port's device came: reopen at once rather than at the next retry.
  TLineAction DeviceArrived(bool setupOpen);
  // The machine woke from sleep. Many USB-serial drivers come back with the old handle
  // reading nothing, without an error, while a fresh open works: the port is opened anew
  // whatever its state. Under the setup dialog the line is let go instead, and the retry
  // after the dialog brings it back.
  TLineAction Resumed(bool setupOpen);
  // An open the watch did not ask for (the start, the setup) is under way.
  void Reopening() { State_ = TLineState::Reopening; }
  // The result of a reopen, the watch's own or the setup's.
  void Reopened(bool open);

 private:
  TLineAction Lose();

  TLineState State_;
  bool ProbeEachTick_;
  int TicksToRetry_ = kRetryTicks;
};
