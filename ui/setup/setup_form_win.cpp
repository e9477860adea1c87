#include "ui/setup/setup_form_win.h"

#include <commctrl.h>

#include <cstring>
#include <exception>
#include <string>

#include "core/unique_handle_win.h"
#include "reader/dev_th_win.h"
#include "reader/port_state.h"
#include "reader/uart_win.h"
#include "services/help_bridge_win.h"
#include "ui/dialogs/message_dialog_win.h"
#include "ui/shell/application_win.h"
#include "ui/shell/gdi_win.h"
#include "ui/setup/port_probe_win.h"
#include "ui/shell/texts.h"

std::unique_ptr<TSetupForm> SetupForm;

namespace {

constexpr DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK;
constexpr DWORD kFormExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// The bottom panel with the three buttons; the pages fill the rest.
constexpr int kPanelHeight = 41;
constexpr int kButtonTop = 8;
constexpr int kButtonWidth = 76;
constexpr int kButtonHeight = 27;
constexpr int kOkLeft = 76;
constexpr int kCancelLeft = 157;
constexpr int kHelpLeft = 238;

constexpr int kCheckBoxLeft = 16;
constexpr int kCheckBoxTops[] = {56, 104, 152};
constexpr int kCheckBoxWidth = 249;
constexpr int kCheckBoxHeight = 17;

constexpr int kDropDownListHeight = 120;  // the drop-down's own height with its list open

// A label and its drop-down in one row, as on the reader page; further rows below it.
constexpr int kRowLabelLeft = 8;
constexpr int kRowLabelWidth = 118;
constexpr int kRowLabelHeight = 13;
constexpr int kRowLabelDrop = 8;  // the label's text sits level with the drop-down's
constexpr int kRowDropDownLeft = 128;
constexpr int kRowDropDownWidth = 177;
constexpr int kRowTops[] = {8, 48};
constexpr int kNoCaretTypingTop = 96;
constexpr int kNoCaretTypingWidth = 297;

constexpr int kFontHeight = -11;       // 8 points
constexpr int kGroupFontHeight = -12;  // 9 points
constexpr wchar_t kFontFace[] = L"MS Sans Serif";

RECT Bounds(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}

RECT Offset(RECT bounds, POINT by) {
  OffsetRect(&bounds, by.x, by.y);
  return bounds;
}

HFONT MakeFont(int height) {
  return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, kFontFace);
}

void AppendText(std::vector<WORD>& words, const wchar_t* text) {
  for (const wchar_t* c = text; *c != 0; ++c) words.push_back(*c);
  words.push_back(0);
}

// An empty dialog of the form's own class; the controls are placed in pixels once it exists.
std::vector<WORD> EmptyDialogTemplate() {
  DLGTEMPLATE header{};
  header.style = kFormStyle;
  header.dwExtendedStyle = kFormExStyle;
  std::vector<WORD> words(sizeof header / sizeof(WORD));
  std::memcpy(words.data(), &header, sizeof header);
  words.push_back(0);  // no menu
  AppendText(words, TSetupForm::kClassName);
  AppendText(words, kSetupCaption);
  return words;
}

// The operator waits while the ports are probed.
class TWaitCursor {
 public:
  TWaitCursor() : Previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;
  ~TWaitCursor() { SetCursor(Previous_ != nullptr ? Previous_ : LoadCursorW(nullptr, IDC_ARROW)); }

 private:
  HCURSOR Previous_;
};

}  // namespace

bool ProbePort(int port) {
  const TUniqueHandle device(CreateFileW(PortDevicePath(port).c_str(),
                                         GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                         0, nullptr));
  return device.Valid();
}

std::unique_ptr<TSetupForm> TSetupForm::Create(TPortProbe probe) {
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_TAB_CLASSES};
  InitCommonControlsEx(&classes);
  std::unique_ptr<TSetupForm> form(new TSetupForm(std::move(probe)));
  const std::vector<WORD> dialog = EmptyDialogTemplate();
  if (!form->CreateDialogHandle(reinterpret_cast<const DLGTEMPLATE*>(dialog.data()),
                                Application.Handle()) ||
      !form->CreateControls())
    return nullptr;
  form->SizeAndCentre();
  return form;
}

