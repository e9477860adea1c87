// A picture strip cut into equal cells; a cell request copies the cell into one working
// bitmap, so each request overwrites the picture the previous one returned.
#pragma once

#include <windows.h>

#include <optional>

#include "ui/shell/gdi_win.h"
#include "ui/tray/drawn_menu_win.h"

class TPicClip {
 public:
  TPicClip(TUniqueBitmap picture, int cols, int rows);
  TPicClip(const TPicClip&) = delete;
  TPicClip& operator=(const TPicClip&) = delete;

  bool Masked = true;
  // Taken from the picture's bottom-left pixel when the picture is set.
  std::optional<COLORREF> MaskColor;

  int Cols() const { return Cols_; }
  int Rows() const { return Rows_; }
  int CellWidth() const { return Width_ / Cols_; }
  int CellHeight() const { return Height_ / Rows_; }
  int CellCount() const { return Cols_ * Rows_; }
  // The cell's picture, transparent where it has MaskColor while Masked; no bitmap when
  // the index names no cell.
  TItemPicture Cell(int index);

 private:
  TUniqueBitmap Picture_;
  TUniqueBitmap Work_;
  int Cols_, Rows_;
  int Width_ = 0, Height_ = 0;
};
