#include "ui/journal/journal_window_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "journal/journal_texts.h"
#include "journal/session_journal.h"
#include "ui/shell/designed_font_win.h"

namespace {

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
// The client area at 96 DPI, and the columns across it.
constexpr SIZE kDesignedClient{640, 320};
constexpr int kColumnWidths[kJournalColumnCount] = {118, 86, 230, 180};
const wchar_t* const kColumnTitles[kJournalColumnCount] = {
    kJournalColumnTime, kJournalColumnNumber, kJournalColumnWhere, kJournalColumnOutcome};

struct TGlobalPolicy : TNullIsEmpty<HGLOBAL> {
  static bool Close(HGLOBAL memory) { return GlobalFree(memory) == nullptr; }
};
using TUniqueGlobal = TUnique<TGlobalPolicy>;

// The text in memory the clipboard can own.
TUniqueGlobal ClipboardText(const std::wstring& text) {
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  TUniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memory) return memory;
  void* const target = GlobalLock(memory.Get());
  if (target == nullptr) return {};
  std::memcpy(target, text.c_str(), bytes);
  GlobalUnlock(memory.Get());
  return memory;
}

SIZE ClientAt(int dpi) {
  return {ScaleToDpi(kDesignedClient.cx, dpi), ScaleToDpi(kDesignedClient.cy, dpi)};
}

}  // namespace

std::unique_ptr<TJournalWindow> TJournalWindow::Create(HWND over) {
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&classes);
  std::unique_ptr<TJournalWindow> window(new TJournalWindow());
  const int dpi = over != nullptr ? WindowDpi(over) : SystemDpi();
  const SIZE outer = OuterSizeAtDpi(ClientAt(dpi), kStyle, 0, dpi);
  if (!window->CreateHandle({.Caption = kJournalTitle,
                             .Style = kStyle,
                             .Left = CW_USEDEFAULT,
                             .Top = CW_USEDEFAULT,
                             .Width = outer.cx,
                             .Height = outer.cy}) ||
      !window->CreateList())
    return nullptr;
  window->Layout(WindowDpi(window->Handle()));
  window->Refresh();
  return window;
}

