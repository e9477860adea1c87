#pragma once

// True when this process may run: it now holds the single-copy section, or the section
// could not be created at all. False when another copy already holds it.
bool IsFirstInstance();
