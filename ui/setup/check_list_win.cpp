#include "ui/setup/check_list_win.h"

#include <windowsx.h>

#include <string>
#include <utility>

#include "ui/shell/gdi_win.h"
#include "ui/shell/sharp_scale.h"

namespace {

constexpr int kTextIndent = 2;

// The check box sits in a 13 x 13 square, one pixel in from the picture's left edge.
constexpr int kBoxSize = 13;
constexpr int kBoxLeft = 1;

constexpr COLORREF kBoxBorder = RGB(128, 128, 128);
constexpr COLORREF kBoxFill = RGB(255, 255, 255);
constexpr COLORREF kGreyBoxFill = RGB(192, 192, 192);
constexpr COLORREF kTickColour = RGB(0, 128, 0);
constexpr COLORREF kHollowTickColour = RGB(96, 96, 96);

// The tick: three pixels high in each of the columns 3 to 9 of the box.
bool TickPixel(int row, int column) {
  constexpr int kTop[] = {5, 6, 7, 6, 5, 4, 3};
  if (column < 3 || column > 9) return false;
  const int top = kTop[column - 3];
  return row >= top && row <= top + 2;
}

// The hollow tick keeps only the tick's edge, so its middle shows the box's grey.
bool TickEdgePixel(int row, int column) {
  return TickPixel(row, column) &&
         !(TickPixel(row - 1, column) && TickPixel(row + 1, column) &&
           TickPixel(row, column - 1) && TickPixel(row, column + 1));
}

// The box at the DPI: its frame a whole designed pixel wide, the tick's pixel art scaled
// without blur.
void DrawCheckImage(HDC dc, int left, int top, CheckImage image, int dpi) {
  const bool greyed = image == CheckImage::GreyBox || image == CheckImage::HollowTick;
  const int boxSize = ScaleToDpi(kBoxSize, dpi);
  const int boxLeft = left + ScaleToDpi(kBoxLeft, dpi);
  RECT box{boxLeft, top, boxLeft + boxSize, top + boxSize};
  const TUniqueBrush border(CreateSolidBrush(kBoxBorder));
  const TUniqueBrush fill(CreateSolidBrush(greyed ? kGreyBoxFill : kBoxFill));
  FillRect(dc, &box, border.Get());
  InflateRect(&box, -LineWidthAtDpi(dpi), -LineWidthAtDpi(dpi));
  FillRect(dc, &box, fill.Get());
  if (image == CheckImage::Box || image == CheckImage::GreyBox) return;
  for (int y = 0; y < boxSize; ++y) {
    const int row = NearestSource(y, boxSize, kBoxSize);
    for (int x = 0; x < boxSize; ++x) {
      const int column = NearestSource(x, boxSize, kBoxSize);
      if (image == CheckImage::Tick && TickPixel(row, column)) {
        SetPixelV(dc, boxLeft + x, top + y, kTickColour);
      } else if (image == CheckImage::HollowTick && TickEdgePixel(row, column)) {
        SetPixelV(dc, boxLeft + x, top + y, kHollowTickColour);
      }
    }
  }
}

int SystemColourOf(RowTextColour colour) {
  switch (colour) {
    case RowTextColour::HighlightText:
      return COLOR_HIGHLIGHTTEXT;
    case RowTextColour::GrayText:
      return COLOR_GRAYTEXT;
    case RowTextColour::InactiveCaptionText:
      return COLOR_INACTIVECAPTIONTEXT;
    case RowTextColour::WindowText:
      break;
  }
  return COLOR_WINDOWTEXT;
}

}  // namespace

bool TPortCheckList::Create(HWND parent, int id, TClickHandler onClick) {
  OnClick_ = std::move(onClick);
  if (!CreateHandle({.ExStyle = WS_EX_CLIENTEDGE,
                     .Style = WS_CHILD | WS_TABSTOP | WS_VSCROLL | WS_CLIPSIBLINGS |
                              LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY |
                              LBS_NOINTEGRALHEIGHT,
                     .Parent = parent,
                     .Menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))}))
    return false;
  SetDpi(kDesignDpi);
  return true;
}

