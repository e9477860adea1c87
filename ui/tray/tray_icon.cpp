#include "ui/tray/tray_icon.h"

std::wstring_view HintShortPart(std::wstring_view hint) {
  return hint.substr(0, hint.find(L'|'));
}

std::wstring TrayTipText(std::wstring_view hint) {
  return std::wstring(HintShortPart(hint).substr(0, kTrayTipMaxChars));
}

TTrayNotifyFields MakeTrayNotifyFields(std::uintptr_t image, std::wstring_view hint) {
  TTrayNotifyFields fields;
  fields.Flags = kNotifyFlagMessage | kNotifyFlagIcon | kNotifyFlagTip;
  fields.Image = image != 0 ? image : kTrayNoImage;
  fields.Tip = TrayTipText(hint);
  return fields;
}

TTrayBalloonFields MakeTrayBalloonFields(std::wstring_view title, std::wstring_view text) {
  return {std::wstring(title.substr(0, kBalloonTitleMaxChars)),
          std::wstring(text.substr(0, kBalloonTextMaxChars))};
}

bool TaskbarButtonGoes(bool newStyleShell, bool iconAdded, bool noticeUnseen) {
  return newStyleShell && iconAdded && !noticeUnseen;
}

bool TTrayAddRetry::Tick(bool missing) {
  if (!missing) {
    TicksToTry_ = kEveryTicks;
    return false;
  }
  if (--TicksToTry_ > 0) return false;
  TicksToTry_ = kEveryTicks;
  return true;
}

TTrayAttempt AttemptFor(const TTrayStep& step) {
  if (step.Kind == TTrayStepKind::Click && step.Button == TTrayButton::Right)
    return TTrayAttempt::ShowMenu;
  if (step.Kind == TTrayStepKind::DoubleClick) return TTrayAttempt::RunDefaultItem;
  return TTrayAttempt::None;
}

bool TTrayClickState::TakePressed(TTrayButton button) {
  const bool was = IsPressed(button);
  Pressed_ &= ~Bit(button);
  return was;
}

std::vector<TTrayStep> TTrayClickState::OnMouseMessage(unsigned mouseMessage) {
  using enum TTrayStepKind;
  using B = TTrayButton;
  std::vector<TTrayStep> steps;
  const auto press = [&](B button) {
    steps.push_back({PressNotice, button});
    Pressed_ |= Bit(button);
  };
  const auto release = [&](B button) {
    if (TakePressed(button)) steps.push_back({Click, button});
    steps.push_back({ReleaseNotice, button});
  };
  switch (mouseMessage) {
    case kMouseMove: steps.push_back({MoveNotice, B::None}); break;
    case kLeftButtonDown: press(B::Left); break;
    case kLeftButtonUp: release(B::Left); break;
    case kLeftButtonDoubleClick:
      steps.push_back({DoubleClick, B::Left, true});
      steps.push_back({PressNotice, B::Left, true});
      break;
    case kRightButtonDown: press(B::Right); break;
    case kRightButtonUp: release(B::Right); break;
    case kRightButtonDoubleClick: steps.push_back({PressNotice, B::Right, true}); break;
    case kMiddleButtonDown: steps.push_back({PressNotice, B::Middle}); break;
    case kMiddleButtonUp: steps.push_back({ReleaseNotice, B::Middle}); break;
    case kMiddleButtonDoubleClick: steps.push_back({PressNotice, B::Middle, true}); break;
    default: break;
  }
  return steps;
}

std::optional<std::uint64_t> TBalloonTag::Notice(unsigned message) const {
  if (message != kBalloonUserClick || Tag_ == 0) return std::nullopt;
  return Tag_;
}
