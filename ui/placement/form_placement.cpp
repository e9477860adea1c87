#include "ui/placement/form_placement.h"

#include <array>
#include <exception>
#include <utility>
#include <vector>

#include "core/ini_value.h"

namespace {

using PositionNumbers = std::array<std::int32_t, 4>;

// The words of a position text as numbers; a missing or malformed word keeps its fallback.
PositionNumbers ReadPositionNumbers(std::wstring_view text, PositionNumbers numbers) {
  const std::vector<std::wstring> words = PositionWords(text);
  for (std::size_t i = 0; i < numbers.size() && i < words.size(); ++i) {
    numbers[i] = IniIntegerOr(words[i], numbers[i]);
  }
  return numbers;
}

std::wstring PositionText(const PositionNumbers& numbers) {
  std::wstring text;
  for (const std::int32_t number : numbers) {
    if (!text.empty()) text += L',';
    text += IniIntegerText(number);
  }
  return text;
}

bool IsSizeable(BorderStyle style) {
  return style == BorderStyle::Sizeable || style == BorderStyle::SizeToolWin;
}

// A maximised window puts its frame just outside the screen edges.
PlacementPoint MaximisedPosition(const PlacementWindow& window) {
  const auto outside = [&window](FrameMetric cx, FrameMetric cy) {
    return PlacementPoint{-window.Metric(cx), -window.Metric(cy)};
  };
  switch (window.Border()) {
    case BorderStyle::Single:
    case BorderStyle::ToolWindow:
      return outside(FrameMetric::CxBorder, FrameMetric::CyBorder);
    case BorderStyle::Sizeable:
    case BorderStyle::SizeToolWin:
      return outside(FrameMetric::CxFrame, FrameMetric::CyFrame);
    case BorderStyle::Dialog:
      return outside(FrameMetric::CxDlgFrame, FrameMetric::CyDlgFrame);
    case BorderStyle::None:
      break;
  }
  return {0, 0};
}

// Error texts of the standard library are plain ASCII.
std::wstring WideText(const char* text) {
  std::wstring wide;
  for (; *text != '\0'; ++text) wide.push_back(static_cast<unsigned char>(*text));
  return wide;
}

}  // namespace

BorderStyle BorderStyleOf(const BorderBits& bits) {
  if (bits.thickFrame) return bits.toolWindow ? BorderStyle::SizeToolWin : BorderStyle::Sizeable;
  if (bits.dialogModalFrame) return BorderStyle::Dialog;
  if (!bits.border) return BorderStyle::None;
  return bits.toolWindow ? BorderStyle::ToolWindow : BorderStyle::Single;
}

std::wstring ScreenSizeSuffix(ScreenSize screen) {
  return L"(" + IniIntegerText(screen.width) + L"x" + IniIntegerText(screen.height) + L")";
}

TFormPlacement::TFormPlacement(PlacementWindow& window, ProfileStore& store,
                               PlacementErrorReport report)
    : window_(window), store_(store), report_(std::move(report)) {}

void TFormPlacement::OnShow() {
  if (Active) Guarded([this] { RestoreWindowPlacement(); });
}

bool TFormPlacement::OnCloseQuery(bool canClose) {
  if (canClose && Active) Guarded([this] { SaveWindowPlacement(); });
  return canClose;
}

void TFormPlacement::OnDestroy() {
  if (!Active || saved_) return;
  // The close did not save (or failed to); this last chance is marked in "Visible".
  destroying_ = true;
  Guarded([this] { SaveWindowPlacement(); });
  destroying_ = false;
}

void TFormPlacement::RestoreWindowPlacement() {
  saved_ = false;
  const TIniFile ini(store_, IniFileName);
  if (ini.ReadInteger(IniSection, L"FormVersion", 0) >= Version &&
      Options.Contains(TPlacementOption::fpPosition)) {
    ApplyStoredPosition(ini);
  }
  // A skipped restore still counts, so the next save replaces the outdated layout.
  restored_ = true;
  SetMaximisedPosition();
}

