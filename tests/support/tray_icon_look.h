// What the notification area shows of the program's icon, read off the screen. The rig's
// Wine desktop has a task bar, and Wine draws the notification area's icons on it itself,
// at its right end: one cell each, the small icon with a border of two pixels, the icon
// added first rightmost. No window stands for an icon, so the cells are read as pixels.
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
