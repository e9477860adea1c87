// What the notification area shows of the program's icon, read off the screen: with no task
// bar Wine keeps the icons as windows of a tray window of its own (one for the desktop).
#pragma once

struct TIconColours {
  int Green = 0;
  int Red = 0;
};

// The icons the notification area shows.
int ShownTrayIcons();

// Counts the strongly green and strongly red pixels of the icon, while it is the only one
// shown: an icon a program ended just before may stay a moment, and is not the one meant.
TIconColours ShownIconColours();

// The failure picture: red and no green. The open-port picture: green and no red.
bool IconShowsFailure();
bool IconShowsOpen();
