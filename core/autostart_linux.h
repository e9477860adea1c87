// Starting the driver when the operator logs in: an entry in $XDG_CONFIG_HOME/autostart/,
// which the desktop reads at login. The entry is the setting: there is no key for it.
#pragma once

#include <string>

bool AutostartEnabled();

// Writes an entry that starts `program`, or removes it; false when that failed.
bool SetAutostart(bool enabled, const std::string& program);
