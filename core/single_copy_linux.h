// One running copy per user and X display. The first copy holds a local socket in the user's
// runtime folder named after the single-copy section and the display, and a second copy
// that cannot take the name calls the first through it to bring its window up.
#pragma once

// True when this process may run: it now holds the name, or the name could not be made at
// all. False when another copy of this user holds it.
bool IsFirstInstance();

// The held socket, for the GUI thread to watch for calls; -1 when none is held.
int FirstInstanceSocket();

// Takes one waiting call off the held socket; true when a second copy called.
bool TakeSecondCopyCall();

// Asks the copy that holds the name to bring its window up; false when none answered.
bool CallFirstInstance();
