// The program's pixel art, drawn by ui/pictures/*.py at build time and carried in the
// executable as Qt resources.
#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

// The notification-area pictures: the reader in green (port open) or red (not open), and
// the grey device shown until the port's state is known.
QIcon StateIcon(int portFailed);
QIcon DeviceIcon();

// A toolbar glyph or the wallpaper, by its file name ("glyph_setup.bmp", "wallpaper.bmp").
QImage ToolbarPicture(const char* name);

// Cell i of the tray menu's picture strip, its light grey made transparent.
QPixmap StripCell(int index);
