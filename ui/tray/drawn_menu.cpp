#include "ui/tray/drawn_menu.h"

#include <algorithm>

#include "ui/shell/mul_div.h"

namespace {

constexpr int kSeparatorMinHeight = 9;
constexpr int kPictureFrame = 2;       // a pixel each side of a picture
constexpr int kPictureHeightGap = 4;

int Channel(int start, int end, int i, int n) { return start + MulDivRound(i, end - start, n - 1); }

}  // namespace

std::vector<TGradientBand> GradientBands(const TBox& box, TRgb start, TRgb end, int colours) {
  if (box.Empty()) return {};
  if (colours < 2) return {{box, start}};
  const int height = box.Bottom - box.Top;
  const int n = std::max(2, std::min(colours, height));
  const int step = height / n;
  std::vector<TGradientBand> bands;
  if (step > 0) {
    for (int i = 0; i < n; ++i) {
      const TRgb colour{Channel(start.Red, end.Red, i, n), Channel(start.Green, end.Green, i, n),
                        Channel(start.Blue, end.Blue, i, n)};
      bands.push_back({{box.Left, box.Top + i * step, box.Right, box.Top + (i + 1) * step}, colour});
    }
  }
  // Rows the even steps leave over at the bottom take the end colour.
  if (const int rest = height % n; rest > 0)
    bands.push_back({{box.Left, box.Bottom - rest, box.Right, box.Bottom}, end});
  return bands;
}

TBandLayout LayoutBand(const TBox& margin, bool newStyleShell, int dpi) {
  TBandLayout layout;
  layout.Gradient = margin;
  layout.LineWidth = LineWidthAtDpi(dpi);
  if (newStyleShell) {
    // The etched edge takes the two rightmost lines; the one before it stays unpainted.
    const int line = layout.LineWidth;
    layout.Gradient.Right = margin.Right - 3 * line;
    layout.ShadowX = margin.Right - 2 * line;
    layout.HighlightX = margin.Right - line;
  }
  layout.TextX = margin.Left;
  layout.TextY = margin.Bottom - ScaleToDpi(kBandTextLift, dpi);
  return layout;
}

TBox MarginBox(const TBox& clipBox, int leftMargin) {
  return {0, clipBox.Top, leftMargin, clipBox.Bottom};
}

int CheckMarkGap(int checkMarkWidth) { return (3 * checkMarkWidth + 5) / 10; }

std::wstring MeasuredCaption(std::wstring_view caption) {
  std::wstring text;
  for (const wchar_t ch : caption)
    if (ch != L'&') text.push_back(ch);
  return text + L"\t\t";
}

bool IsSeparatorCaption(std::wstring_view caption) { return caption == L"-"; }

int PictureColumnWidth(int pictureWidth, int minTextOffset, int dpi) {
  return std::max(pictureWidth + ScaleToDpi(kPictureFrame, dpi), minTextOffset);
}

TSize MeasureMenuItem(const TMenuMetrics& metrics, const TItemShape& shape,
                      const TItemTextSizes& text) {
  const int gap = CheckMarkGap(metrics.CheckMarkWidth);
  TSize size;
  size.Height = metrics.NewStyleShell ? metrics.MenuHeight - 2 : metrics.MenuHeight;
  size.Width = 2 * gap + text.CaptionWidth + text.ShortcutWidth;
  if (shape.HasSubmenu) size.Width += text.SubmenuTabsWidth;
  if (shape.Separator) {
    size.Height = std::max(text.DashHeight / 2, ScaleToDpi(kSeparatorMinHeight, metrics.Dpi));
  } else {
    size.Height = std::max(size.Height, text.CaptionHeight);
    if (shape.Picture && shape.Picture->Width > 0 && shape.Picture->Height > 0) {
      size.Width += PictureColumnWidth(shape.Picture->Width, metrics.MinTextOffset, metrics.Dpi);
      size.Height = std::max(size.Height,
                             shape.Picture->Height + ScaleToDpi(kPictureHeightGap, metrics.Dpi));
    } else if (metrics.MinTextOffset > 0) {
      size.Width += metrics.MinTextOffset;
    }
  }
  if (shape.TopLevel) size.Width += metrics.LeftMargin + 1;
  return size;
}

TItemLayout LayoutMenuItem(const TBox& item, int checkMarkWidth, std::optional<TSize> picture,
                           int minTextOffset, int textHeight, int dpi) {
  const int gap = CheckMarkGap(checkMarkWidth);
  TItemLayout layout;
  int column = minTextOffset;
  if (picture) {
    column = PictureColumnWidth(picture->Width, minTextOffset, dpi);
    layout.PictureX = item.Left + gap + (column - picture->Width) / 2;
    layout.PictureY = (item.Top + item.Bottom - picture->Height) / 2;
  }
  layout.TextX = item.Left + gap + column + gap;
  layout.TextY = (item.Top + item.Bottom - textHeight) / 2;
  layout.SeparatorY = (item.Top + item.Bottom) / 2;
  return layout;
}

TBox ItemBoxPastMargin(const TBox& item, bool topLevel, int leftMargin) {
  TBox box = item;
  if (topLevel) box.Left += leftMargin + 1;
  return box;
}
