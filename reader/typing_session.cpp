#include "reader/typing_session.h"

TTypingSession TypingSessionOf(std::string_view waylandDisplay, std::string_view sessionType,
                               bool xDisplayOpens) {
  // Xwayland opens an X display in a Wayland session too, but what is typed there reaches
  // only the X programs, not the rest of the desktop.
  const bool wayland = !waylandDisplay.empty();
  if (wayland && sessionType == "wayland") return TTypingSession::Wayland;
  if (xDisplayOpens) return TTypingSession::X11;
  return wayland ? TTypingSession::Wayland : TTypingSession::NoDisplay;
}
