// The notification-area icon: one icon registered with the shell, a hidden window that
// receives the shell's mouse notices about it, and the popup menu it opens. GUI thread only.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <string>

#include "ui/shell/window_error_report_win.h"
#include "ui/shell/window_win.h"
#include "ui/tray/icon_list_win.h"
#include "ui/tray/tray_icon.h"

class TDrawnPopupMenu;

inline constexpr wchar_t kTrayIconWindowClass[] = L"LintavoTrayIcon";

// A notice the owner may attach to: the button, the keys held, and the cursor.
struct TTrayMouseNotice {
  TTrayStepKind Kind;
  TTrayButton Button;
  bool Double = false;
  bool Shift = false, Alt = false, Ctrl = false;
  POINT Cursor{};
};

// The component is its own hidden message window.
class TTrayIcon : public TWindow<TTrayIcon> {
 public:
  static constexpr const wchar_t* kClassName = kTrayIconWindowClass;

  // The shell's add, modify and delete; replaceable so the icon's own rules can be watched.
  using TShellNotify = std::function<bool(DWORD, NOTIFYICONDATAW&)>;

  // mainWindow is the window whose mouse capture a menu opening cancels when no window
  // of the program is active.
  TTrayIcon(std::wstring hint, HWND mainWindow, TErrorReport report);
  ~TTrayIcon();

  bool Active() const { return Active_; }
  void SetActive(bool active);
  bool Enabled = true;
  const std::wstring& Hint() const { return Hint_; }
  void SetHint(std::wstring hint);
  HICON Icon() const { return Icon_.Get(); }
  void SetIcon(TUniqueIcon icon);
  TIconList& Icons() { return Icons_; }
  TDrawnPopupMenu* PopupMenu() const { return PopupMenu_; }
  void SetPopupMenu(TDrawnPopupMenu* menu);
  bool IconAdded() const { return IconAdded_; }
  const TTrayClickState& PressedButtons() const { return Clicks_; }
  const NOTIFYICONDATAW& NotifyRecord() const { return Record_; }
  HWND MessageWindow() const { return Handle(); }

  // The owner has finished building its components; changes before this add nothing.
  void Loaded();
  void AddTrayIcon();
  void RemoveTrayIcon();
  void RefreshTrayIcon();
  bool ShowTrayMenu(int x, int y);
  bool RunDefaultItem();
  // A warning balloon from the icon, silent: the caller sounds the warning itself, so that
  // it is heard also where the system keeps balloons quiet. False when the shell holds no
  // icon or refused the balloon.
  // `tag` comes back through OnBalloonClick when the operator clicks this balloon.
  bool ShowBalloon(const std::wstring& title, const std::wstring& text, std::uint64_t tag = 0);

  std::function<void(const TTrayMouseNotice&)> OnMouseNotice;
  std::function<void(std::uint64_t tag)> OnBalloonClick;
  TShellNotify ShellNotify;

 private:
  friend class TWindow<TTrayIcon>;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void ReportError(const std::wstring& text) const;
  void OnTrayNotify(unsigned mouseMessage);
  void OnShellRestarted();
  void RunStep(const TTrayStep& step, POINT cursor);
  void Notice(const TTrayStep& step, POINT cursor) const;
  bool HasImage() const;
  void FillNotifyRecord();
  bool Notify(DWORD action);
  bool Modify();
  void BringMessageWindowForward() const;

  bool Active_ = true;
  std::wstring Hint_;
  TUniqueIcon Icon_;
  TIconList Icons_;
  TDrawnPopupMenu* PopupMenu_ = nullptr;
  bool Loading_ = true;  // the owner is still building its components
  bool IconAdded_ = false;
  TTrayClickState Clicks_;
  TBalloonTag Balloon_;
  NOTIFYICONDATAW Record_{};
  HWND MainWindow_;
  TErrorReport Report_;
};