void TFormPlacement::SaveWindowPlacement() {
  if (!restored_ && Active) return;
  TIniFile ini(store_, IniFileName);
  ini.WriteInteger(IniSection, L"FormVersion", Version);
  if (Options.Contains(TPlacementOption::fpPosition)) {
    PlacementRecord record = window_.Placement();
    if (window_.ApplicationMinimised()) record.showCmd = kShowCmdMinimized;
    ini.WriteInteger(IniSection, L"Flags", record.flags);
    ini.WriteInteger(IniSection, L"ShowCmd", record.showCmd);
    ini.WriteInteger(IniSection, L"PixelsPerInch", window_.PixelsPerInch());
    WritePositionText(ini, L"MinMaxPos",
                      PositionText({record.minPosition.x, record.minPosition.y,
                                    record.maxPosition.x, record.maxPosition.y}));
    const PlacementRect& normal = record.normalPosition;
    WritePositionText(ini, L"NormPos",
                      PositionText({normal.left, normal.top, normal.right, normal.bottom}));
  }
  ini.WriteBool(IniSection, L"Visible", destroying_);
  saved_ = true;
}

void TFormPlacement::ApplyStoredPosition(const TIniFile& ini) {
  PlacementRecord record = CurrentRecordToApply();
  const PlacementRect current = record.normalPosition;
  record.flags = ini.ReadInteger(IniSection, L"Flags", record.flags);

  bool found = false;
  const std::wstring minMax = ReadPositionText(ini, L"MinMaxPos");
  if (!minMax.empty()) {
    const PositionNumbers n = ReadPositionNumbers(minMax, {0, 0, 0, 0});
    record.minPosition = {n[0], n[1]};
    record.maxPosition = {n[2], n[3]};
    found = true;
  }
  const std::wstring norm = ReadPositionText(ini, L"NormPos");
  if (!norm.empty()) {
    const PositionNumbers n =
        ReadPositionNumbers(norm, {current.left, current.top, current.right, current.bottom});
    record.normalPosition = {n[0], n[1], n[2], n[3]};
    found = true;
  }

  // A placement saved at another pixel density would put a differently scaled window at
  // the old numbers; the designed place is the better start until the next save.
  const std::int32_t pixelsPerInch = window_.PixelsPerInch();
  if (!found || ini.ReadInteger(IniSection, L"PixelsPerInch", pixelsPerInch) != pixelsPerInch) {
    return;
  }
  PlacementRect& normal = record.normalPosition;
  if (!IsSizeable(window_.Border())) {
    normal.right = normal.left + (current.right - current.left);
    normal.bottom = normal.top + (current.bottom - current.top);
  }
  if (normal.right <= normal.left) return;
  window_.ApplyPlacement(record);
}

void TFormPlacement::SetMaximisedPosition() {
  if (!window_.Exists()) return;
  PlacementRecord record = CurrentRecordToApply();
  record.maxPosition = MaximisedPosition(window_);
  window_.ApplyPlacement(record);
}

// The window's placement, marked so that applying it moves a hidden window without showing
// it: the window then first appears at the restored place.
PlacementRecord TFormPlacement::CurrentRecordToApply() const {
  PlacementRecord record = window_.Placement();
  if (!window_.Visible()) record.showCmd = kShowCmdHide;
  return record;
}

std::wstring TFormPlacement::ReadPositionText(const TIniFile& ini,
                                              const std::wstring& key) const {
  const std::wstring sizedKey = key + ScreenSizeSuffix(window_.Screen());
  const std::wstring sized = ini.ReadString(IniSection, sizedKey, L"");
  return sized.empty() ? ini.ReadString(IniSection, key, L"") : sized;
}

void TFormPlacement::WritePositionText(TIniFile& ini, const std::wstring& key,
                                       const std::wstring& text) {
  ini.WriteString(IniSection, key + ScreenSizeSuffix(window_.Screen()), text);
  ini.WriteString(IniSection, key, text);
}

void TFormPlacement::Guarded(const std::function<void()>& action) const {
  try {
    action();
  } catch (const IniWriteError& error) {
    report_(error.Message());
  } catch (const std::exception& error) {
    report_(WideText(error.what()));
  }
}
