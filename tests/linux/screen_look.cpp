#include "tests/linux/screen_look.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <vector>

namespace {

constexpr int kTrayCornerWidth = 120;
constexpr int kTrayCornerHeight = 24;

std::optional<unsigned long> CardinalProperty(Display* display, Window window, const char* name) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1, False,
                         XA_CARDINAL, &type, &format, &count, &after, &data) != Success ||
      data == nullptr)
    return std::nullopt;
  const unsigned long value = count == 1 ? *reinterpret_cast<unsigned long*>(data) : 0;
  XFree(data);
  if (count != 1) return std::nullopt;
  return value;
}

std::string Utf8Title(Display* display, Window window) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False), 0, 1024,
                         False, XInternAtom(display, "UTF8_STRING", False), &type, &format, &count,
                         &after, &data) != Success ||
      data == nullptr)
    return {};
  std::string title(reinterpret_cast<char*>(data), count);
  XFree(data);
  return title;
}

TColourCount Count(XImage* image) {
  TColourCount count;
  if (image == nullptr) return count;
  for (int y = 0; y < image->height; ++y) {
    for (int x = 0; x < image->width; ++x) {
      const unsigned long pixel = XGetPixel(image, x, y);
      const int red = static_cast<int>((pixel >> 16) & 0xFF);
      const int green = static_cast<int>((pixel >> 8) & 0xFF);
      const int blue = static_cast<int>(pixel & 0xFF);
      if (red > 180 && green < 70 && blue < 70) ++count.Red;
      if (green > 90 && red < 50 && blue < 50) ++count.Green;
    }
  }
  XDestroyImage(image);
  return count;
}

// The root's children, bottom to top.
std::vector<Window> TopLevels(Display* display) {
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
    return {};
  std::vector<Window> windows(children, children + count);
  if (children != nullptr) XFree(children);
  return windows;
}

}  // namespace

std::optional<Window> FindWindow(Display* display, pid_t pid, const std::string& title) {
  for (const Window window : TopLevels(display)) {
    const auto owner = CardinalProperty(display, window, "_NET_WM_PID");
    if (owner && static_cast<pid_t>(*owner) == pid && Utf8Title(display, window) == title)
      return window;
  }
  return std::nullopt;
}

bool WindowShown(Display* display, Window window) {
  XWindowAttributes attributes;
  return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

std::optional<Window> ShownPopup(Display* display, pid_t pid) {
  std::optional<Window> found;
  for (const Window window : TopLevels(display)) {
    XWindowAttributes attributes{};
    const auto owner = CardinalProperty(display, window, "_NET_WM_PID");
    if (owner && static_cast<pid_t>(*owner) == pid &&
        XGetWindowAttributes(display, window, &attributes) && attributes.override_redirect &&
        attributes.map_state == IsViewable)
      found = window;
  }
  return found;
}

TRect ScreenRect(Display* display, Window window) {
  XWindowAttributes attributes{};
  XGetWindowAttributes(display, window, &attributes);
  Window child = 0;
  TRect rect{0, 0, attributes.width, attributes.height};
  XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &rect.X, &rect.Y,
                        &child);
  return rect;
}

void CloseWindow(Display* display, Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XSync(display, False);
}

void WatchKeys(Display* display, Window window) {
  XSelectInput(display, window, KeyPressMask);
  XSync(display, False);
}

int KeyPressesSeen(Display* display, Window window) {
  XSync(display, False);
  int seen = 0;
  XEvent event;
  while (XCheckTypedWindowEvent(display, window, KeyPress, &event)) ++seen;
  return seen;
}

TColourCount CountColours(Display* display, Window window, int top) {
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes) || attributes.height <= top) return {};
  return Count(XGetImage(display, window, 0, top, static_cast<unsigned>(attributes.width),
                         static_cast<unsigned>(attributes.height - top), AllPlanes, ZPixmap));
}

TColourCount CountTrayColours(Display* display) {
  const int screen = DefaultScreen(display);
  const int width = DisplayWidth(display, screen);
  const int height = DisplayHeight(display, screen);
  return Count(XGetImage(display, DefaultRootWindow(display), width - kTrayCornerWidth,
                         height - kTrayCornerHeight, kTrayCornerWidth, kTrayCornerHeight, AllPlanes,
                         ZPixmap));
}