HWND TSetupForm::AddControl(const wchar_t* className, const wchar_t* text, DWORD style,
                            const RECT& bounds, int id, HFONT font) {
  const HWND control = CreateWindowExW(
      0, className, text, WS_CHILD | WS_CLIPSIBLINGS | style, bounds.left, bounds.top,
      bounds.right - bounds.left, bounds.bottom - bounds.top, Handle(),
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (control != nullptr) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

bool TSetupForm::CreateControls() {
  Font_.Reset(MakeFont(kFontHeight));
  GroupFont_.Reset(MakeFont(kGroupFontHeight));
  const HFONT font = Font_.Get();
  const int pagesHeight = kClientHeight - kPanelHeight;

  Pages_ = AddControl(WC_TABCONTROLW, nullptr, WS_VISIBLE | WS_TABSTOP,
                      Bounds(0, 0, kClientWidth, pagesHeight), kPagesId, font);
  if (Pages_ == nullptr) return false;
  const wchar_t* const pageNames[] = {kSetupViewPage, kSetupReaderPage, kSetupOutputPage};
  for (int page = 0; page < kPageCount; ++page) {
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<wchar_t*>(pageNames[page]);
    SendMessageW(Pages_, TCM_INSERTITEMW, page, reinterpret_cast<LPARAM>(&tab));
  }
  RECT sheet{0, 0, kClientWidth, pagesHeight};
  SendMessageW(Pages_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&sheet));
  const POINT origin{sheet.left, sheet.top};

  const int checkBoxIds[] = {kMinimizeId, kQuestionId, kOneCopyId};
  const wchar_t* const checkBoxTexts[] = {kSetupMinimizeOnRun, kSetupCheckExit,
                                          kSetupRunOnlyOneCopy};
  for (int i = 0; i < 3; ++i) {
    PageControls_[kViewPageIndex].push_back(AddControl(
        L"BUTTON", checkBoxTexts[i], WS_TABSTOP | BS_AUTOCHECKBOX,
        Offset(Bounds(kCheckBoxLeft, kCheckBoxTops[i], kCheckBoxWidth, kCheckBoxHeight), origin),
        checkBoxIds[i], font));
  }

  const wchar_t* const readerTypes[] = {kSetupReaderType26, kSetupReaderType40};
  ReaderTypeCB_ = AddDropDownRow(kReaderPageIndex, origin, kRowTops[0], kReaderTypeLabelId,
                                 kSetupReaderTypeLabel, kReaderTypeId, readerTypes);
  const RECT group = Offset(Bounds(13, 49, 292, 152), origin);
  const bool listMade = CommRxCLB_.Create(
      Handle(), kPortListId, Offset(Bounds(8, 16, 273, 121), {group.left, group.top}), font,
      [this](int row) { CheckOnlyPort(row + 1); });
  PageControls_[kReaderPageIndex].push_back(CommRxCLB_.Handle());
  // Made after the list so that it lies below it.
  const HWND groupBox =
      AddControl(L"BUTTON", kSetupPortGroup, BS_GROUPBOX, group, kPortGroupId, GroupFont_.Get());
  PageControls_[kReaderPageIndex].push_back(groupBox);
  const bool outputMade = CreateOutputPage(origin);

  const int buttonTop = pagesHeight + kButtonTop;
  const HWND ok = AddControl(L"BUTTON", kSetupOkButton, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                             Bounds(kOkLeft, buttonTop, kButtonWidth, kButtonHeight), kOkButtonId,
                             font);
  const HWND cancel = AddControl(L"BUTTON", kSetupCancelButton, WS_VISIBLE | WS_TABSTOP,
                                 Bounds(kCancelLeft, buttonTop, kButtonWidth, kButtonHeight),
                                 kCancelButtonId, font);
  const HWND help = AddControl(L"BUTTON", kSetupHelpButton, WS_VISIBLE | WS_TABSTOP,
                               Bounds(kHelpLeft, buttonTop, kButtonWidth, kButtonHeight),
                               kHelpButtonId, font);
  SendMessageW(Handle(), DM_SETDEFID, kOkButtonId, 0);
  // The pages lie under everything they hold.
  SetWindowPos(Pages_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  bool made = listMade && outputMade && ReaderTypeCB_ != nullptr && groupBox != nullptr &&
              ok != nullptr && cancel != nullptr && help != nullptr;
  for (const auto& controls : PageControls_) {
    for (HWND control : controls) made = made && control != nullptr;
  }
  return made;
}

HWND TSetupForm::AddDropDownRow(int page, POINT origin, int top, int labelId,
                                const wchar_t* label, int id,
                                std::span<const wchar_t* const> items) {
  const HFONT font = Font_.Get();
  PageControls_[page].push_back(AddControl(
      L"STATIC", label, SS_LEFT,
      Offset(Bounds(kRowLabelLeft, top + kRowLabelDrop, kRowLabelWidth, kRowLabelHeight), origin),
      labelId, font));
  const RECT dropDownBounds =
      Offset(Bounds(kRowDropDownLeft, top, kRowDropDownWidth, kDropDownListHeight), origin);
  const HWND dropDown = AddControl(L"COMBOBOX", nullptr,
                                   WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, dropDownBounds, id,
                                   font);
  PageControls_[page].push_back(dropDown);
  for (const wchar_t* item : items) {
    SendMessageW(dropDown, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  }
  return dropDown;
}

bool TSetupForm::CreateOutputPage(POINT origin) {
  FormatCB_ = AddDropDownRow(kOutputPageIndex, origin, kRowTops[0], kFormatLabelId,
                             kSetupFormatLabel, kFormatId, kSetupFormatItems);
  SuffixCB_ = AddDropDownRow(kOutputPageIndex, origin, kRowTops[1], kSuffixLabelId,
                             kSetupSuffixLabel, kSuffixId, kSetupSuffixItems);
  const HWND noCaret = AddControl(
      L"BUTTON", kSetupNoCaretTyping, WS_TABSTOP | BS_AUTOCHECKBOX,
      Offset(Bounds(kRowLabelLeft, kNoCaretTypingTop, kNoCaretTypingWidth, kCheckBoxHeight),
             origin),
      kNoCaretTypingId, Font_.Get());
  PageControls_[kOutputPageIndex].push_back(noCaret);
  return FormatCB_ != nullptr && SuffixCB_ != nullptr && noCaret != nullptr;
}

void TSetupForm::SizeAndCentre() {
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, kFormStyle, FALSE, kFormExStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(Handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void TSetupForm::ShowPage(int index) {
  SendMessageW(Pages_, TCM_SETCURSEL, index, 0);
  for (int page = 0; page < kPageCount; ++page) {
    for (HWND control : PageControls_[page]) ShowWindow(control, page == index ? SW_SHOW : SW_HIDE);
  }
}

void TSetupForm::LoadFromSettings(int page) {
  const TWaitCursor wait;
  ShowPage(PageIndexOf(page));
  SetChecked(kMinimizeId, Settings.MinimizeOnRun);
  SetChecked(kQuestionId, Settings.CheckExit);
  SetChecked(kOneCopyId, Settings.RunOnlyOneCopy);
  SendMessageW(ReaderTypeCB_, CB_SETCURSEL, Settings.ReaderType, 0);
  SendMessageW(FormatCB_, CB_SETCURSEL, static_cast<WPARAM>(OutputSettings.Format), 0);
  SendMessageW(SuffixCB_, CB_SETCURSEL, static_cast<WPARAM>(OutputSettings.Suffix), 0);
  SetChecked(kNoCaretTypingId, OutputSettings.NoCaretTyping);
  FillPortList();
}

void TSetupForm::StoreToSettings() {
  Settings.MinimizeOnRun = Checked(kMinimizeId);
  Settings.CheckExit = Checked(kQuestionId);
  Settings.RunOnlyOneCopy = Checked(kOneCopyId);
  // The reader thread reads the type on every frame.
  SetReaderType(ReaderTypeOfIndex(static_cast<int>(SendMessageW(ReaderTypeCB_, CB_GETCURSEL, 0, 0)),
                                  ReaderTypeNow()));
  Settings.PortNumber = static_cast<std::uint8_t>(CheckedPort());
  // The reader thread reads the output options on every card.
  SetOutputSettings(OutputSettingsOfChoices(
      static_cast<int>(SendMessageW(FormatCB_, CB_GETCURSEL, 0, 0)),
      static_cast<int>(SendMessageW(SuffixCB_, CB_GETCURSEL, 0, 0)), Checked(kNoCaretTypingId),
      OutputSettings));
}

void TSetupForm::FillPortList() {
  const bool currentOpen = Uart != nullptr && !Uart->Closed;
  const TProbeRound round = ProbePortsSideBySide(PortsToProbe(Settings.PortNumber), Probe_);
  CommRxCLB_.SetItems(BuildPortItems(Settings.PortNumber, currentOpen,
                                     [&round](int port) { return round.Opens(port); }));
}

void TSetupForm::CheckOnlyPort(int port) {
  ::CheckOnlyPort(CommRxCLB_.Items(), port);
  CommRxCLB_.Refresh();
}

int TSetupForm::CheckedPort() const { return ::CheckedPort(CommRxCLB_.Items()); }

int TSetupForm::PageShown() const {
  return static_cast<int>(SendMessageW(Pages_, TCM_GETCURSEL, 0, 0));
}

int TSetupForm::ShowModal() {
  const HWND firstControls[] = {GetDlgItem(Handle(), kMinimizeId), ReaderTypeCB_, FormatCB_};
  const HWND focus = firstControls[PageShown()];
  return Modal_.Run(Handle(), focus,
                    [this](MSG& msg) { return IsDialogMessageW(Handle(), &msg) != FALSE; },
                    IDCANCEL);
}

bool TSetupForm::Checked(int id) const {
  return IsDlgButtonChecked(Handle(), id) == BST_CHECKED;
}

void TSetupForm::SetChecked(int id, bool checked) {
  CheckDlgButton(Handle(), id, checked ? BST_CHECKED : BST_UNCHECKED);
}

LRESULT TSetupForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      if (header.idFrom == kPagesId && header.code == TCN_SELCHANGE) ShowPage(PageShown());
      return 0;
    }
    case WM_DRAWITEM:
      if (wParam != kPortListId) break;
      CommRxCLB_.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_CTLCOLORSTATIC:
      return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                             message, wParam, lParam);
    case WM_HELP:
      ShowHelpContext(HelpContextOfPage(PageShown()));
      return TRUE;
    case WM_CLOSE:
      Modal_.End(IDCANCEL);
      return 0;
  }
  return DefaultProc(message, wParam, lParam);
}

// The group box's caption is black whatever the scheme says.
LRESULT TSetupForm::OnControlColour(HDC dc, HWND control, UINT message, WPARAM wParam,
                                    LPARAM lParam) {
  if (GetDlgCtrlID(control) != kPortGroupId) return DefaultProc(message, wParam, lParam);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void TSetupForm::OnCommand(int id, int code) {
  switch (id) {
    case kOkButtonId:
      Modal_.End(IDOK);
      break;
    case kCancelButtonId:
      Modal_.End(IDCANCEL);
      break;
    case kHelpButtonId:
      ShowHelpContext(HelpContextOfPage(PageShown()));
      break;
    case kPortListId:
      if (code == LBN_SELCHANGE) CommRxCLB_.Click();
      break;
    default:
      break;
  }
}

bool ShowSetup(int page, const TPortProbe& probe) {
  SetupForm = TSetupForm::Create(probe);
  if (!SetupForm) {
    ShowMessageDialog(kSetupCannotShow, MessageKind::Error, {MessageButton::OK}, 0);
    return false;
  }
  // The dialog goes however the steps below end.
  struct TDropForm {
    ~TDropForm() { SetupForm.reset(); }
  } dropForm;
  SetupForm->LoadFromSettings(page);
  const bool confirmed = SetupForm->ShowModal() == IDOK;
  if (confirmed) SetupForm->StoreToSettings();
  return confirmed;
}

bool RunSetup(int page, TSetupHost& host, const TPortProbe& probe) {
  if (!ShowSetup(page, probe)) return false;
  // Confirming reopens the port, the same one too: a port can look open and read nothing
  // (a USB-serial adapter after a sleep), and confirming it is the operator's way to bring
  // it back. The reader thread reads Uart without a lock, so it must have ended before the
  // port object is replaced. A port that did not open gets no reader: the main window
  // reopens it by itself and starts one then.
  StopReader();
  const PortState state = OpenConfiguredPort();
  if (state == PortOpen) {
    StartReader(host.ReaderNotice());
    ResumeReader();
  }
  host.PortReopened(state);
  host.UpdateStatus();
  return true;
}
