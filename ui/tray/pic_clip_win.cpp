#include "ui/tray/pic_clip_win.h"

#include <algorithm>

#include "ui/shell/sharp_bitmap_win.h"

TPicClip::TPicClip(TUniqueBitmap picture, int cols, int rows)
    : Designed_(std::move(picture)), Cols_(std::max(cols, 1)), Rows_(std::max(rows, 1)) {
  const SIZE size = BitmapSize(Designed_.Get());
  if (size.cx <= 0 || size.cy <= 0) return;
  Width_ = size.cx;
  Height_ = size.cy;
  const TScreenDc screen;
  const TMemoryDc source(screen.Get());
  const TSelectObjectScope select(source.Get(), Designed_.Get());
  MaskColor = GetPixel(source.Get(), 0, Height_ - 1);
}

// Scaled as a whole to whole cells, so no cell takes a pixel of its neighbour.
void TPicClip::SetDpi(int dpi) {
  if (dpi == Dpi_ || !Designed_) return;
  Dpi_ = dpi;
  const SIZE designed = BitmapSize(Designed_.Get());
  Scaled_.Reset();
  Width_ = designed.cx;
  Height_ = designed.cy;
  if (dpi != kDesignDpi) {
    const int width = Cols_ * ScaleToDpi(designed.cx / Cols_, dpi);
    const int height = Rows_ * ScaleToDpi(designed.cy / Rows_, dpi);
    Scaled_ = ScaleBitmapSharp(Designed_.Get(), width, height);
    if (Scaled_) {
      Width_ = width;
      Height_ = height;
    }
  }
  Work_.Reset();
}

TItemPicture TPicClip::Cell(int index) {
  if (!Designed_ || index < 0 || index >= CellCount() || CellWidth() <= 0 || CellHeight() <= 0)
    return {};
  const TScreenDc screen;
  if (!Work_) Work_.Reset(CreateCompatibleBitmap(screen.Get(), CellWidth(), CellHeight()));
  const TMemoryDc source(screen.Get());
  const TMemoryDc target(screen.Get());
  {
    const TSelectObjectScope selectSource(source.Get(), Shown());
    const TSelectObjectScope selectTarget(target.Get(), Work_.Get());
    BitBlt(target.Get(), 0, 0, CellWidth(), CellHeight(), source.Get(),
           (index % Cols_) * CellWidth(), (index / Cols_) * CellHeight(), SRCCOPY);
  }
  TItemPicture picture{Work_.Get(), std::nullopt};
  if (Masked && MaskColor) picture.Transparent = MaskColor;
  return picture;
}
