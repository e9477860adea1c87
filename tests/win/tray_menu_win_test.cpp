#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "ui/tray/drawn_menu_win.h"
#include "ui/tray/menu_owner_window_win.h"
#include "ui/tray/pic_clip_win.h"
#include "ui/tray/tray_menu_win.h"
#include "ui/tray/tray_pictures_ids.h"

namespace {

constexpr COLORREF kGrey = RGB(192, 192, 192);

TUniqueBitmap LoadStrip() {
  return TUniqueBitmap(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                                       MAKEINTRESOURCEW(IDB_TRAY_MENU_STRIP),
                                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

SIZE IconSize(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return {};
  const TUniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
  BITMAP bitmap{};
  GetObjectW(colour ? colour.Get() : mask.Get(), sizeof bitmap, &bitmap);
  return {bitmap.bmWidth, bitmap.bmHeight};
}

// A 24-bit surface to draw on and read back.
class TCanvas {
 public:
  TCanvas(int width, int height) : Screen_(), Dc_(Screen_.Get()) {
    Bitmap_.Reset(CreateCompatibleBitmap(Screen_.Get(), width, height));
    Select_.emplace(Dc_.Get(), Bitmap_.Get());
    const RECT all{0, 0, width, height};
    FillSolid(Dc_.Get(), all, RGB(1, 2, 3));
  }
  HDC Dc() const { return Dc_.Get(); }
  COLORREF At(int x, int y) const { return GetPixel(Dc_.Get(), x, y); }

 private:
  TScreenDc Screen_;
  TMemoryDc Dc_;
  TUniqueBitmap Bitmap_;
  std::optional<TSelectObjectScope> Select_;
};

TEST(TrayPictures, StateIconsAndDeviceHaveTheirSizes) {
  const HINSTANCE module = GetModuleHandleW(nullptr);
  for (const int id : {IDI_TRAY_PORT_OPEN, IDI_TRAY_PORT_FAILED}) {
    const TUniqueIcon icon = LoadIconResource(module, id, 16, 16);
    ASSERT_TRUE(icon) << id;
    EXPECT_EQ(IconSize(icon.Get()).cx, 16) << id;
  }
  const TUniqueIcon device = LoadIconResource(module, IDI_TRAY_DEVICE, 32, 32);
  ASSERT_TRUE(device);
  EXPECT_EQ(IconSize(device.Get()).cy, 32);
}

TEST(PicClip, FiveCellsWithBottomLeftGreyTransparent) {
  TPicClip clip(LoadStrip(), kTrayStripCols, kTrayStripRows);
  EXPECT_EQ(clip.CellWidth(), 32);
  EXPECT_EQ(clip.CellHeight(), 32);
  ASSERT_TRUE(clip.MaskColor);
  EXPECT_EQ(*clip.MaskColor, kGrey);
  const TItemPicture first = clip.Cell(0);
  ASSERT_NE(first.Bitmap, nullptr);
  EXPECT_EQ(first.Transparent, kGrey);
  // One working bitmap: every request hands back the same one, refilled.
  EXPECT_EQ(clip.Cell(4).Bitmap, first.Bitmap);
  EXPECT_EQ(clip.Cell(5).Bitmap, nullptr);
  EXPECT_EQ(clip.Cell(-1).Bitmap, nullptr);
  clip.Masked = false;
  EXPECT_FALSE(clip.Cell(1).Transparent);
}

TEST(PicClip, CellCopiesItsPartOfTheStrip) {
  TUniqueBitmap strip = LoadStrip();
  const HBITMAP raw = strip.Get();
  TCanvas whole(160, 32);
  {
    const TMemoryDc source(whole.Dc());
    const TSelectObjectScope select(source.Get(), raw);
    BitBlt(whole.Dc(), 0, 0, 160, 32, source.Get(), 0, 0, SRCCOPY);
  }
  TPicClip clip(std::move(strip), 5, 1);
  for (int cell = 0; cell < 5; ++cell) {
    TCanvas one(32, 32);
    const TMemoryDc source(one.Dc());
    const TSelectObjectScope select(source.Get(), clip.Cell(cell).Bitmap);
    BitBlt(one.Dc(), 0, 0, 32, 32, source.Get(), 0, 0, SRCCOPY);
    int differing = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) differing += one.At(x, y) != whole.At(cell * 32 + x, y);
    EXPECT_EQ(differing, 0) << cell;
  }
}

TEST(FillGradient, BandsPaintedTopToBottom) {
  TCanvas canvas(30, 120);
  FillGradient(canvas.Dc(), {2, 10, 23, 110}, RGB(255, 255, 0), RGB(0, 0, 63), 32);
  EXPECT_EQ(canvas.At(2, 10), RGB(255, 255, 0));
  EXPECT_EQ(canvas.At(22, 12), RGB(255, 255, 0));
  EXPECT_EQ(canvas.At(2, 13), RGB(247, 247, 2));
  EXPECT_EQ(canvas.At(10, 105), RGB(0, 0, 63));  // the left-over rows
  EXPECT_EQ(canvas.At(10, 109), RGB(0, 0, 63));
  EXPECT_EQ(canvas.At(1, 50), RGB(1, 2, 3));      // nothing outside
  EXPECT_EQ(canvas.At(23, 50), RGB(1, 2, 3));
  EXPECT_EQ(canvas.At(10, 110), RGB(1, 2, 3));
}

TEST(MakeRotatedFont, CarriesTheFontTurned) {
  TFontSpec wanted;
  wanted.Face = L"Courier New";
  wanted.Height = -19;
  wanted.Bold = true;
  wanted.Charset = RUSSIAN_CHARSET;
  wanted.Pitch = TFontSpec::TPitch::Fixed;
  const TUniqueFont font = MakeRotatedFont(wanted, 90);
  LOGFONTW made{};
  ASSERT_NE(GetObjectW(font.Get(), sizeof made, &made), 0);
  EXPECT_EQ(made.lfHeight, -19);
  EXPECT_EQ(made.lfWidth, 0);
  EXPECT_EQ(made.lfEscapement, 900);
  EXPECT_EQ(made.lfOrientation, 0);
  EXPECT_EQ(made.lfWeight, FW_BOLD);
  EXPECT_EQ(made.lfCharSet, RUSSIAN_CHARSET);
  EXPECT_EQ(made.lfPitchAndFamily, FIXED_PITCH);
  EXPECT_STREQ(made.lfFaceName, L"Courier New");
  wanted.Face = L"Default";
  wanted.Bold = false;
  LOGFONTW fallback{};
  GetObjectW(MakeRotatedFont(wanted, 90).Get(), sizeof fallback, &fallback);
  EXPECT_STREQ(fallback.lfFaceName, L"MS Sans Serif");
  EXPECT_EQ(fallback.lfWeight, FW_NORMAL);
}

class TrayMenuDrawingTest : public testing::Test {
 protected:
  void SetUp() override {
    FillTrayMenu(Menu, {[] {}, [] {}, [] {}, [] {}, [] {}});
    Menu.OnGetItemParams = [this](const TDrawnMenuItem& item, UINT, TItemParams& params) {
      TrayMenuItemParams(Strip, item, params);
    };
    Menu.OnDrawMargin = [](HDC dc, const RECT& margin) { DrawTrayMenuBand(dc, margin, true); };
  }
  const TDrawnMenuItem& Item(std::size_t index) const { return Menu.Items().at(index); }
  MEASUREITEMSTRUCT Measure(std::size_t index) {
    MEASUREITEMSTRUCT request{};
    request.CtlType = ODT_MENU;
    request.itemID = Item(index).CommandId;
    request.itemData = Item(index).CommandId;
    SendMessageW(MenuOwnerWindow(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&request));
    return request;
  }
  void Draw(TCanvas& canvas, std::size_t index, RECT item, UINT state, UINT action) {
    DRAWITEMSTRUCT request{};
    request.CtlType = ODT_MENU;
    request.itemID = Item(index).CommandId;
    request.itemData = Item(index).CommandId;
    request.itemAction = action;
    request.itemState = state;
    request.hDC = canvas.Dc();
    request.rcItem = item;
    SendMessageW(MenuOwnerWindow(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&request));
  }

  TPicClip Strip{LoadStrip(), kTrayStripCols, kTrayStripRows};
  TDrawnPopupMenu Menu{true, nullptr};
};

TEST_F(TrayMenuDrawingTest, ItemsAsTheTrayMenuHasThem) {
  ASSERT_EQ(Menu.Items().size(), 6u);
  const std::vector<std::wstring> captions{L"Драйвер КС", L"Установки ...", L"Журнал карт",
                                           L"Помощь",     L"-",             L"Выход"};
  const std::vector<int> tags{0, 1, 4, 2, 0, 3};
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(Item(i).Caption, captions[i]);
    EXPECT_EQ(Item(i).Tag, tags[i]);
    EXPECT_EQ(Item(i).Default, i == 0);
  }
  EXPECT_EQ(Menu.LeftMargin, 24);
  EXPECT_EQ(GetMenuDefaultItem(Menu.Handle(), FALSE, 0), Item(0).CommandId);
}

TEST_F(TrayMenuDrawingTest, CommandsHoldTheirPictureSeparatorAtLeastNine) {
  const int menuHeight = GetSystemMetrics(SM_CYMENU);
  for (const std::size_t index : {0u, 1u, 2u, 3u, 5u}) {
    const MEASUREITEMSTRUCT size = Measure(index);
    EXPECT_EQ(size.itemHeight, static_cast<UINT>(std::max(36, menuHeight - 2))) << index;
    EXPECT_GT(size.itemWidth, 24u + 1 + 34) << index;
  }
  EXPECT_GE(Measure(4).itemHeight, 9u);
  // The bold default caption measures wider than the same text in the regular face would.
  EXPECT_GT(Measure(0).itemWidth, 60u);
}

TEST_F(TrayMenuDrawingTest, WholeItemPaintsBandPictureAndCaption) {
  TCanvas canvas(200, 100);
  Draw(canvas, 2, {0, 0, 200, 36}, 0, ODA_DRAWENTIRE);
  EXPECT_EQ(canvas.At(0, 0), RGB(255, 255, 0));   // the band's first colour at the top
  EXPECT_EQ(canvas.At(22, 10), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(canvas.At(23, 10), GetSysColor(COLOR_BTNHIGHLIGHT));
  // The band leaves this column alone; low down only the word's leading blanks pass.
  EXPECT_EQ(canvas.At(21, 90), RGB(1, 2, 3));
  EXPECT_EQ(canvas.At(25, 1), GetSysColor(COLOR_MENU));
  // The picture's grey is not painted; the menu colour shows through it.
  const int pictureLeft = 25 + CheckMarkGap(LOWORD(GetMenuCheckMarkDimensions())) + 1;
  EXPECT_EQ(canvas.At(pictureLeft, 2), GetSysColor(COLOR_MENU));
  int nonMenu = 0;
  for (int y = 2; y < 34; ++y)
    for (int x = pictureLeft; x < pictureLeft + 32; ++x) nonMenu += canvas.At(x, y) != GetSysColor(COLOR_MENU);
  EXPECT_GT(nonMenu, 100);  // the question mark and its bubble
}

TEST_F(TrayMenuDrawingTest, SelectionBarStartsRightOfBandAndLeavesItAlone) {
  TCanvas canvas(200, 100);
  Draw(canvas, 1, {0, 40, 200, 76}, ODS_SELECTED, ODA_SELECT);
  EXPECT_EQ(canvas.At(0, 50), RGB(1, 2, 3));
  EXPECT_EQ(canvas.At(24, 50), RGB(1, 2, 3));
  EXPECT_EQ(canvas.At(25, 41), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(canvas.At(199, 75), GetSysColor(COLOR_HIGHLIGHT));
}

TEST_F(TrayMenuDrawingTest, SeparatorIsEtchedLine) {
  TCanvas canvas(200, 100);
  Draw(canvas, 4, {0, 10, 200, 20}, 0, ODA_DRAWENTIRE);
  EXPECT_EQ(canvas.At(30, 14), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(canvas.At(30, 15), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(canvas.At(30, 13), GetSysColor(COLOR_MENU));
}

TEST_F(TrayMenuDrawingTest, BandWordIsWrittenInWhite) {
  TCanvas canvas(200, 300);
  Draw(canvas, 0, {0, 0, 200, 300}, ODS_DEFAULT, ODA_DRAWENTIRE);
  int white = 0;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 21; ++x) white += canvas.At(x, y) == RGB(255, 255, 255);
  EXPECT_GT(white, 30);
}

TEST_F(TrayMenuDrawingTest, DefaultItemDrawsAsDefaultEvenUnmarked) {
  std::vector<UINT> states;
  Menu.OnGetItemParams = [&](const TDrawnMenuItem&, UINT state, TItemParams&) {
    states.push_back(state);
  };
  TCanvas canvas(200, 100);
  Draw(canvas, 0, {0, 0, 200, 36}, 0, ODA_DRAWENTIRE);
  Draw(canvas, 1, {0, 36, 200, 72}, 0, ODA_DRAWENTIRE);
  ASSERT_EQ(states.size(), 2u);
  EXPECT_NE(states[0] & ODS_DEFAULT, 0u);
  EXPECT_EQ(states[1] & ODS_DEFAULT, 0u);
}

TEST_F(TrayMenuDrawingTest, OtherMenusItemsAreNotAnswered) {
  MEASUREITEMSTRUCT request{};
  request.CtlType = ODT_MENU;
  request.itemID = 0xFFF0;
  request.itemData = 0xFFF0;
  EXPECT_EQ(SendMessageW(MenuOwnerWindow(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&request)), 0);
  EXPECT_EQ(request.itemHeight, 0u);
}

TEST(DrawnPopupMenu, AccessKeyFindsItsItem) {
  TDrawnPopupMenu menu(true, nullptr);
  menu.Add({L"&Файл", 0, false, true, {}, 0, nullptr});
  menu.Add({L"&Установки", 0, false, true, {}, 0, nullptr});
  EXPECT_EQ(menu.MenuChar(L'у'), MAKELRESULT(1, MNC_EXECUTE));
  EXPECT_FALSE(menu.MenuChar(L'x'));
}

TEST(DrawnPopupMenu, HintAndHelpOfItem) {
  TDrawnPopupMenu menu(true, nullptr);
  menu.Add({L"Один", 0, false, true, L"подсказка", 77, nullptr});
  std::wstring hint = L"старая";
  int help = 0;
  menu.OnHint = [&](const std::wstring& text) { hint = text; };
  menu.OnHelp = [&](int context) { help = context; };
  SendMessageW(MenuOwnerWindow(), WM_MENUSELECT, MAKEWPARAM(menu.Items()[0].CommandId, 0),
               reinterpret_cast<LPARAM>(menu.Handle()));
  EXPECT_EQ(hint, L"подсказка");
  SendMessageW(MenuOwnerWindow(), WM_MENUSELECT, MAKEWPARAM(0xFFFF, 0xFFFF), 0);
  EXPECT_EQ(hint, L"");
  HELPINFO info{};
  info.cbSize = sizeof info;
  info.iContextType = HELPINFO_MENUITEM;
  info.iCtrlId = static_cast<int>(menu.Items()[0].CommandId);
  SendMessageW(MenuOwnerWindow(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(help, 77);
}

TEST(DrawnPopupMenu, OwnerWindowLivesWithTheMenus) {
  ASSERT_EQ(MenuOwnerWindow(), nullptr);
  {
    TDrawnPopupMenu first(true, nullptr);
    const HWND owner = MenuOwnerWindow();
    ASSERT_NE(owner, nullptr);
    {
      TDrawnPopupMenu second(true, nullptr);
      EXPECT_EQ(MenuOwnerWindow(), owner);
    }
    EXPECT_TRUE(IsWindow(owner));
  }
  EXPECT_EQ(MenuOwnerWindow(), nullptr);
}

TEST(DrawnPopupMenu, DefaultItemMustBeEnabled) {
  TDrawnPopupMenu menu(true, nullptr);
  int ran = 0;
  menu.Add({L"Первый", 0, true, false, {}, 0, [&] { ran = 1; }});
  menu.Add({L"Второй", 0, true, true, {}, 0, [&] { ran = 2; }});
  EXPECT_TRUE(menu.RunDefaultItem());
  EXPECT_EQ(ran, 2);
  TDrawnPopupMenu none(true, nullptr);
  none.Add({L"Один", 0, false, true, {}, 0, [&] { ran = 3; }});
  EXPECT_FALSE(none.RunDefaultItem());
  EXPECT_EQ(ran, 2);
}

}  // namespace