void TPortCheckList::SetDpi(int dpi) {
  Dpi_ = dpi;
  SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, ScaleToDpi(kPortRowHeight, dpi));
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TPortCheckList::SetItems(std::vector<TPortItem> items) {
  Items_ = std::move(items);
  SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
  SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
  for (const TPortItem& item : Items_) {
    SendMessageW(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.Text.c_str()));
  }
  SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
  Refresh();
}

void TPortCheckList::Refresh() {
  for (std::size_t row = 0; row < Items_.size(); ++row) {
    SendMessageW(Handle(), LB_SETITEMDATA, row, static_cast<LPARAM>(RowStateBits(Items_[row])));
  }
  InvalidateRect(Handle(), nullptr, TRUE);
}

int TPortCheckList::SelectedRow() const {
  return static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0));
}

void TPortCheckList::Click() {
  if (OnClick_) OnClick_(SelectedRow());
}

void TPortCheckList::Draw(const DRAWITEMSTRUCT& draw) const {
  if (draw.itemID >= Items_.size()) return;
  const TPortItem& item = Items_[draw.itemID];
  const bool selected = (draw.itemState & ODS_SELECTED) != 0;
  HDC dc = draw.hDC;
  const TSaveDcScope saved(dc);

  const int columnWidth = ScaleToDpi(kCheckColumnWidth, Dpi_);
  RECT check = draw.rcItem;
  check.right = check.left + columnWidth;
  RECT text = draw.rcItem;
  text.left = check.right;
  FillRect(dc, &check, GetSysColorBrush(COLOR_WINDOW));
  FillRect(dc, &text, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));

  const int rowHeight = draw.rcItem.bottom - draw.rcItem.top;
  DrawCheckImage(dc, check.left + (columnWidth - ScaleToDpi(kCheckImageWidth, Dpi_)) / 2,
                 draw.rcItem.top + (rowHeight - ScaleToDpi(kCheckImageHeight, Dpi_)) / 2,
                 CheckImageOf(item), Dpi_);

  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(SystemColourOf(RowTextColourOf(item, selected))));
  RECT label = text;
  label.left += ScaleToDpi(kTextIndent, Dpi_);
  DrawTextW(dc, item.Text.c_str(), static_cast<int>(item.Text.size()), &label,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
  if ((draw.itemState & ODS_FOCUS) != 0) DrawFocusRect(dc, &text);
}

LRESULT TPortCheckList::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN: {
      const LRESULT result = DefaultProc(message, wParam, lParam);
      Pressed_ = true;
      OnLeftButtonDown(lParam);
      return result;
    }
    case WM_LBUTTONUP: {
      const bool pressedHere = std::exchange(Pressed_, false);
      const LRESULT result = DefaultProc(message, wParam, lParam);
      if (pressedHere) Click();
      return result;
    }
    case WM_CHAR:
      if (OnChar(static_cast<wchar_t>(wParam))) return 0;
      break;
    default:
      break;
  }
  return DefaultProc(message, wParam, lParam);
}

void TPortCheckList::OnLeftButtonDown(LPARAM lParam) {
  if (!InCheckColumn(GET_X_LPARAM(lParam), Dpi_)) return;
  if (ToggleRow(Items_, RowAt(lParam))) Refresh();
}

bool TPortCheckList::OnChar(wchar_t character) {
  switch (ListKeyOf(character)) {
    case ListKey::Toggle:
      if (ToggleRow(Items_, SelectedRow())) Refresh();
      return true;
    case ListKey::CheckAll:
    case ListKey::UncheckAll:
      CheckEnabledRows(Items_, ListKeyOf(character) == ListKey::CheckAll);
      Refresh();
      return true;
    case ListKey::None:
      break;
  }
  return false;
}

int TPortCheckList::RowAt(LPARAM lParam) const {
  const LRESULT hit = SendMessageW(Handle(), LB_ITEMFROMPOINT, 0, lParam);
  if (HIWORD(hit) != 0) return -1;
  return LOWORD(hit);
}
