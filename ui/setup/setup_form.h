// The setup dialog's decisions: what each of the hundred port rows says, whether it is
// checked and enabled, how the check list answers the mouse and the keys, and how a row is
// drawn. The dialog itself is in setup_form_win.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/common.h"
#include "ui/shell/dpi_scale.h"

// Row i of the port list stands for COM(i + 1).
inline constexpr int kListedPortCount = 100;

struct TPortItem {
  std::wstring Text;
  bool Checked = false;
  bool Enabled = false;
};

// Tries to open a port and closes it again; true when it opened. The ports are probed side
// by side, each call on a thread of its own.
using TPortProbe = std::function<bool(int port)>;

// The port the program itself holds, open or failed. It is never probed: the reader is
// reading it while the dialog is open.
TPortItem CurrentPortItem(int port, bool open);
// Any other port, as the probe found it.
TPortItem OtherPortItem(int port, bool opens);
// The whole list, probing every port but the current one, once each, in order.
std::vector<TPortItem> BuildPortItems(int currentPort, bool currentOpen, const TPortProbe& probe);

// The check list's answers, over its rows. None of them fires the list's click.
// Leaves only `port` checked, greyed rows included; a port outside the list unchecks all.
void CheckOnlyPort(std::span<TPortItem> items, int port);
// The lowest checked port, 0 when none is.
int CheckedPort(std::span<const TPortItem> items);
// The list's click (a new selection, a mouse release): the selected row becomes the one
// checked port.
void ClickRow(std::span<TPortItem> items, int row);
// A press in the check column or Space: toggles an enabled row; false when nothing changed.
bool ToggleRow(std::span<TPortItem> items, int row);
// "+" and "-": every enabled row checked or unchecked.
void CheckEnabledRows(std::span<TPortItem> items, bool checked);

enum class ListKey { None, Toggle, CheckAll, UncheckAll };
ListKey ListKeyOf(wchar_t character);

// The check column at the left of each row, with the check picture centred in it; sizes at
// 96 DPI.
inline constexpr int kCheckColumnWidth = 18;
inline constexpr int kCheckImageWidth = 16;
inline constexpr int kCheckImageHeight = 13;
inline constexpr int kPortRowHeight = 13;
// Whether a point x pixels from the row's left edge, at the DPI, lies in the check column.
bool InCheckColumn(int x, int dpi = kDesignDpi);

enum class CheckImage { Box, Tick, GreyBox, HollowTick };
CheckImage CheckImageOf(const TPortItem& item);

// Which of the platform's colours a row's text takes.
enum class RowTextColour { WindowText, HighlightText, GrayText, InactiveCaptionText };
RowTextColour RowTextColourOf(const TPortItem& item, bool selected);

// A row's state as the list publishes it in its item data, for anyone reading the list
// from outside the dialog.
inline constexpr std::uintptr_t kRowChecked = 1;
inline constexpr std::uintptr_t kRowEnabled = 2;
std::uintptr_t RowStateBits(const TPortItem& item);

// The dialog's pages, zero-based, in the order of their tabs.
inline constexpr int kViewPageIndex = 0;
inline constexpr int kReaderPageIndex = 1;
inline constexpr int kOutputPageIndex = 2;
inline constexpr int kJournalPageIndex = 3;
inline constexpr int kPageCount = 4;

inline constexpr int kSetupHelpContext = 30;
inline constexpr int kOutputHelpContext = 31;

// The page shown first: 1 "Вид", 2 "Считыватель", 3 "Вывод", 4 "Журнал", anything else
// "Вид". Zero-based.
int PageIndexOf(int page);
// The help context of the page shown (zero-based): the output page has a topic of its own,
// the others share the dialog's.
int HelpContextOfPage(int index);
// The reader type the drop-down stands for; with nothing chosen the current type stays.
std::uint8_t ReaderTypeOfIndex(int index, std::uint8_t current);
// The output options the page's two drop-downs and check box stand for; a drop-down with
// nothing chosen, or an item the options do not know, keeps the current value.
TOutputSettings OutputSettingsOfChoices(int formatIndex, int suffixIndex, bool noCaretTyping,
                                        const TOutputSettings& current);
// The journal's settings the page's check box and day count stand for; a count the edit
// could not read keeps the current one, one out of range is brought into it.
TJournalSettings JournalSettingsOfChoices(bool toFile, std::optional<int> keepDays,
                                          const TJournalSettings& current);
