#include "ui/tray/pic_clip_win.h"

#include <algorithm>

TPicClip::TPicClip(TUniqueBitmap picture, int cols, int rows)
    : Picture_(std::move(picture)), Cols_(std::max(cols, 1)), Rows_(std::max(rows, 1)) {
  BITMAP info{};
  if (!Picture_ || GetObjectW(Picture_.Get(), sizeof info, &info) == 0) return;
  Width_ = info.bmWidth;
  Height_ = info.bmHeight;
  const TScreenDc screen;
  const TMemoryDc source(screen.Get());
  const TSelectObjectScope select(source.Get(), Picture_.Get());
  MaskColor = GetPixel(source.Get(), 0, Height_ - 1);
}

TItemPicture TPicClip::Cell(int index) {
  if (!Picture_ || index < 0 || index >= CellCount() || CellWidth() <= 0 || CellHeight() <= 0)
    return {};
  const TScreenDc screen;
  if (!Work_) Work_.Reset(CreateCompatibleBitmap(screen.Get(), CellWidth(), CellHeight()));
  const TMemoryDc source(screen.Get());
  const TMemoryDc target(screen.Get());
  {
    const TSelectObjectScope selectSource(source.Get(), Picture_.Get());
    const TSelectObjectScope selectTarget(target.Get(), Work_.Get());
    BitBlt(target.Get(), 0, 0, CellWidth(), CellHeight(), source.Get(),
           (index % Cols_) * CellWidth(), (index / Cols_) * CellHeight(), SRCCOPY);
  }
  TItemPicture picture{Work_.Get(), std::nullopt};
  if (Masked && MaskColor) picture.Transparent = MaskColor;
  return picture;
}
