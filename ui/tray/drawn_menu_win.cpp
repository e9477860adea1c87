#include "ui/tray/drawn_menu_win.h"

#include <algorithm>

#include "ui/shell/designed_font_win.h"
#include "ui/shell/display_win.h"
#include "ui/shell/mul_div.h"
#include "ui/tray/menu_owner_window_win.h"

namespace {

constexpr int kFallbackFontPoints = 8;
constexpr UINT kCaptionFormat = DT_SINGLELINE | DT_EXPANDTABS;
constexpr UINT kTrackFlags = TPM_LEFTALIGN | TPM_RIGHTBUTTON;

TRgb RgbOf(COLORREF colour) { return {GetRValue(colour), GetGValue(colour), GetBValue(colour)}; }

TBox BoxOf(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }
RECT RectOf(const TBox& box) { return {box.Left, box.Top, box.Right, box.Bottom}; }

SIZE TextExtent(HDC dc, const std::wstring& text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

// The picture's drawn size: one glyph of a strip of 2 to 5.
std::optional<TSize> PictureSize(const TItemParams& params) {
  if (params.Picture.Bitmap == nullptr) return std::nullopt;
  BITMAP info{};
  if (GetObjectW(params.Picture.Bitmap, sizeof info, &info) == 0) return std::nullopt;
  int width = info.bmWidth;
  if (params.GlyphCount >= 2 && params.GlyphCount <= 5) width /= params.GlyphCount;
  if (width <= 0 || info.bmHeight <= 0) return std::nullopt;
  return TSize{width, info.bmHeight};
}

void DrawPicture(HDC dc, const TItemPicture& picture, int x, int y, TSize size) {
  const TMemoryDc source(dc);
  const TSelectObjectScope select(source.Get(), picture.Bitmap);
  if (picture.Transparent) {
    TransparentBlt(dc, x, y, size.Width, size.Height, source.Get(), 0, 0, size.Width, size.Height,
                   *picture.Transparent);
  } else {
    BitBlt(dc, x, y, size.Width, size.Height, source.Get(), 0, 0, SRCCOPY);
  }
}

}  // namespace

COLORREF ColourOf(TRgb rgb) {
  return RGB(static_cast<BYTE>(rgb.Red), static_cast<BYTE>(rgb.Green), static_cast<BYTE>(rgb.Blue));
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  const TUniqueBrush brush(CreateSolidBrush(colour));
  FillRect(dc, &rect, brush.Get());
}

LOGFONTW MenuLogFont(bool newStyleShell, int dpi) {
  if (newStyleShell) {
    const NONCLIENTMETRICSW metrics = NonClientMetricsAtDpi(dpi);
    if (metrics.cbSize != 0) return WithCyrillic(metrics.lfMenuFont);
  }
  LOGFONTW font{};
  font.lfHeight = FontHeightAtDpi(kFallbackFontPoints, dpi);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = RUSSIAN_CHARSET;
  wcscpy_s(font.lfFaceName, newStyleShell ? L"MS Sans Serif" : L"System");
  return font;
}

TUniqueGdi<HFONT> MakeRotatedFont(const TFontSpec& font, int angle) {
  LOGFONTW rotated{};
  rotated.lfHeight = font.Height;
  rotated.lfEscapement = angle * 10;
  rotated.lfWeight = font.Bold ? FW_BOLD : FW_NORMAL;
  rotated.lfItalic = font.Italic;
  rotated.lfUnderline = font.Underline;
  rotated.lfStrikeOut = font.StrikeOut;
  rotated.lfCharSet = font.Charset;
  using enum TFontSpec::TPitch;
  rotated.lfPitchAndFamily = font.Pitch == Variable ? VARIABLE_PITCH
                             : font.Pitch == Fixed  ? FIXED_PITCH
                                                    : DEFAULT_PITCH;
  const std::wstring& face = font.Face == L"Default" ? std::wstring(L"MS Sans Serif") : font.Face;
  wcsncpy_s(rotated.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  return TUniqueGdi<HFONT>(CreateFontIndirectW(&rotated));
}

void FillGradient(HDC dc, const RECT& box, COLORREF start, COLORREF end, int colours) {
  for (const TGradientBand& band : GradientBands(BoxOf(box), RgbOf(start), RgbOf(end), colours))
    FillSolid(dc, RectOf(band.Box), ColourOf(band.Colour));
}

TDrawnPopupMenu::TDrawnPopupMenu(bool newStyleShell, TErrorReport report)
    : NewStyleShell_(newStyleShell),
      Dpi_(SystemDpi()),
      Report_(std::move(report)),
      Menu_(CreatePopupMenu()) {
  RegisterDrawnMenu(this);
}

TDrawnPopupMenu::~TDrawnPopupMenu() {
  for (auto& [holder, notice] : std::exchange(FreeNotices_, {})) notice();
  UnregisterDrawnMenu(this);
}

void TDrawnPopupMenu::Add(TDrawnMenuItem item) {
  item.CommandId = NextMenuCommandId();
  Items_.push_back(std::move(item));
  Rebuild();
}

void TDrawnPopupMenu::Rebuild() {
  while (GetMenuItemCount(Menu_.Get()) > 0) DeleteMenu(Menu_.Get(), 0, MF_BYPOSITION);
  for (const TDrawnMenuItem& item : Items_) {
    UINT flags = MF_OWNERDRAW;
    if (IsSeparatorCaption(item.Caption)) flags |= MF_SEPARATOR;
    if (!item.Enabled) flags |= MF_GRAYED;
    // The command id travels as the item's data too: separators may lose their id.
    AppendMenuW(Menu_.Get(), flags, item.CommandId,
                reinterpret_cast<LPCWSTR>(UINT_PTR{item.CommandId}));
  }
  const auto byDefault = std::find_if(Items_.begin(), Items_.end(),
                                      [](const TDrawnMenuItem& item) { return item.Default; });
  SetMenuDefaultItem(Menu_.Get(), byDefault != Items_.end() ? byDefault->CommandId : UINT(-1),
                     FALSE);
}

bool TDrawnPopupMenu::Popup(int x, int y) {
  Dpi_ = DpiAtPoint({x, y});
  Rebuild();
  return TrackPopupMenu(Menu_.Get(), kTrackFlags, x, y, 0, MenuOwnerWindow(), nullptr) != FALSE;
}

bool TDrawnPopupMenu::RunDefaultItem() {
  for (const TDrawnMenuItem& item : Items_) {
    if (item.Default && item.Enabled) {
      const auto action = item.OnClick;  // the action may change the menu
      if (action) action();
      return true;
    }
  }
  return false;
}

const TDrawnMenuItem* TDrawnPopupMenu::FindItem(UINT commandId) const {
  const auto found = std::find_if(Items_.begin(), Items_.end(), [&](const TDrawnMenuItem& item) {
    return item.CommandId == commandId;
  });
  return found != Items_.end() ? &*found : nullptr;
}

TItemParams TDrawnPopupMenu::AskItemParams(const TDrawnMenuItem& item, UINT state,
                                           std::optional<COLORREF> background) const {
  TItemParams params;
  params.Background = background;
  if (OnGetItemParams) OnGetItemParams(item, state, params);
  if (IsSeparatorCaption(item.Caption)) params.Picture = {};
  return params;
}

bool TDrawnPopupMenu::MeasureItem(MEASUREITEMSTRUCT& request) {
  const TDrawnMenuItem* item = FindItem(request.itemID);
  if (item == nullptr) item = FindItem(static_cast<UINT>(request.itemData));
  if (item == nullptr) return false;
  LOGFONTW logFont = MenuLogFont(NewStyleShell_, Dpi_);
  if (item->Default) logFont.lfWeight = FW_BOLD;
  const TUniqueFont font(CreateFontIndirectW(&logFont));
  const TScreenDc screen;
  const TSelectObjectScope select(screen.Get(), font.Get());

  const TItemParams params = AskItemParams(*item, 0, std::nullopt);
  TItemTextSizes text;
  text.CaptionWidth = TextExtent(screen.Get(), MeasuredCaption(item->Caption)).cx;
  text.ShortcutWidth = TextExtent(screen.Get(), L" ").cx;
  text.CaptionHeight = TextExtent(screen.Get(), item->Caption).cy;
  text.DashHeight = TextExtent(screen.Get(), L"-").cy;
  const TMenuMetrics metrics{MetricAtDpi(SM_CYMENU, Dpi_), CheckMarkWidth(), NewStyleShell_,
                             ScaleToDpi(LeftMargin, Dpi_), ScaleToDpi(MinTextOffset, Dpi_), Dpi_};
  const TItemShape shape{IsSeparatorCaption(item->Caption), true, false, PictureSize(params)};
  const TSize size = MeasureMenuItem(metrics, shape, text);
  request.itemWidth = static_cast<UINT>(size.Width);
  request.itemHeight = static_cast<UINT>(size.Height);
  return true;
}

bool TDrawnPopupMenu::DrawItem(const DRAWITEMSTRUCT& request) {
  const TDrawnMenuItem* item = FindItem(request.itemID);
  if (item == nullptr) item = FindItem(static_cast<UINT>(request.itemData));
  if (item == nullptr) return false;
  const HDC dc = request.hDC;
  const TSaveDcScope saved(dc);
  // Windows marks the default item's requests; Wine does not, so the item says it too.
  const UINT state = request.itemState | (item->Default ? ODS_DEFAULT : 0u);

  // The band spans the whole repainted height, so it is drawn with any item that is
  // painted whole, and not for a mere change of selection.
  const int leftMargin = ScaleToDpi(LeftMargin, Dpi_);
  if (leftMargin > 0 && (request.itemAction & ODA_DRAWENTIRE) != 0 && OnDrawMargin) {
    RECT clip{};
    GetClipBox(dc, &clip);
    const TSaveDcScope marginSaved(dc);
    OnDrawMargin(dc, RectOf(MarginBox(BoxOf(clip), leftMargin)));
  }

  LOGFONTW logFont = MenuLogFont(NewStyleShell_, Dpi_);
  COLORREF textColour = GetSysColor(COLOR_MENUTEXT);
  COLORREF brushColour = GetSysColor(COLOR_MENU);
  if ((state & ODS_DEFAULT) != 0) logFont.lfWeight = FW_BOLD;
  if ((state & ODS_SELECTED) != 0) {
    brushColour = GetSysColor(COLOR_HIGHLIGHT);
    textColour = GetSysColor(COLOR_HIGHLIGHTTEXT);
  }
  const TBox box = ItemBoxPastMargin(BoxOf(request.rcItem), true, leftMargin);
  IntersectClipRect(dc, box.Left, box.Top, box.Right, box.Bottom);

  const TItemParams params = AskItemParams(*item, state, brushColour);
  if (params.Background) FillSolid(dc, RectOf(box), *params.Background);
  const TUniqueFont font(CreateFontIndirectW(&logFont));
  const TSelectObjectScope select(dc, font.Get());
  DrawContent(dc, *item, state, box, params, textColour);
  return true;
}

void TDrawnPopupMenu::DrawContent(HDC dc, const TDrawnMenuItem& item, UINT state,
                                  const TBox& box, const TItemParams& params,
                                  COLORREF textColour) const {
  if (IsSeparatorCaption(item.Caption)) {
    const int y = (box.Top + box.Bottom) / 2;
    const int line = LineWidthAtDpi(Dpi_);
    if (NewStyleShell_) {
      FillSolid(dc, {box.Left, y - line, box.Right, y}, GetSysColor(COLOR_BTNSHADOW));
      FillSolid(dc, {box.Left, y, box.Right, y + line}, GetSysColor(COLOR_BTNHIGHLIGHT));
    } else {
      FillSolid(dc, {box.Left, y, box.Right, y + 2 * line}, GetSysColor(COLOR_MENUTEXT));
    }
    return;
  }
  const std::optional<TSize> picture = PictureSize(params);
  const int textHeight = TextExtent(dc, L"Ay").cy;
  const TItemLayout layout = LayoutMenuItem(box, CheckMarkWidth(), picture,
                                            ScaleToDpi(MinTextOffset, Dpi_), textHeight, Dpi_);
  if (picture) DrawPicture(dc, params.Picture, layout.PictureX, layout.PictureY, *picture);
  const bool greyed = (state & (ODS_GRAYED | ODS_DISABLED)) != 0;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, greyed ? GetSysColor(COLOR_GRAYTEXT) : textColour);
  RECT textBox{layout.TextX, layout.TextY, box.Right, box.Bottom};
  DrawTextW(dc, item.Caption.c_str(), -1, &textBox, kCaptionFormat);
}

// The system gives the check mark's size at its own DPI.
int TDrawnPopupMenu::CheckMarkWidth() const {
  return MulDivRound(LOWORD(GetMenuCheckMarkDimensions()), Dpi_, SystemDpi());
}

bool TDrawnPopupMenu::RunCommand(UINT commandId) {
  const TDrawnMenuItem* item = FindItem(commandId);
  if (item == nullptr) return false;
  const auto action = item->OnClick;  // the action may change the menu
  if (action) action();
  return true;
}

bool TDrawnPopupMenu::SelectItem(UINT commandId) {
  const TDrawnMenuItem* item = FindItem(commandId);
  if (OnHint) OnHint(item != nullptr ? item->Hint : std::wstring());
  return true;
}

std::optional<LRESULT> TDrawnPopupMenu::MenuChar(wchar_t key) {
  const auto upper = [](wchar_t ch) {
    return static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(CharUpperW(
        reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(ch)))));
  };
  for (std::size_t i = 0; i < Items_.size(); ++i) {
    const std::wstring& caption = Items_[i].Caption;
    const std::size_t amp = caption.find(L'&');
    if (amp != std::wstring::npos && amp + 1 < caption.size() &&
        upper(caption[amp + 1]) == upper(key))
      return MAKELRESULT(i, MNC_EXECUTE);
  }
  return std::nullopt;
}

bool TDrawnPopupMenu::HelpOnItem(UINT commandId) {
  const TDrawnMenuItem* item = FindItem(commandId);
  if (item == nullptr) return false;
  if (OnHelp) OnHelp(item->HelpContext);
  return true;
}

void TDrawnPopupMenu::AddFreeNotice(const void* holder, std::function<void()> notice) {
  FreeNotices_.emplace_back(holder, std::move(notice));
}

void TDrawnPopupMenu::RemoveFreeNotice(const void* holder) {
  std::erase_if(FreeNotices_, [&](const auto& entry) { return entry.first == holder; });
}
