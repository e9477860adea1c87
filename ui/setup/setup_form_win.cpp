#include "ui/setup/setup_form_win.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
#include <uxtheme.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <thread>

#include "core/unique_handle_win.h"
#include "journal/journal_folder.h"
#include "journal/journal_texts.h"
#include "reader/port_opener_win.h"
#include "reader/port_state.h"
#include "reader/uart.h"
#include "services/help_bridge_win.h"
#include "ui/dialogs/message_dialog_win.h"
#include "ui/setup/port_probe_win.h"
#include "ui/shell/application_win.h"
#include "ui/shell/designed_font_win.h"
#include "ui/shell/display_win.h"
#include "ui/shell/dpi_scale.h"
#include "ui/shell/gdi_win.h"
#include "ui/shell/texts.h"

std::unique_ptr<TSetupForm> SetupForm;

namespace {

constexpr DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK;
constexpr DWORD kFormExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// The bottom panel with the three buttons; the pages fill the rest. All at 96 DPI.
constexpr int kPanelHeight = 41;
constexpr int kPagesHeight = TSetupForm::kClientHeight - kPanelHeight;
constexpr int kDropDownListHeight = 120;  // the drop-down's own height with its list open
constexpr int kGroupFontPoints = 9;

// What a control's designed rectangle is measured from.
enum class TOrigin {
  Dialog,  // the client area
  Sheet,   // the pages' display area, below the tabs
  Group,   // the port group box
};

struct TControlPlace {
  int Id;
  TOrigin Origin;
  TDesignedRect Rect;
};

constexpr int kLabelDrop = 8;  // a row's label sits level with its drop-down's text
constexpr TDesignedRect kPages{0, 0, TSetupForm::kClientWidth, kPagesHeight};
constexpr TDesignedRect kPortGroup{13, 49, 292, 152};

constexpr TControlPlace kPlaces[] = {
    {TSetupForm::kPagesId, TOrigin::Dialog, kPages},
    {TSetupForm::kMinimizeId, TOrigin::Sheet, {16, 56, 249, 17}},
    {TSetupForm::kQuestionId, TOrigin::Sheet, {16, 104, 249, 17}},
    {TSetupForm::kOneCopyId, TOrigin::Sheet, {16, 152, 249, 17}},
    {TSetupForm::kReaderTypeLabelId, TOrigin::Sheet, {8, 8 + kLabelDrop, 118, 13}},
    {TSetupForm::kReaderTypeId, TOrigin::Sheet, {128, 8, 177, kDropDownListHeight}},
    {TSetupForm::kPortGroupId, TOrigin::Sheet, kPortGroup},
    {TSetupForm::kPortListId, TOrigin::Group, {8, 16, 273, 121}},
    {TSetupForm::kFormatLabelId, TOrigin::Sheet, {8, 8 + kLabelDrop, 118, 13}},
    {TSetupForm::kFormatId, TOrigin::Sheet, {128, 8, 177, kDropDownListHeight}},
    {TSetupForm::kSuffixLabelId, TOrigin::Sheet, {8, 48 + kLabelDrop, 118, 13}},
    {TSetupForm::kSuffixId, TOrigin::Sheet, {128, 48, 177, kDropDownListHeight}},
    {TSetupForm::kNoCaretTypingId, TOrigin::Sheet, {8, 96, 297, 17}},
    {TSetupForm::kJournalToFileId, TOrigin::Sheet, {8, 12, 297, 17}},
    {TSetupForm::kKeepDaysLabelId, TOrigin::Sheet, {8, 44 + kLabelDrop - 4, 118, 13}},
    {TSetupForm::kKeepDaysId, TOrigin::Sheet, {128, 44, 64, 21}},
    {TSetupForm::kOpenFolderId, TOrigin::Sheet, {8, 84, 120, 25}},
    {TSetupForm::kOkButtonId, TOrigin::Dialog, {76, kPagesHeight + 8, 76, 27}},
    {TSetupForm::kCancelButtonId, TOrigin::Dialog, {157, kPagesHeight + 8, 76, 27}},
    {TSetupForm::kHelpButtonId, TOrigin::Dialog, {238, kPagesHeight + 8, 76, 27}},
};

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

// Made and shown by Explorer on a worker: the shell may take its time, and the folder may be
// on a disk that is slow to answer.
void OpenJournalFolder() {
  const std::filesystem::path folder = JournalFolder();
  if (folder.empty()) return;
  std::thread([folder] {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    ShellExecuteW(nullptr, L"open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    if (SUCCEEDED(com)) CoUninitialize();
  }).detach();
}

}  // namespace

bool ProbePort(int port) {
  return OpenPortDevice(PortDevicePath(port)).Device.Valid();
}

std::unique_ptr<TSetupForm> TSetupForm::Create(TPortProbe probe, HWND over) {
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX),
                                     ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&classes);
  std::unique_ptr<TSetupForm> form(new TSetupForm(std::move(probe)));
  const std::vector<WORD> dialog = EmptyDialogTemplate();
  if (!form->CreateDialogHandle(reinterpret_cast<const DLGTEMPLATE*>(dialog.data()),
                                Application.Handle()) ||
      !form->CreateControls())
    return nullptr;
  KeepDialogScalingOwn(form->Handle());
  form->Layout(over != nullptr ? WindowDpi(over) : SystemDpi());
  form->SizeAndCentre(over);
  return form;
}

