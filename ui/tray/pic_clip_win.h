// A picture strip cut into equal cells; a cell request copies the cell into one working
// bitmap, so each request overwrites the picture the previous one returned. The strip is
// drawn at 96 DPI and cut at the DPI it is set to, each cell scaled without blur.
#pragma once

#include <windows.h>

#include <optional>

#include "ui/shell/dpi_scale.h"
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

  // Cells from now on at the DPI.
  void SetDpi(int dpi);

  int Cols() const { return Cols_; }
  int Rows() const { return Rows_; }
  int CellWidth() const { return Width_ / Cols_; }
  int CellHeight() const { return Height_ / Rows_; }
  int CellCount() const { return Cols_ * Rows_; }
  // The cell's picture, transparent where it has MaskColor while Masked; no bitmap when
  // the index names no cell.
  TItemPicture Cell(int index);

 private:
  HBITMAP Shown() const { return Scaled_ ? Scaled_.Get() : Designed_.Get(); }

  TUniqueBitmap Designed_;
  TUniqueBitmap Scaled_;  // at the DPI; none at 96, where the designed strip shows
  TUniqueBitmap Work_;
  int Cols_, Rows_;
  int Dpi_ = kDesignDpi;
  int Width_ = 0, Height_ = 0;
};
