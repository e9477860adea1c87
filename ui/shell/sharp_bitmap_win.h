// Bitmaps of the program's pixel art at the size a DPI asks for, scaled without blur.
#pragma once

#include <windows.h>

#include "core/unique_handle_win.h"

// A 32-bit copy of the bitmap at the new size; none when the platform refused.
TUniqueBitmap ScaleBitmapSharp(HBITMAP bitmap, int width, int height);
// The bitmap's designed size scaled to the DPI.
TUniqueBitmap ScaleBitmapToDpi(HBITMAP bitmap, int dpi);
// A bitmap's width and height.
SIZE BitmapSize(HBITMAP bitmap);
