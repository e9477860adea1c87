// The program's windows as the screen shows them: found by process and title, mapped or
// not, and the colours their pixels hold.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <optional>
#include <string>

// A top-level window of the process with this title (_NET_WM_NAME), mapped or not.
std::optional<Window> FindWindow(Display* display, pid_t pid, const std::string& title);
bool WindowShown(Display* display, Window window);
// A shown window of the process that the window manager leaves alone: an open menu, a
// balloon.
std::optional<Window> ShownPopup(Display* display, pid_t pid);

struct TRect {
  int X = 0, Y = 0, Width = 0, Height = 0;
};
// Where the window is on the screen.
TRect ScreenRect(Display* display, Window window);
// Closes a window as its close box would.
void CloseWindow(Display* display, Window window);

// Starts counting the key presses that reach a window of another client; the count is of
// those that arrived by the time it is asked.
void WatchKeys(Display* display, Window window);
int KeyPressesSeen(Display* display, Window window);

struct TColourCount {
  int Red = 0;    // the port label's and the notices' pure red, and the tray's red reader
  int Green = 0;  // the port label's dark green, and the tray's green reader
};

// Pixels of the window from `top` (window coordinates) down.
TColourCount CountColours(Display* display, Window window, int top);
// The tray host's corner of the screen, where the program's icon sits.
TColourCount CountTrayColours(Display* display);
