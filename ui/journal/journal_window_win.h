// The window «Журнал карт»: the cards of this run in a list, newest on top, whose numbers the
// operator copies. One window; closing it only hides it, so the next opening finds it as left.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "core/unique_handle_win.h"
#include "ui/journal/journal_view.h"
#include "ui/shell/display_win.h"
#include "ui/shell/dpi_scale.h"
#include "ui/shell/window_win.h"

class TJournalWindow : public TWindow<TJournalWindow> {
 public:
  static constexpr const wchar_t* kClassName = L"TJournalForm";
  // Ids, also for whoever drives the window from outside.
  static constexpr int kListId = 100;
  static constexpr int kCopyCommand = 200;
  // Another program may hold the clipboard a moment: the copy is tried again on this timer.
  static constexpr UINT_PTR kCopyTimerId = 1;
  static constexpr UINT kCopyRetryMs = 20;
  static constexpr int kCopyTries = 25;

  // The window, hidden, at the DPI of the screen `over` stands on; none when the platform
  // refused.
  static std::unique_ptr<TJournalWindow> Create(HWND over);
  ~TJournalWindow() { DestroyHandle(); }

  // Takes the rows the journal added since the last look; what was selected stays selected.
  void Refresh();
  // Brings the window to the front, with the card of `serial` (when not 0) alone selected
  // and in view.
  void Open(std::uint64_t serial = 0);

 private:
  friend class TWindow<TJournalWindow>;
  TJournalWindow() = default;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  bool CreateList();
  void Layout(int dpi);
  void FitList();
  void OnDpiChanged(const TDpiChange& change);
  LRESULT OnNotify(const NMHDR& header);
  void GiveCell(NMLVDISPINFOW& info);
  void OnContextMenu(LPARAM lParam);
  std::vector<std::size_t> SelectedLines() const;
  void SelectOnly(std::size_t line);
  void CopyNumbers();
  // True when the clipboard took the text.
  bool PutOnClipboard(const std::wstring& text);
  void OnCopyTimer();

  int Dpi_ = kDesignDpi;
  HWND List_ = nullptr;
  TUniqueFont Font_;
  TJournalView View_;
  std::wstring CellBuffer_;  // the text of the cell the list asked for last
  std::wstring CopyPending_;  // what waits for the clipboard
  int CopyTriesLeft_ = 0;
};
