// What the display says about DPI, metrics and work areas, asked of the newest interface the
// running system has: the per-monitor calls are found at run time, since the program still
// starts on Windows Vista and 7, where they are missing and the system's DPI holds
// everywhere.
#pragma once

#include <windows.h>

// WM_GETDPISCALEDSIZE, which the build's headers name only for newer systems.
inline constexpr UINT kGetDpiScaledSizeMessage = 0x02E4;

// The DPI the program's windows start at: the primary screen's at logon.
int SystemDpi();
// The DPI of the screen the window stands on.
int WindowDpi(HWND window);
// The DPI of the screen that holds the point, or the nearest one.
int DpiAtPoint(POINT point);

// A system metric (SM_...) as it is at the DPI.
int MetricAtDpi(int index, int dpi);
// The system's fonts and non-client sizes as they are at the DPI.
NONCLIENTMETRICSW NonClientMetricsAtDpi(int dpi);
// The outer size of a window with the style and a client area of the size, at the DPI.
SIZE OuterSizeAtDpi(SIZE client, DWORD style, DWORD exStyle, int dpi);
// Places the window at `at` with a client area of `client`. The frame is measured once the
// window has it, not only assumed: a system that scales only the client area (per-monitor
// awareness before Windows 10 1703) keeps the frame at its own DPI.
void PlaceWithClientSize(HWND window, POINT at, SIZE client, int dpi);

// The work area (the screen without the task bar) of the screen that holds most of the
// window, or of the primary screen without one.
RECT WorkAreaOf(HWND window);

// Whether the operator chose a high-contrast scheme: text then keeps the system's colours.
bool HighContrast();

// A dialog of the program lays itself out again when its DPI changes; the dialog manager's
// own stretching is switched off so the two do not both act.
void KeepDialogScalingOwn(HWND dialog);

// What WM_DPICHANGED brings: the new DPI and the rectangle the system suggests.
struct TDpiChange {
  int Dpi;
  RECT Suggested;
};
TDpiChange DpiChangeOf(WPARAM wParam, LPARAM lParam);
