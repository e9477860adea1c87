// The setup dialog "Установки" and the setup flow around it: the dialog edits the five
// settings and the output options and lists COM 1 to COM 100 as probed at the moment it
// opens; a confirmed setup reopens the port and restarts the reader.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "core/common.h"
#include "core/unique_handle_win.h"
#include "ui/setup/check_list_win.h"
#include "ui/setup/setup_form.h"
#include "ui/shell/display_win.h"
#include "ui/shell/dpi_scale.h"
#include "ui/shell/modal_loop_win.h"
#include "ui/shell/window_win.h"

// Opens the port's device as the port object does and closes it at once; true when it
// opened.
bool ProbePort(int port);

// A dialog of a class of its own, so that it is bound and fenced like every other window
// while the dialog manager still gives it Tab, Enter and Esc.
class TSetupForm : public TWindow<TSetupForm> {
 public:
  static constexpr const wchar_t* kClassName = L"TSetupForm";
  static constexpr bool kDialog = true;
  static constexpr int kClientWidth = 325;
  static constexpr int kClientHeight = 280;

  // Control ids, also for whoever drives the dialog from outside.
  static constexpr int kOkButtonId = IDOK;
  static constexpr int kCancelButtonId = IDCANCEL;
  static constexpr int kHelpButtonId = 100;
  static constexpr int kPagesId = 101;
  static constexpr int kMinimizeId = 110;
  static constexpr int kQuestionId = 111;
  static constexpr int kOneCopyId = 112;
  static constexpr int kReaderTypeLabelId = 120;
  static constexpr int kReaderTypeId = 121;
  static constexpr int kPortGroupId = 122;
  static constexpr int kPortListId = 123;
  static constexpr int kFormatLabelId = 130;
  static constexpr int kFormatId = 131;
  static constexpr int kSuffixLabelId = 132;
  static constexpr int kSuffixId = 133;
  static constexpr int kNoCaretTypingId = 134;
  static constexpr int kJournalToFileId = 140;
  static constexpr int kKeepDaysLabelId = 141;
  static constexpr int kKeepDaysId = 142;
  static constexpr int kKeepDaysSpinId = 143;
  static constexpr int kOpenFolderId = 144;

  // The dialog, built and hidden, or none when the platform refused it. `probe` opens the
  // ports for the port list; the dialog is centred on the screen of `over`, at its DPI.
  static std::unique_ptr<TSetupForm> Create(TPortProbe probe, HWND over = nullptr);
  // The window goes before the fonts its controls still show.
  ~TSetupForm() { DestroyHandle(); }

  void LoadFromSettings(int page);
  void StoreToSettings();
  void FillPortList();
  void CheckOnlyPort(int port);
  int CheckedPort() const;
  // Shows the dialog and waits until a button, Esc or the close box ends it; IDOK or
  // IDCANCEL.
  int ShowModal();

 private:
  friend class TWindow<TSetupForm>;
  explicit TSetupForm(TPortProbe probe) : Probe_(std::move(probe)) {}
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnControlColour(HDC dc, HWND control, UINT message, WPARAM wParam, LPARAM lParam);

  bool CreateControls();
  HWND AddControl(const wchar_t* className, const wchar_t* text, DWORD style, int id);
  HWND AddDropDownRow(int page, int labelId, const wchar_t* label, int id,
                      std::span<const wchar_t* const> items);
  bool CreateOutputPage();
  bool CreateJournalPage();
  void Layout(int dpi);
  static SIZE ClientSize(int dpi);
  SIZE OuterSize(int dpi) const;
  void SizeAndCentre(HWND over);
  void PlaceCentred(HWND over);
  void OnDpiChanged(const TDpiChange& change);
  void PaintPageBrush();
  bool OnPage(HWND control) const;
  int PageShown() const;
  void ShowPage(int index);
  void OnCommand(int id, int code);
  bool Checked(int id) const;
  void SetChecked(int id, bool checked);

  int Dpi_ = kDesignDpi;
  TUniqueFont Font_;
  TUniqueFont GroupFont_;
  TUniqueBrush PageBrush_;  // the themed page, while the system draws one
  HWND Pages_ = nullptr;
  HWND ReaderTypeCB_ = nullptr;
  HWND FormatCB_ = nullptr;
  HWND SuffixCB_ = nullptr;
  HWND KeepDaysSpin_ = nullptr;
  std::array<std::vector<HWND>, kPageCount> PageControls_;
  TPortCheckList CommRxCLB_;
  TPortProbe Probe_;
  TModalLoop Modal_;
};

// The dialog while ShowSetup runs, otherwise none.
extern std::unique_ptr<TSetupForm> SetupForm;

// Shows the dialog on the page given (1 "Вид", 2 "Считыватель", 3 "Вывод", 4 "Журнал") and
// stores what the operator confirmed; true when confirmed with "&Ввод".
bool ShowSetup(int page, const TPortProbe& probe = ProbePort, HWND over = nullptr);

// What the setup flow needs of the main window.
class TSetupHost {
 public:
  virtual ~TSetupHost() = default;
  // The operator confirmed: stop the reader and open the configured port anew, without
  // waiting for the device; the port shows as not open until its answer comes.
  virtual void ReopenPort() = 0;
  virtual void UpdateStatus() = 0;
  // The window the dialog opens over, on its screen; none: the primary screen.
  virtual HWND Window() const { return nullptr; }
};

// The whole setup flow: the dialog, then, once confirmed, the host asked to reopen the chosen
// port. True when the operator confirmed; the caller then saves the settings.
bool RunSetup(int page, TSetupHost& host, const TPortProbe& probe = ProbePort);
// The same with the main window as host.
bool RunSetup(int page);
