// The notification-area icon's decisions: what goes into the shell's notify record, and
// what each mouse message the shell reports about the icon means.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr unsigned kTrayIconMessage = 0xB054;  // the icon's private callback message
inline constexpr unsigned kTrayIconId = 0;
inline constexpr std::size_t kTrayTipMaxChars = 63;  // the record holds 64 with the zero
// The record's image when there is none: all bits set.
inline constexpr std::uintptr_t kTrayNoImage = ~std::uintptr_t{0};

// Mouse messages the shell passes in lParam.
inline constexpr unsigned kMouseMove = 0x200;
inline constexpr unsigned kLeftButtonDown = 0x201;
inline constexpr unsigned kLeftButtonUp = 0x202;
inline constexpr unsigned kLeftButtonDoubleClick = 0x203;
inline constexpr unsigned kRightButtonDown = 0x204;
inline constexpr unsigned kRightButtonUp = 0x205;
inline constexpr unsigned kRightButtonDoubleClick = 0x206;
inline constexpr unsigned kMiddleButtonDown = 0x207;
inline constexpr unsigned kMiddleButtonUp = 0x208;
inline constexpr unsigned kMiddleButtonDoubleClick = 0x209;

// The text before the first "|", or all of it.
std::wstring_view HintShortPart(std::wstring_view hint);
// The tip the shell shows: the short part, cut to what the record holds.
std::wstring TrayTipText(std::wstring_view hint);

// The members of the notify record that carry decisions; the Windows layer adds the window.
struct TTrayNotifyFields {
  unsigned Id = kTrayIconId;
  unsigned Flags = 0;
  unsigned CallbackMessage = kTrayIconMessage;
  std::uintptr_t Image = kTrayNoImage;
  std::wstring Tip;
};
inline constexpr unsigned kNotifyFlagMessage = 1;
inline constexpr unsigned kNotifyFlagIcon = 2;
inline constexpr unsigned kNotifyFlagTip = 4;

// image 0 means "no image".
TTrayNotifyFields MakeTrayNotifyFields(std::uintptr_t image, std::wstring_view hint);

// A balloon from the icon: its title and text cut to what the record holds.
inline constexpr unsigned kNotifyFlagInfo = 0x10;
inline constexpr std::size_t kBalloonTitleMaxChars = 63;
inline constexpr std::size_t kBalloonTextMaxChars = 255;
struct TTrayBalloonFields {
  std::wstring Title;
  std::wstring Text;
};
TTrayBalloonFields MakeTrayBalloonFields(std::wstring_view title, std::wstring_view text);

// What the shell tells of the icon's balloon in the place of a mouse message: it was clicked.
inline constexpr unsigned kBalloonUserClick = 0x405;

// Which balloon the operator clicked: each is shown with a tag of its owner's (the card it
// tells of), and a click is taken for the last one shown. The shell's notices of balloons that
// went by are not heeded: one about an older balloon may come after a newer one was shown, and
// Windows 10 and later queue balloons, whose clicks all name the icon alone.
class TBalloonTag {
 public:
  void Shown(std::uint64_t tag) { Tag_ = tag; }
  // The tag of the balloon clicked; none for any other notice, or a balloon without a tag.
  std::optional<std::uint64_t> Notice(unsigned message) const;

 private:
  std::uint64_t Tag_ = 0;
};

// Whether minimising takes the program's task-bar button away: with the new-style shell,
// and only while the notification area holds the icon, which is then the way back, and no
// notice waits in the main window for the operator to open it.
bool TaskbarButtonGoes(bool newStyleShell, bool iconAdded, bool noticeUnseen);

// The shell refused the icon (at logon it may not be ready yet): the add is tried again on
// the line timer's ticks, every kEveryTicks, until it holds.
class TTrayAddRetry {
 public:
  static constexpr int kEveryTicks = 4;
  // True when this tick should try the add; `missing` is true while the icon is wanted and
  // the shell does not hold it.
  bool Tick(bool missing);

 private:
  int TicksToTry_ = kEveryTicks;
};

enum class TTrayButton { None, Left, Right, Middle };

enum class TTrayStepKind { MoveNotice, PressNotice, ReleaseNotice, Click, DoubleClick };

// One thing the icon does in answer to a mouse message, in order.
struct TTrayStep {
  TTrayStepKind Kind;
  TTrayButton Button;
  bool Double = false;
  bool operator==(const TTrayStep&) const = default;
};

// What a click or double click tries first; only when that did nothing is the notice
// passed on to the owner.
enum class TTrayAttempt { None, ShowMenu, RunDefaultItem };
TTrayAttempt AttemptFor(const TTrayStep& step);

// Buttons that went down over the icon and have not yet come up over it: a click needs
// both halves over the icon, so a drag that ends on the icon opens nothing.
class TTrayClickState {
 public:
  std::vector<TTrayStep> OnMouseMessage(unsigned mouseMessage);
  // The shell forgets the icon's buttons on every add and remove.
  void Clear() { Pressed_ = 0; }
  bool IsPressed(TTrayButton button) const { return (Pressed_ & Bit(button)) != 0; }

 private:
  static unsigned Bit(TTrayButton button) { return 1u << static_cast<unsigned>(button); }
  bool TakePressed(TTrayButton button);
  unsigned Pressed_ = 0;
};
