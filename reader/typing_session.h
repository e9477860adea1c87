// Whether card numbers can be typed into other programs of this desktop session. Under X11
// the XTest extension hands key presses to the focused window of any program; a Wayland
// session gives one program's input to no other, and the program says so rather than
// pretending to type.
#pragma once

#include <string_view>

enum class TTypingSession { X11, Wayland, NoDisplay };

// From $WAYLAND_DISPLAY, $XDG_SESSION_TYPE and whether an X display opened.
TTypingSession TypingSessionOf(std::string_view waylandDisplay, std::string_view sessionType,
                               bool xDisplayOpens);
