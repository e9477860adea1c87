#include "ui/shell/display_win.h"

#include <cstddef>

#include "ui/shell/gdi_win.h"
#include "ui/shell/mul_div.h"

namespace {

// An export of a system library the running Windows may lack; none when it does.
template <typename Function>
Function SystemExport(const wchar_t* library, const char* name) {
  const HMODULE module = GetModuleHandleW(library);
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Loaded once and kept for the run: the shell's scaling library is not loaded otherwise.
HMODULE ShellScaling() {
  static const HMODULE module =
      LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  return module;
}

using TGetDpiForWindow = UINT(WINAPI*)(HWND);
using TGetDpiForSystem = UINT(WINAPI*)();
using TGetDpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using TGetSystemMetricsForDpi = int(WINAPI*)(int, UINT);
using TSystemParametersInfoForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using TAdjustWindowRectExForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using TSetDialogDpiChangeBehavior = BOOL(WINAPI*)(HWND, int, int);

constexpr int kEffectiveDpi = 0;       // MDT_EFFECTIVE_DPI
constexpr int kDisableAllScaling = 1;  // DDC_DISABLE_ALL

template <typename Function>
Function User32(const char* name) {
  return SystemExport<Function>(L"user32.dll", name);
}

int ScreenLogPixels() {
  const TScreenDc screen;
  return GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

// A length the system gives at its own DPI, at another.
int FromSystemDpi(int length, int dpi) { return MulDivRound(length, dpi, SystemDpi()); }

void ScaleFontHeight(LOGFONTW& font, int dpi) { font.lfHeight = FromSystemDpi(font.lfHeight, dpi); }

}  // namespace

int SystemDpi() {
  static const auto getDpiForSystem = User32<TGetDpiForSystem>("GetDpiForSystem");
  return getDpiForSystem ? static_cast<int>(getDpiForSystem()) : ScreenLogPixels();
}

int WindowDpi(HWND window) {
  static const auto getDpiForWindow = User32<TGetDpiForWindow>("GetDpiForWindow");
  if (getDpiForWindow && window != nullptr) {
    if (const UINT dpi = getDpiForWindow(window); dpi != 0) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

int DpiAtPoint(POINT point) {
  const HMODULE shcore = ShellScaling();
  static const auto getDpiForMonitor =
      shcore ? reinterpret_cast<TGetDpiForMonitor>(
                   reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
             : nullptr;
  UINT dpiX = 0, dpiY = 0;
  if (getDpiForMonitor &&
      SUCCEEDED(getDpiForMonitor(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), kEffectiveDpi,
                                 &dpiX, &dpiY)) &&
      dpiY != 0)
    return static_cast<int>(dpiY);
  return SystemDpi();
}

int MetricAtDpi(int index, int dpi) {
  static const auto forDpi = User32<TGetSystemMetricsForDpi>("GetSystemMetricsForDpi");
  if (forDpi) return forDpi(index, static_cast<UINT>(dpi));
  return FromSystemDpi(GetSystemMetrics(index), dpi);
}

NONCLIENTMETRICSW NonClientMetricsAtDpi(int dpi) {
  static const auto forDpi = User32<TSystemParametersInfoForDpi>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (forDpi &&
      forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi)))
    return metrics;
  metrics = {};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    // Before Vista's padded border the record was shorter.
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return {};
  }
  for (LOGFONTW* font : {&metrics.lfCaptionFont, &metrics.lfSmCaptionFont, &metrics.lfMenuFont,
                         &metrics.lfStatusFont, &metrics.lfMessageFont})
    ScaleFontHeight(*font, dpi);
  return metrics;
}

SIZE OuterSizeAtDpi(SIZE client, DWORD style, DWORD exStyle, int dpi) {
  static const auto forDpi = User32<TAdjustWindowRectExForDpi>("AdjustWindowRectExForDpi");
  RECT frame{0, 0, client.cx, client.cy};
  if (!forDpi || !forDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
    RECT system{0, 0, 0, 0};
    AdjustWindowRectEx(&system, style, FALSE, exStyle);
    frame = {FromSystemDpi(system.left, dpi), FromSystemDpi(system.top, dpi),
             client.cx + FromSystemDpi(system.right, dpi),
             client.cy + FromSystemDpi(system.bottom, dpi)};
  }
  return {frame.right - frame.left, frame.bottom - frame.top};
}

void PlaceWithClientSize(HWND window, POINT at, SIZE client, int dpi) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
  const SIZE outer = OuterSizeAtDpi(client, style, exStyle, dpi);
  constexpr UINT kPlace = SWP_NOZORDER | SWP_NOACTIVATE;
  SetWindowPos(window, nullptr, at.x, at.y, outer.cx, outer.cy, kPlace);
  RECT got{};
  GetClientRect(window, &got);
  if (got.right != client.cx || got.bottom != client.cy)
    SetWindowPos(window, nullptr, at.x, at.y, outer.cx + client.cx - got.right,
                 outer.cy + client.cy - got.bottom, kPlace);
}

RECT WorkAreaOf(HWND window) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  const bool known =
      GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info) != FALSE;
  if (known && (info.dwFlags & MONITORINFOF_PRIMARY) == 0) return info.rcWork;
  // The primary screen's, as the system keeps it for the task bar (Wine keeps it only here).
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0) && known) area = info.rcWork;
  return area;
}

bool HighContrast() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof contrast;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void KeepDialogScalingOwn(HWND dialog) {
  static const auto setBehaviour =
      User32<TSetDialogDpiChangeBehavior>("SetDialogDpiChangeBehavior");
  if (setBehaviour) setBehaviour(dialog, kDisableAllScaling, kDisableAllScaling);
}

TDpiChange DpiChangeOf(WPARAM wParam, LPARAM lParam) {
  return {HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam)};
}