HWND TSetupForm::AddControl(const wchar_t* className, const wchar_t* text, DWORD style, int id) {
  return CreateWindowExW(0, className, text, WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 0, 0,
                         Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

// The controls, made where they are; Layout places them and gives them their fonts.
bool TSetupForm::CreateControls() {
  Pages_ = AddControl(WC_TABCONTROLW, nullptr, WS_VISIBLE | WS_TABSTOP, kPagesId);
  if (Pages_ == nullptr) return false;
  const wchar_t* const pageNames[] = {kSetupViewPage, kSetupReaderPage, kSetupOutputPage,
                                      kJournalPage};
  for (int page = 0; page < kPageCount; ++page) {
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<wchar_t*>(pageNames[page]);
    SendMessageW(Pages_, TCM_INSERTITEMW, page, reinterpret_cast<LPARAM>(&tab));
  }

  const int checkBoxIds[] = {kMinimizeId, kQuestionId, kOneCopyId};
  const wchar_t* const checkBoxTexts[] = {kSetupMinimizeOnRun, kSetupCheckExit,
                                          kSetupRunOnlyOneCopy};
  for (int i = 0; i < 3; ++i) {
    PageControls_[kViewPageIndex].push_back(
        AddControl(L"BUTTON", checkBoxTexts[i], WS_TABSTOP | BS_AUTOCHECKBOX, checkBoxIds[i]));
  }

  const wchar_t* const readerTypes[] = {kSetupReaderType26, kSetupReaderType40};
  ReaderTypeCB_ = AddDropDownRow(kReaderPageIndex, kReaderTypeLabelId, kSetupReaderTypeLabel,
                                 kReaderTypeId, readerTypes);
  const bool listMade =
      CommRxCLB_.Create(Handle(), kPortListId, [this](int row) { CheckOnlyPort(row + 1); });
  PageControls_[kReaderPageIndex].push_back(CommRxCLB_.Handle());
  // Made after the list so that it lies below it.
  const HWND groupBox = AddControl(L"BUTTON", kSetupPortGroup, BS_GROUPBOX, kPortGroupId);
  PageControls_[kReaderPageIndex].push_back(groupBox);
  const bool outputMade = CreateOutputPage();
  const bool journalMade = CreateJournalPage();

  const HWND ok = AddControl(L"BUTTON", kSetupOkButton, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                             kOkButtonId);
  const HWND cancel = AddControl(L"BUTTON", kSetupCancelButton, WS_VISIBLE | WS_TABSTOP,
                                 kCancelButtonId);
  const HWND help = AddControl(L"BUTTON", kSetupHelpButton, WS_VISIBLE | WS_TABSTOP, kHelpButtonId);
  SendMessageW(Handle(), DM_SETDEFID, kOkButtonId, 0);
  // The pages lie under everything they hold.
  SetWindowPos(Pages_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  bool made = listMade && outputMade && journalMade && ReaderTypeCB_ != nullptr &&
              groupBox != nullptr && ok != nullptr && cancel != nullptr && help != nullptr;
  for (const auto& controls : PageControls_) {
    for (HWND control : controls) made = made && control != nullptr;
  }
  return made;
}

HWND TSetupForm::AddDropDownRow(int page, int labelId, const wchar_t* label, int id,
                                std::span<const wchar_t* const> items) {
  PageControls_[page].push_back(AddControl(L"STATIC", label, SS_LEFT, labelId));
  const HWND dropDown =
      AddControl(L"COMBOBOX", nullptr, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, id);
  PageControls_[page].push_back(dropDown);
  for (const wchar_t* item : items) {
    SendMessageW(dropDown, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  }
  return dropDown;
}

bool TSetupForm::CreateOutputPage() {
  FormatCB_ = AddDropDownRow(kOutputPageIndex, kFormatLabelId, kSetupFormatLabel, kFormatId,
                             kSetupFormatItems);
  SuffixCB_ = AddDropDownRow(kOutputPageIndex, kSuffixLabelId, kSetupSuffixLabel, kSuffixId,
                             kSetupSuffixItems);
  const HWND noCaret =
      AddControl(L"BUTTON", kSetupNoCaretTyping, WS_TABSTOP | BS_AUTOCHECKBOX, kNoCaretTypingId);
  PageControls_[kOutputPageIndex].push_back(noCaret);
  return FormatCB_ != nullptr && SuffixCB_ != nullptr && noCaret != nullptr;
}

bool TSetupForm::CreateJournalPage() {
  auto& controls = PageControls_[kJournalPageIndex];
  controls.push_back(
      AddControl(L"BUTTON", kJournalToFile, WS_TABSTOP | BS_AUTOCHECKBOX, kJournalToFileId));
  controls.push_back(AddControl(L"STATIC", kJournalKeepDays, SS_LEFT, kKeepDaysLabelId));
  const HWND days = AddControl(L"EDIT", nullptr, WS_TABSTOP | WS_BORDER | ES_NUMBER, kKeepDaysId);
  controls.push_back(days);
  const DWORD spinStyle = WS_CHILD | WS_CLIPSIBLINGS | UDS_SETBUDDYINT | UDS_ALIGNRIGHT |
                          UDS_ARROWKEYS | UDS_NOTHOUSANDS;
  KeepDaysSpin_ = CreateWindowExW(0, UPDOWN_CLASSW, nullptr, spinStyle, 0, 0, 0, 0, Handle(),
                                  reinterpret_cast<HMENU>(INT_PTR{kKeepDaysSpinId}),
                                  GetModuleHandleW(nullptr), nullptr);
  controls.push_back(KeepDaysSpin_);
  SendMessageW(KeepDaysSpin_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(days), 0);
  SendMessageW(KeepDaysSpin_, UDM_SETRANGE32, 1, kMostJournalDays);
  controls.push_back(AddControl(L"BUTTON", kJournalOpenFolder, WS_TABSTOP, kOpenFolderId));
  return days != nullptr && KeepDaysSpin_ != nullptr;
}

// Every control at its designed place scaled to the DPI, in the fonts made for it. The
// pages' display area depends on the tabs' height in the new font, so the tabs come first.
void TSetupForm::Layout(int dpi) {
  Dpi_ = dpi;
  TUniqueFont previousFont = std::exchange(Font_, CreateDesignedFont(kDesignedFontPoints, dpi));
  TUniqueFont previousGroupFont =
      std::exchange(GroupFont_, CreateDesignedFont(kGroupFontPoints, dpi));
  for (const TControlPlace& place : kPlaces) {
    const HFONT font = place.Id == kPortGroupId ? GroupFont_.Get() : Font_.Get();
    SendMessageW(GetDlgItem(Handle(), place.Id), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  CommRxCLB_.SetDpi(dpi);

  const TDesignedRect pages = ScaleRectToDpi(kPages, dpi);
  SetWindowPos(Pages_, nullptr, pages.Left, pages.Top, pages.Width, pages.Height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  RECT sheet{0, 0, pages.Width, pages.Height};
  SendMessageW(Pages_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&sheet));
  const TDesignedRect group = ScaleRectToDpi(kPortGroup, dpi);
  for (const TControlPlace& place : kPlaces) {
    if (place.Id == kPagesId) continue;
    const TDesignedRect r = ScaleRectToDpi(place.Rect, dpi);
    POINT origin{0, 0};
    if (place.Origin != TOrigin::Dialog) origin = {sheet.left, sheet.top};
    if (place.Origin == TOrigin::Group) origin = {origin.x + group.Left, origin.y + group.Top};
    SetWindowPos(GetDlgItem(Handle(), place.Id), nullptr, origin.x + r.Left, origin.y + r.Top,
                 r.Width, r.Height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The arrows stand at the right of their edit wherever that now is.
  SendMessageW(KeepDaysSpin_, UDM_SETBUDDY,
               reinterpret_cast<WPARAM>(GetDlgItem(Handle(), kKeepDaysId)), 0);
  PaintPageBrush();
  InvalidateRect(Handle(), nullptr, TRUE);
}

SIZE TSetupForm::ClientSize(int dpi) {
  return {ScaleToDpi(kClientWidth, dpi), ScaleToDpi(kClientHeight, dpi)};
}

SIZE TSetupForm::OuterSize(int dpi) const {
  return OuterSizeAtDpi(ClientSize(dpi), kFormStyle, kFormExStyle, dpi);
}

// Centred on the work area of the screen the window `over` stands on (the primary screen
// without one), and kept inside it.
void TSetupForm::SizeAndCentre(HWND over) {
  const int before = WindowDpi(Handle());
  PlaceCentred(over);
  // Moved onto a screen of another DPI, the dialog was laid out again on the way, at the
  // place the system suggested; it is centred once more at its new size.
  if (WindowDpi(Handle()) != before) PlaceCentred(over);
}

void TSetupForm::PlaceCentred(HWND over) {
  const RECT area = WorkAreaOf(over);
  const SIZE size = OuterSize(Dpi_);
  const TLayoutPoint at =
      CentreInArea(size.cx, size.cy, area.right - area.left, area.bottom - area.top);
  PlaceWithClientSize(Handle(), {area.left + at.Left, area.top + at.Top}, ClientSize(Dpi_), Dpi_);
}

// Moved or dragged to a screen of another DPI: laid out again for it, at the place the
// system suggests and the dialog's own size there.
void TSetupForm::OnDpiChanged(const TDpiChange& change) {
  Layout(change.Dpi);
  PlaceWithClientSize(Handle(), {change.Suggested.left, change.Suggested.top},
                      ClientSize(change.Dpi), change.Dpi);
}

// The page as the themed tab control paints it, for the controls on it to show through:
// they are the dialog's children, which would otherwise paint the dialog's grey.
void TSetupForm::PaintPageBrush() {
  RECT client{};
  GetClientRect(Pages_, &client);
  PageBrush_.Reset();
  if (GetWindowTheme(Pages_) == nullptr || client.right <= 0 || client.bottom <= 0) return;
  const TScreenDc screen;
  const TMemoryDc surface(screen.Get());
  const TUniqueBitmap page(CreateCompatibleBitmap(screen.Get(), client.right, client.bottom));
  {
    const TSelectObjectScope select(surface.Get(), page.Get());
    FillRect(surface.Get(), &client, GetSysColorBrush(COLOR_BTNFACE));
    SendMessageW(Pages_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.Get()),
                 PRF_CLIENT | PRF_ERASEBKGND);
  }
  PageBrush_.Reset(CreatePatternBrush(page.Get()));
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
  SetChecked(kJournalToFileId, JournalSettings.ToFile);
  SendMessageW(KeepDaysSpin_, UDM_SETPOS32, 0, JournalSettings.KeepDays);
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
  BOOL unreadable = FALSE;
  const auto days = static_cast<int>(
      SendMessageW(KeepDaysSpin_, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&unreadable)));
  JournalSettings = JournalSettingsOfChoices(
      Checked(kJournalToFileId), unreadable ? std::nullopt : std::optional<int>(days),
      JournalSettings);
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
  const HWND firstControls[] = {GetDlgItem(Handle(), kMinimizeId), ReaderTypeCB_, FormatCB_,
                                GetDlgItem(Handle(), kJournalToFileId)};
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
    case WM_DPICHANGED:
      OnDpiChanged(DpiChangeOf(wParam, lParam));
      return TRUE;
    case kGetDpiScaledSizeMessage:
      *reinterpret_cast<SIZE*>(lParam) = OuterSize(static_cast<int>(wParam));
      return TRUE;
    case WM_THEMECHANGED:
      PaintPageBrush();
      break;
  }
  return DefaultProc(message, wParam, lParam);
}

// Controls on a themed page show the page through. The group box's caption is black, as
// designed, except under a high-contrast scheme, whose colours every text keeps.
LRESULT TSetupForm::OnControlColour(HDC dc, HWND control, UINT message, WPARAM wParam,
                                    LPARAM lParam) {
  const LRESULT brush = DefaultProc(message, wParam, lParam);
  if (GetDlgCtrlID(control) == kPortGroupId && !HighContrast()) SetTextColor(dc, RGB(0, 0, 0));
  if (!PageBrush_ || !OnPage(control)) return brush;
  POINT onPages{0, 0};
  MapWindowPoints(control, Pages_, &onPages, 1);
  SetBrushOrgEx(dc, -onPages.x, -onPages.y, nullptr);
  SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<LRESULT>(PageBrush_.Get());
}

bool TSetupForm::OnPage(HWND control) const {
  for (const auto& controls : PageControls_) {
    if (std::find(controls.begin(), controls.end(), control) != controls.end()) return true;
  }
  return false;
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
    case kOpenFolderId:
      OpenJournalFolder();
      break;
    default:
      break;
  }
}

bool ShowSetup(int page, const TPortProbe& probe, HWND over) {
  SetupForm = TSetupForm::Create(probe, over);
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
  if (!ShowSetup(page, probe, host.Window())) return false;
  // Confirming reopens the port, the same one too: a port can look open and read nothing
  // (a USB-serial adapter after a sleep), and confirming it is the operator's way to bring
  // it back. The host opens it on a worker and shows the result when it comes.
  host.ReopenPort();
  host.UpdateStatus();
  return true;
}
