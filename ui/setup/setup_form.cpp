#include "ui/setup/setup_form.h"

#include <algorithm>
#include <iterator>

#include "services/trint.h"
#include "ui/shell/texts.h"

namespace {

std::wstring PortRowText(int port) { return kSetupPortRowPrefix + std::to_wstring(port); }

std::wstring PortRowText(int port, const wchar_t* status) {
  return PortRowText(port) + kSetupPortRowSeparator + Translate(status, 0);
}

bool IsRow(std::span<const TPortItem> items, int row) {
  return row >= 0 && static_cast<std::size_t>(row) < items.size();
}

}  // namespace

TPortItem CurrentPortItem(int port, bool open) {
  return {PortRowText(port, open ? kSetupPortHeldOpen : kSetupPortHeldFailed), true, open};
}

TPortItem OtherPortItem(int port, bool opens) {
  if (opens) return {PortRowText(port), false, true};
  return {PortRowText(port, kSetupPortUnavailable), false, false};
}

std::vector<TPortItem> BuildPortItems(int currentPort, bool currentOpen, const TPortProbe& probe) {
  std::vector<TPortItem> items;
  items.reserve(kListedPortCount);
  for (int port = 1; port <= kListedPortCount; ++port) {
    items.push_back(port == currentPort ? CurrentPortItem(port, currentOpen)
                                        : OtherPortItem(port, probe(port)));
  }
  return items;
}

void CheckOnlyPort(std::span<TPortItem> items, int port) {
  for (std::size_t row = 0; row < items.size(); ++row) {
    items[row].Checked = static_cast<int>(row) + 1 == port;
  }
}

int CheckedPort(std::span<const TPortItem> items) {
  const auto first = std::find_if(items.begin(), items.end(),
                                  [](const TPortItem& item) { return item.Checked; });
  return first == items.end() ? 0 : static_cast<int>(first - items.begin()) + 1;
}

void ClickRow(std::span<TPortItem> items, int row) {
  if (IsRow(items, row)) CheckOnlyPort(items, row + 1);
}

bool ToggleRow(std::span<TPortItem> items, int row) {
  if (!IsRow(items, row) || !items[row].Enabled) return false;
  items[row].Checked = !items[row].Checked;
  return true;
}

void CheckEnabledRows(std::span<TPortItem> items, bool checked) {
  for (TPortItem& item : items) {
    if (item.Enabled) item.Checked = checked;
  }
}

ListKey ListKeyOf(wchar_t character) {
  switch (character) {
    case L' ':
      return ListKey::Toggle;
    case L'+':
      return ListKey::CheckAll;
    case L'-':
      return ListKey::UncheckAll;
    default:
      return ListKey::None;
  }
}

bool InCheckColumn(int x, int dpi) { return x >= 0 && x < ScaleToDpi(kCheckColumnWidth, dpi); }

CheckImage CheckImageOf(const TPortItem& item) {
  if (item.Enabled) return item.Checked ? CheckImage::Tick : CheckImage::Box;
  return item.Checked ? CheckImage::HollowTick : CheckImage::GreyBox;
}

RowTextColour RowTextColourOf(const TPortItem& item, bool selected) {
  if (item.Enabled) return selected ? RowTextColour::HighlightText : RowTextColour::WindowText;
  return selected ? RowTextColour::InactiveCaptionText : RowTextColour::GrayText;
}

std::uintptr_t RowStateBits(const TPortItem& item) {
  return (item.Checked ? kRowChecked : 0) | (item.Enabled ? kRowEnabled : 0);
}

int PageIndexOf(int page) { return page >= 2 && page <= kPageCount ? page - 1 : 0; }

int HelpContextOfPage(int index) {
  return index == kOutputPageIndex ? kOutputHelpContext : kSetupHelpContext;
}

std::uint8_t ReaderTypeOfIndex(int index, std::uint8_t current) {
  return index < 0 ? current : static_cast<std::uint8_t>(index);
}

TOutputSettings OutputSettingsOfChoices(int formatIndex, int suffixIndex, bool noCaretTyping,
                                        const TOutputSettings& current) {
  const auto chosen = [](int index, std::ptrdiff_t count, auto keep) {
    return index >= 0 && index < count ? static_cast<decltype(keep)>(index) : keep;
  };
  return {chosen(formatIndex, std::ssize(kSetupFormatItems), current.Format),
          chosen(suffixIndex, std::ssize(kSetupSuffixItems), current.Suffix), noCaretTyping};
}

TJournalSettings JournalSettingsOfChoices(bool toFile, std::optional<int> keepDays,
                                          const TJournalSettings& current) {
  return {.ToFile = toFile,
          .KeepDays = std::clamp(keepDays.value_or(current.KeepDays), 1, kMostJournalDays)};
}
