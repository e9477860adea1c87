// The owner-drawn popup menu: items built as owner-drawn entries, measured and painted by
// the program, with a margin down the left side its owner paints. GUI thread only.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/shell/gdi_win.h"
#include "ui/shell/window_error_report_win.h"
#include "ui/tray/drawn_menu.h"

struct TDrawnMenuItem {
  std::wstring Caption;  // "-" makes a separator
  int Tag = 0;
  bool Default = false;
  bool Enabled = true;
  std::wstring Hint;
  int HelpContext = 0;
  std::function<void()> OnClick;
  UINT CommandId = 0;  // given by the menu
};

// A picture drawn before an item's caption; the bitmap stays its owner's.
struct TItemPicture {
  HBITMAP Bitmap = nullptr;
  std::optional<COLORREF> Transparent;
};

struct TItemParams {
  std::optional<COLORREF> Background;  // none: the item's background is left as it is
  TItemPicture Picture;
  int GlyphCount = 1;  // a picture of 2 to 5 glyphs side by side shows the first
};

using TGetItemParams = std::function<void(const TDrawnMenuItem&, UINT state, TItemParams&)>;
using TDrawMargin = std::function<void(HDC, const RECT&)>;

// The font menus are drawn in at the DPI: the platform's menu font, or the stock fallback;
// with the Cyrillic character set either way.
LOGFONTW MenuLogFont(bool newStyleShell, int dpi);

struct TFontSpec {
  std::wstring Face;
  int Height = 0;  // logical units, negative for a character height
  bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
  BYTE Charset = DEFAULT_CHARSET;
  enum class TPitch { Default, Variable, Fixed } Pitch = TPitch::Default;
};

// The font turned by angle degrees counter-clockwise.
TUniqueGdi<HFONT> MakeRotatedFont(const TFontSpec& font, int angle);

COLORREF ColourOf(TRgb rgb);

// Fills a rectangle with one colour.
void FillSolid(HDC dc, const RECT& rect, COLORREF colour);

// Fills box top to bottom in `colours` steps from start to end.
void FillGradient(HDC dc, const RECT& box, COLORREF start, COLORREF end, int colours);

class TDrawnPopupMenu {
 public:
  TDrawnPopupMenu(bool newStyleShell, TErrorReport report);
  ~TDrawnPopupMenu();
  TDrawnPopupMenu(const TDrawnPopupMenu&) = delete;
  TDrawnPopupMenu& operator=(const TDrawnPopupMenu&) = delete;

  int LeftMargin = 0;     // at 96 DPI, like MinTextOffset
  int MinTextOffset = 0;
  bool AutoPopup = true;
  TGetItemParams OnGetItemParams;
  TDrawMargin OnDrawMargin;
  std::function<void(const std::wstring&)> OnHint;  // the hint of the item under the cursor
  std::function<void(int)> OnHelp;                  // help on an item's help context

  void Add(TDrawnMenuItem item);
  const std::vector<TDrawnMenuItem>& Items() const { return Items_; }
  HMENU Handle() const { return Menu_.Get(); }
  bool NewStyleShell() const { return NewStyleShell_; }
  // The DPI the menu is measured and drawn at: that of the screen it last opened on.
  int Dpi() const { return Dpi_; }
  const TErrorReport& Report() const { return Report_; }

  // Tracks the menu with its top-left corner at x, y until it closes; false when the
  // platform could not open it.
  bool Popup(int x, int y);
  // Runs the first item that is both default and enabled.
  bool RunDefaultItem();

  // Requests from the menus' owner window; each answers false for what is not its own.
  bool MeasureItem(MEASUREITEMSTRUCT& request);
  bool DrawItem(const DRAWITEMSTRUCT& request);
  bool RunCommand(UINT commandId);
  bool Owns(HMENU menu) const { return menu == Menu_.Get(); }
  bool SelectItem(UINT commandId);
  std::optional<LRESULT> MenuChar(wchar_t key);
  bool HelpOnItem(UINT commandId);

  // Anything holding a pointer to the menu registers here to be told before it goes.
  void AddFreeNotice(const void* holder, std::function<void()> notice);
  void RemoveFreeNotice(const void* holder);

 private:
  const TDrawnMenuItem* FindItem(UINT commandId) const;
  void Rebuild();
  TItemParams AskItemParams(const TDrawnMenuItem& item, UINT state,
                            std::optional<COLORREF> background) const;
  void DrawContent(HDC dc, const TDrawnMenuItem& item, UINT state, const TBox& box,
                   const TItemParams& params, COLORREF textColour) const;

  int CheckMarkWidth() const;

  bool NewStyleShell_;
  int Dpi_;
  TErrorReport Report_;
  TUniqueMenu Menu_;
  std::vector<TDrawnMenuItem> Items_;
  std::vector<std::pair<const void*, std::function<void()>>> FreeNotices_;
};