bool TJournalWindow::CreateList() {
  List_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA |
                              LVS_SHOWSELALWAYS,
                          0, 0, 0, 0, Handle(), reinterpret_cast<HMENU>(INT_PTR{kListId}),
                          GetModuleHandleW(nullptr), nullptr);
  if (List_ == nullptr) return false;
  SendMessageW(List_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP);
  for (std::size_t i = 0; i < kJournalColumnCount; ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(kColumnTitles[i]);
    column.cx = kColumnWidths[i];
    SendMessageW(List_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
  return true;
}

// The font and the columns at the DPI; the list fills the client area.
void TJournalWindow::Layout(int dpi) {
  Dpi_ = dpi;
  TUniqueFont previous = std::exchange(Font_, CreateDesignedFont(kDesignedFontPoints, dpi));
  SendMessageW(List_, WM_SETFONT, reinterpret_cast<WPARAM>(Font_.Get()), TRUE);
  for (std::size_t i = 0; i < kJournalColumnCount; ++i)
    SendMessageW(List_, LVM_SETCOLUMNWIDTH, i, ScaleToDpi(kColumnWidths[i], dpi));
  FitList();
}

void TJournalWindow::FitList() {
  RECT client{};
  GetClientRect(Handle(), &client);
  SetWindowPos(List_, nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TJournalWindow::OnDpiChanged(const TDpiChange& change) {
  const RECT& r = change.Suggested;
  SetWindowPos(Handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  Layout(change.Dpi);
}

// The list shows lines by their place, and new cards come in at the top: the selection and
// the focus are carried to where their cards now stand.
void TJournalWindow::Refresh() {
  std::vector<std::uint64_t> selected;
  for (const std::size_t line : SelectedLines()) selected.push_back(View_.RowAt(line).Serial);
  const auto focusLine = static_cast<std::size_t>(
      static_cast<int>(SendMessageW(List_, LVM_GETNEXTITEM, -1, LVNI_FOCUSED)));
  // No focus reads as a line far beyond the last.
  const std::uint64_t focused = focusLine < View_.Count() ? View_.RowAt(focusLine).Serial : 0;
  const std::uint64_t before = View_.LastSerial();
  View_.Add(Journal.RowsAfter(before));
  if (View_.LastSerial() == before) return;
  SendMessageW(List_, LVM_SETITEMCOUNT, View_.Count(), LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(List_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
  for (const std::uint64_t serial : selected) {
    const auto line = View_.LineOf(serial);
    if (!line) continue;
    state.state = state.stateMask = LVIS_SELECTED;
    SendMessageW(List_, LVM_SETITEMSTATE, *line, reinterpret_cast<LPARAM>(&state));
  }
  if (const auto line = View_.LineOf(focused); focused != 0 && line) {
    state.state = state.stateMask = LVIS_FOCUSED;
    SendMessageW(List_, LVM_SETITEMSTATE, *line, reinterpret_cast<LPARAM>(&state));
  }
  InvalidateRect(List_, nullptr, FALSE);
}

void TJournalWindow::Open(std::uint64_t serial) {
  Refresh();
  if (serial != 0) {
    if (const auto line = View_.LineOf(serial)) SelectOnly(*line);
  }
  if (IsIconic(Handle())) ShowWindow(Handle(), SW_RESTORE);
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
  SetFocus(List_);
}

void TJournalWindow::SelectOnly(std::size_t line) {
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(List_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(List_, LVM_SETITEMSTATE, line, reinterpret_cast<LPARAM>(&state));
  SendMessageW(List_, LVM_ENSUREVISIBLE, line, FALSE);
}

std::vector<std::size_t> TJournalWindow::SelectedLines() const {
  std::vector<std::size_t> lines;
  int line = -1;
  const auto next = [&] {
    return static_cast<int>(SendMessageW(List_, LVM_GETNEXTITEM, line, LVNI_SELECTED));
  };
  while ((line = next()) >= 0 && static_cast<std::size_t>(line) < View_.Count())
    lines.push_back(static_cast<std::size_t>(line));
  return lines;
}

// Nothing selected, nothing copied: the clipboard keeps what the operator had there.
void TJournalWindow::CopyNumbers() {
  const std::vector<std::size_t> lines = SelectedLines();
  if (lines.empty()) return;
  CopyPending_ = View_.NumbersText(lines);
  CopyTriesLeft_ = kCopyTries;
  KillTimer(Handle(), kCopyTimerId);
  OnCopyTimer();
}

void TJournalWindow::OnCopyTimer() {
  if (PutOnClipboard(CopyPending_) || --CopyTriesLeft_ <= 0) {
    KillTimer(Handle(), kCopyTimerId);
    CopyPending_.clear();
    return;
  }
  SetTimer(Handle(), kCopyTimerId, kCopyRetryMs, nullptr);
}

bool TJournalWindow::PutOnClipboard(const std::wstring& text) {
  TUniqueGlobal memory = ClipboardText(text);
  if (!memory || !OpenClipboard(Handle())) return false;
  EmptyClipboard();
  // The clipboard owns the memory once it took it.
  const bool taken = SetClipboardData(CF_UNICODETEXT, memory.Get()) != nullptr;
  if (taken) memory.Release();
  CloseClipboard();
  return taken;
}

void TJournalWindow::GiveCell(NMLVDISPINFOW& info) {
  LVITEMW& item = info.item;
  if ((item.mask & LVIF_TEXT) == 0 || item.iItem < 0 ||
      static_cast<std::size_t>(item.iItem) >= View_.Count() || item.iSubItem < 0 ||
      static_cast<std::size_t>(item.iSubItem) >= kJournalColumnCount)
    return;
  CellBuffer_ = View_.CellText(static_cast<std::size_t>(item.iItem),
                               static_cast<TJournalColumn>(item.iSubItem));
  item.pszText = CellBuffer_.data();
}

LRESULT TJournalWindow::OnNotify(const NMHDR& header) {
  if (header.idFrom != kListId) return 0;
  if (header.code == LVN_GETDISPINFOW) {
    GiveCell(*reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header)));
  } else if (header.code == LVN_KEYDOWN) {
    const auto& key = reinterpret_cast<const NMLVKEYDOWN&>(header);
    if (key.wVKey == 'C' && GetKeyState(VK_CONTROL) < 0) CopyNumbers();
  }
  return 0;
}

// The menu stands at the mouse, or, from the keyboard, at the list's corner.
void TJournalWindow::OnContextMenu(LPARAM lParam) {
  POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  if (lParam == -1) {
    at = {0, 0};
    ClientToScreen(List_, &at);
  }
  const TUniqueMenu menu(CreatePopupMenu());
  if (!menu) return;
  AppendMenuW(menu.Get(), MF_STRING | (SelectedLines().empty() ? MF_GRAYED : 0), kCopyCommand,
              kJournalCopyNumber);
  TrackPopupMenu(menu.Get(), TPM_RIGHTBUTTON, at.x, at.y, 0, Handle(), nullptr);
}

LRESULT TJournalWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) != List_) break;
      OnContextMenu(lParam);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kCopyCommand) CopyNumbers();
      return 0;
    case WM_SIZE:
      if (List_ != nullptr) FitList();
      return 0;
    case WM_TIMER:
      if (wParam != kCopyTimerId) break;
      OnCopyTimer();
      return 0;
    case WM_SETFOCUS:
      SetFocus(List_);
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(DpiChangeOf(wParam, lParam));
      return 0;
    case WM_CLOSE:
      ShowWindow(Handle(), SW_HIDE);
      return 0;
  }
  return DefaultProc(message, wParam, lParam);
}
