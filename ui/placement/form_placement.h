// Window placement kept in the settings file: the main window reopens where the operator
// left it, per screen size. The decisions live here, against an abstract window, so they
// run on the host; form_placement_win.h puts a real window behind them.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

#include "core/ini_file.h"
#include "core/profile_store.h"

struct PlacementPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const PlacementPoint&) const = default;
};

struct PlacementRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  bool operator==(const PlacementRect&) const = default;
};

// The window system's placement record; normalPosition is the rectangle of the normal
// (neither minimised nor maximised) window.
struct PlacementRecord {
  std::int32_t flags = 0;
  std::int32_t showCmd = 0;
  PlacementPoint minPosition;
  PlacementPoint maxPosition;
  PlacementRect normalPosition;
  bool operator==(const PlacementRecord&) const = default;
};

inline constexpr std::int32_t kShowCmdHide = 0;       // SW_HIDE
inline constexpr std::int32_t kShowCmdMinimized = 2;  // SW_SHOWMINIMIZED

enum class BorderStyle { None, Single, Sizeable, Dialog, ToolWindow, SizeToolWin };

// The frame metrics a border style is measured by (SM_CXBORDER and its kin).
enum class FrameMetric { CxBorder, CyBorder, CxFrame, CyFrame, CxDlgFrame, CyDlgFrame };

// The window-style bits that decide the border style.
struct BorderBits {
  bool thickFrame = false;        // WS_THICKFRAME
  bool border = false;            // WS_BORDER or WS_DLGFRAME
  bool dialogModalFrame = false;  // WS_EX_DLGMODALFRAME
  bool toolWindow = false;        // WS_EX_TOOLWINDOW
};

BorderStyle BorderStyleOf(const BorderBits& bits);

struct ScreenSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// What the placement needs to know about its window and the screen it is on.
class PlacementWindow {
 public:
  virtual ~PlacementWindow() = default;

  virtual bool Exists() const = 0;
  virtual PlacementRecord Placement() const = 0;
  virtual void ApplyPlacement(const PlacementRecord& record) = 0;
  virtual bool Visible() const = 0;
  virtual BorderStyle Border() const = 0;
  // True when this is the application's main window and the application is minimised.
  virtual bool ApplicationMinimised() const = 0;

  virtual ScreenSize Screen() const = 0;
  virtual std::int32_t PixelsPerInch() const = 0;  // logical, vertical
  virtual std::int32_t Metric(FrameMetric metric) const = 0;
};

enum class TPlacementOption : std::uint8_t { fpState = 1, fpPosition = 2, fpActiveControl = 4 };

// A set of placement options. Only fpPosition is carried by this program: the window state
// and the focused control are decided afresh by the main window at every start.
class TPlacementOptions {
 public:
  constexpr TPlacementOptions(std::initializer_list<TPlacementOption> options) {
    for (const TPlacementOption option : options) bits_ |= static_cast<std::uint8_t>(option);
  }
  constexpr bool Contains(TPlacementOption option) const {
    return (bits_ & static_cast<std::uint8_t>(option)) != 0;
  }

 private:
  std::uint8_t bits_ = 0;
};

// Receives the text of an error raised while restoring or saving; the main window hands
// it to the program's standard error report.
using PlacementErrorReport = std::function<void(const std::wstring& text)>;

// "(1024x768)" for a 1024 x 768 screen: the suffix of the keys kept per screen size.
std::wstring ScreenSizeSuffix(ScreenSize screen);

class TFormPlacement {
 public:
  TFormPlacement(PlacementWindow& window, ProfileStore& store, PlacementErrorReport report);
  TFormPlacement(const TFormPlacement&) = delete;
  TFormPlacement& operator=(const TFormPlacement&) = delete;

  std::wstring IniFileName;
  std::wstring IniSection = L"Place";
  TPlacementOptions Options{TPlacementOption::fpPosition};
  bool Active = true;
  std::int32_t Version = 0;

  bool Restored() const { return restored_; }
  bool Saved() const { return saved_; }
  bool Destroying() const { return destroying_; }

  // The window's hooks. OnShow runs before the window becomes visible, OnCloseQuery after
  // the window's own close query with its answer (returned unchanged), OnDestroy before the
  // window's own destroy handler. Errors go to the report; the show, close or destroy goes on.
  void OnShow();
  bool OnCloseQuery(bool canClose);
  void OnDestroy();

  // Both raise IniWriteError when the settings file cannot be written.
  void RestoreWindowPlacement();
  void SaveWindowPlacement();

 private:
  void ApplyStoredPosition(const TIniFile& ini);
  void SetMaximisedPosition();
  PlacementRecord CurrentRecordToApply() const;
  std::wstring ReadPositionText(const TIniFile& ini, const std::wstring& key) const;
  void WritePositionText(TIniFile& ini, const std::wstring& key, const std::wstring& text);
  void Guarded(const std::function<void()>& action) const;

  PlacementWindow& window_;
  ProfileStore& store_;
  PlacementErrorReport report_;
  bool restored_ = false;
  bool saved_ = false;
  bool destroying_ = false;
};
