#include "ui/setup/setup_form_win.h"

#include <commctrl.h>

#include <cstring>
#include <exception>
#include <string>

#include "core/unique_handle_win.h"
#include "reader/dev_th_win.h"
#include "reader/line_watch.h"
#include "reader/port_state.h"
#include "reader/uart_win.h"
#include "services/help_bridge_win.h"
#include "ui/dialogs/message_dialog_win.h"
#include "ui/shell/application_win.h"
#include "ui/shell/gdi_win.h"
#include "ui/shell/texts.h"

std::unique_ptr<TSetupForm> SetupForm;

namespace {

constexpr DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK;
constexpr DWORD kFormExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

constexpr int kViewPage = 0;
constexpr int kReaderPage = 1;

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
  const wchar_t* const pageNames[] = {kSetupViewPage, kSetupReaderPage};
  for (int page = 0; page < 2; ++page) {
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
    PageControls_[kViewPage].push_back(AddControl(
        L"BUTTON", checkBoxTexts[i], WS_TABSTOP | BS_AUTOCHECKBOX,
        Offset(Bounds(kCheckBoxLeft, kCheckBoxTops[i], kCheckBoxWidth, kCheckBoxHeight), origin),
        checkBoxIds[i], font));
  }

  PageControls_[kReaderPage].push_back(AddControl(L"STATIC", kSetupReaderTypeLabel, SS_LEFT,
                                                  Offset(Bounds(8, 16, 110, 13), origin),
                                                  kReaderTypeLabelId, font));
  ReaderTypeCB_ = AddControl(L"COMBOBOX", nullptr, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                             Offset(Bounds(128, 8, 177, kDropDownListHeight), origin),
                             kReaderTypeId, font);
  PageControls_[kReaderPage].push_back(ReaderTypeCB_);
  for (const wchar_t* type : {kSetupReaderType26, kSetupReaderType40}) {
    SendMessageW(ReaderTypeCB_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(type));
  }
  const RECT group = Offset(Bounds(13, 49, 292, 152), origin);
  const bool listMade = CommRxCLB_.Create(
      Handle(), kPortListId, Offset(Bounds(8, 16, 273, 121), {group.left, group.top}), font,
      [this](int row) { CheckOnlyPort(row + 1); });
  PageControls_[kReaderPage].push_back(CommRxCLB_.Handle());
  // Made after the list so that it lies below it.
  const HWND groupBox =
      AddControl(L"BUTTON", kSetupPortGroup, BS_GROUPBOX, group, kPortGroupId, GroupFont_.Get());
  PageControls_[kReaderPage].push_back(groupBox);

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

  bool made = listMade && ReaderTypeCB_ != nullptr && groupBox != nullptr && ok != nullptr &&
              cancel != nullptr && help != nullptr;
  for (const auto& controls : PageControls_) {
    for (HWND control : controls) made = made && control != nullptr;
  }
  return made;
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
  for (int page = 0; page < 2; ++page) {
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
}

void TSetupForm::FillPortList() {
  const bool currentOpen = Uart != nullptr && !Uart->Closed;
  CommRxCLB_.SetItems(BuildPortItems(Settings.PortNumber, currentOpen, Probe_));
}

void TSetupForm::CheckOnlyPort(int port) {
  ::CheckOnlyPort(CommRxCLB_.Items(), port);
  CommRxCLB_.Refresh();
}

int TSetupForm::CheckedPort() const { return ::CheckedPort(CommRxCLB_.Items()); }

int TSetupForm::ShowModal() {
  const bool readerPage = SendMessageW(Pages_, TCM_GETCURSEL, 0, 0) == kReaderPage;
  const HWND focus = readerPage ? ReaderTypeCB_ : GetDlgItem(Handle(), kMinimizeId);
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
      if (header.idFrom == kPagesId && header.code == TCN_SELCHANGE) {
        ShowPage(static_cast<int>(SendMessageW(Pages_, TCM_GETCURSEL, 0, 0)));
      }
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
      ShowHelpContext(kHelpContext);
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
      ShowHelpContext(kHelpContext);
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
  const std::uint8_t previousPort = Settings.PortNumber;
  if (!ShowSetup(page, probe)) return false;
  if (ReopenAfterSetup(previousPort, Settings.PortNumber, PortIsOpen())) {
    // The reader thread reads Uart without a lock, so it must have ended before the port
    // object is replaced. A port that did not open gets no reader: the main window reopens
    // it by itself and starts one then.
    StopReader();
    const PortState state = OpenConfiguredPort();
    if (state == PortOpen) {
      StartReader(host.ReaderNotice());
      ResumeReader();
    }
    host.PortReopened(state);
  }
  host.UpdateStatus();
  return true;
}
