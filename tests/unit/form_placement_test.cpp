#include "ui/placement/form_placement.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "memory_profile_store.h"

namespace {

const std::wstring kSection = L"Place";
const std::wstring kFile = L"C:\\Программа\\Lintavo.ini";
const PlacementRect kDesigned{279, 117, 620, 317};  // 341 x 200 at 279, 117

class FakeWindow final : public PlacementWindow {
 public:
  bool Exists() const override { return exists; }
  PlacementRecord Placement() const override { return record; }
  void ApplyPlacement(const PlacementRecord& applied) override {
    this->applied.push_back(applied);
    const std::int32_t state = record.showCmd;  // a real window reports its state, not SW_HIDE
    record = applied;
    record.showCmd = state;
  }
  bool Visible() const override { return visible; }
  BorderStyle Border() const override { return border; }
  bool ApplicationMinimised() const override { return applicationMinimised; }
  ScreenSize Screen() const override { return screen; }
  std::int32_t PixelsPerInch() const override { return pixelsPerInch; }
  std::int32_t Metric(FrameMetric metric) const override { return metrics.at(metric); }

  bool exists = true;
  PlacementRecord record{0, 1, {-1, -1}, {-1, -1}, kDesigned};
  bool visible = false;
  BorderStyle border = BorderStyle::Sizeable;
  bool applicationMinimised = false;
  ScreenSize screen{1024, 768};
  std::int32_t pixelsPerInch = 96;
  // Distinct values, so a metric taken for the wrong style or axis shows.
  std::map<FrameMetric, std::int32_t> metrics{
      {FrameMetric::CxBorder, 1},   {FrameMetric::CyBorder, 2},  {FrameMetric::CxFrame, 4},
      {FrameMetric::CyFrame, 5},    {FrameMetric::CxDlgFrame, 3}, {FrameMetric::CyDlgFrame, 6}};
  std::vector<PlacementRecord> applied;
};

class Placement : public testing::Test {
 protected:
  Placement() { placement.IniFileName = kFile; }

  void Store(const std::wstring& key, const std::wstring& value) {
    store.values[{kSection, key}] = value;
  }
  std::wstring Stored(const std::wstring& key) { return store.values[{kSection, key}]; }

  FakeWindow window;
  MemoryProfileStore store;
  std::vector<std::wstring> reports;
  TFormPlacement placement{window, store, [this](const std::wstring& text) {
                             reports.push_back(text);
                           }};
};

// --- Restore ---------------------------------------------------------------------------

struct RestoreCase {
  const char* name;
  std::map<std::wstring, std::wstring> stored;
  PlacementRect expected;  // the normal rectangle after the restore
  bool applied;            // whether the stored position was applied at all
  BorderStyle border = BorderStyle::Sizeable;
};

class RestoreFromFile : public Placement, public testing::WithParamInterface<RestoreCase> {};

TEST_P(RestoreFromFile, AppliesOrLeavesTheDesignedPlace) {
  for (const auto& [key, value] : GetParam().stored) Store(key, value);
  window.border = GetParam().border;

  placement.OnShow();

  EXPECT_TRUE(placement.Restored());
  EXPECT_EQ(window.record.normalPosition, GetParam().expected);
  // The maximised position is always set afterwards: one more placement call.
  ASSERT_EQ(window.applied.size(), GetParam().applied ? 2u : 1u);
  for (const PlacementRecord& applied : window.applied) {
    EXPECT_EQ(applied.showCmd, kShowCmdHide) << "a hidden window must stay hidden";
  }
  EXPECT_TRUE(reports.empty());
}

const RestoreCase kRestoreCases[] = {
    {"NoFileKeepsTheDesignedPlace", {}, kDesigned, false},
    {"GenericKeyApplies", {{L"NormPos", L"10,10,400,300"}}, {10, 10, 400, 300}, true},
    {"KeyOfThisScreenSizeIsPreferred",
     {{L"NormPos(1024x768)", L"50,60,450,360"}, {L"NormPos", L"10,10,400,300"}},
     {50, 60, 450, 360},
     true},
    {"KeyOfAnotherScreenSizeFallsBackToGeneric",
     {{L"NormPos(1280x1024)", L"50,60,450,360"}, {L"NormPos", L"10,10,400,300"}},
     {10, 10, 400, 300},
     true},
    {"EmptyKeyOfThisSizeFallsBackToGeneric",
     {{L"NormPos(1024x768)", L""}, {L"NormPos", L"10,10,400,300"}},
     {10, 10, 400, 300},
     true},
    {"RightBeforeLeftAppliesNothing", {{L"NormPos", L"100,100,50,50"}}, kDesigned, false},
    {"RightEqualToLeftAppliesNothing", {{L"NormPos", L"100,100,100,300"}}, kDesigned, false},
    {"TwoWordsTakeRightAndBottomFromTheWindow",
     {{L"NormPos", L"10, 20"}},
     {10, 20, kDesigned.right, kDesigned.bottom},
     true},
    {"HexFormsReadAsOneHundredSoRightIsNotAfterLeft",
     {{L"NormPos", L"$64,x64,0x64,100"}},
     kDesigned,
     false},
    {"HexFormsRead", {{L"NormPos", L"$64,X64,0X190,$C8"}}, {100, 100, 400, 200}, true},
    {"MalformedWordsKeepTheWindowsOwn",
     {{L"NormPos", L"a,20,-,400"}},
     {kDesigned.left, 20, kDesigned.right, 400},
     true},
    {"WordsSplitByCommasAndBlanksInAnyMix",
     {{L"NormPos", L" 10 ,, 20  300,,,400 "}},
     {10, 20, 300, 400},
     true},
    {"FormVersionBelowZeroAppliesNothing",
     {{L"FormVersion", L"-1"}, {L"NormPos", L"10,10,400,300"}},
     kDesigned,
     false},
    {"FormVersionAboveZeroApplies",
     {{L"FormVersion", L"1"}, {L"NormPos", L"10,10,400,300"}},
     {10, 10, 400, 300},
     true},
    {"OtherPixelsPerInchAppliesNothing",
     {{L"PixelsPerInch", L"120"}, {L"NormPos", L"10,10,400,300"}},
     kDesigned,
     false},
    {"SamePixelsPerInchApplies",
     {{L"PixelsPerInch", L"96"}, {L"NormPos", L"10,10,400,300"}},
     {10, 10, 400, 300},
     true},
    {"MalformedPixelsPerInchCountsAsTheCurrent",
     {{L"PixelsPerInch", L"96dpi"}, {L"NormPos", L"10,10,400,300"}},
     {10, 10, 400, 300},
     true},
    {"MinMaxPosAloneIsData", {{L"MinMaxPos", L"5,6,7,8"}}, kDesigned, true},
    {"MeaninglessMinMaxPosIsStillData", {{L"MinMaxPos", L"junk"}}, kDesigned, true},
    {"FixedBorderKeepsItsOwnSize",
     {{L"NormPos", L"10,20,900,900"}},
     {10, 20, 351, 220},
     true,
     BorderStyle::Dialog},
    {"SizeableToolWindowTakesTheStoredSize",
     {{L"NormPos", L"10,20,900,900"}},
     {10, 20, 900, 900},
     true,
     BorderStyle::SizeToolWin},
};

INSTANTIATE_TEST_SUITE_P(Cases, RestoreFromFile, testing::ValuesIn(kRestoreCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Placement, RestoreTakesFlagsAndMinimisedPositionButNeverTheMaximised) {
  Store(L"Flags", L"2");
  Store(L"MinMaxPos", L"5,6,7,8");
  placement.OnShow();
  ASSERT_EQ(window.applied.size(), 2u);
  EXPECT_EQ(window.applied[0].flags, 2);
  EXPECT_EQ(window.applied[0].minPosition, (PlacementPoint{5, 6}));
  EXPECT_EQ(window.applied[0].maxPosition, (PlacementPoint{7, 8}));
  EXPECT_EQ(window.record.minPosition, (PlacementPoint{5, 6}));
  EXPECT_EQ(window.record.maxPosition, (PlacementPoint{-4, -5}));
}

TEST_F(Placement, RestoreOfAVisibleWindowKeepsItsShowCommand) {
  window.visible = true;
  window.record.showCmd = 1;
  Store(L"NormPos", L"10,10,400,300");
  placement.OnShow();
  ASSERT_EQ(window.applied.size(), 2u);
  EXPECT_EQ(window.applied[0].showCmd, 1);
  EXPECT_EQ(window.applied[1].showCmd, 1);
}

TEST_F(Placement, RestoreWithoutAWindowHandleStillCountsAsRestored) {
  window.exists = false;
  placement.OnShow();
  EXPECT_TRUE(placement.Restored());
  EXPECT_TRUE(window.applied.empty());
}

struct BorderCase {
  const char* name;
  BorderStyle border;
  PlacementPoint maxPosition;
};

class MaximisedPosition : public Placement, public testing::WithParamInterface<BorderCase> {};

TEST_P(MaximisedPosition, PutsTheFrameJustOutsideTheScreen) {
  window.border = GetParam().border;
  placement.OnShow();
  EXPECT_EQ(window.record.maxPosition, GetParam().maxPosition);
}

const BorderCase kBorderCases[] = {
    {"None", BorderStyle::None, {0, 0}},
    {"Single", BorderStyle::Single, {-1, -2}},
    {"Sizeable", BorderStyle::Sizeable, {-4, -5}},
    {"Dialog", BorderStyle::Dialog, {-3, -6}},
    {"ToolWindow", BorderStyle::ToolWindow, {-1, -2}},
    {"SizeToolWin", BorderStyle::SizeToolWin, {-4, -5}},
};

INSTANTIATE_TEST_SUITE_P(Styles, MaximisedPosition, testing::ValuesIn(kBorderCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct BitsCase {
  const char* name;
  BorderBits bits;
  BorderStyle style;
};

class BorderStyleFromBits : public testing::TestWithParam<BitsCase> {};

TEST_P(BorderStyleFromBits, Maps) { EXPECT_EQ(BorderStyleOf(GetParam().bits), GetParam().style); }

const BitsCase kBitsCases[] = {
    {"OverlappedWindowIsSizeable", {true, true, false, false}, BorderStyle::Sizeable},
    {"ThickFrameToolWindow", {true, true, false, true}, BorderStyle::SizeToolWin},
    {"ModalFrameIsDialog", {false, true, true, false}, BorderStyle::Dialog},
    {"CaptionToolWindow", {false, true, false, true}, BorderStyle::ToolWindow},
    {"CaptionOnlyIsSingle", {false, true, false, false}, BorderStyle::Single},
    {"PlainPopupHasNone", {false, false, false, false}, BorderStyle::None},
};

INSTANTIATE_TEST_SUITE_P(Bits, BorderStyleFromBits, testing::ValuesIn(kBitsCases),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Save ------------------------------------------------------------------------------

TEST_F(Placement, SaveWritesTheNineKeysInOrder) {
  placement.OnShow();
  window.record = {0, 1, {-1, -1}, {-4, -4}, {30, 40, 500, 400}};
  placement.OnCloseQuery(true);

  const std::vector<std::wstring> order{
      L"FormVersion",        L"Flags",     L"ShowCmd",           L"PixelsPerInch",
      L"MinMaxPos(1024x768)", L"MinMaxPos", L"NormPos(1024x768)", L"NormPos",
      L"Visible"};
  EXPECT_EQ(store.written, order);
  EXPECT_EQ(Stored(L"FormVersion"), L"0");
  EXPECT_EQ(Stored(L"Flags"), L"0");
  EXPECT_EQ(Stored(L"ShowCmd"), L"1");
  EXPECT_EQ(Stored(L"PixelsPerInch"), L"96");
  EXPECT_EQ(Stored(L"MinMaxPos(1024x768)"), L"-1,-1,-4,-4");
  EXPECT_EQ(Stored(L"MinMaxPos"), L"-1,-1,-4,-4");
  EXPECT_EQ(Stored(L"NormPos(1024x768)"), L"30,40,500,400");
  EXPECT_EQ(Stored(L"NormPos"), L"30,40,500,400");
  EXPECT_EQ(Stored(L"Visible"), L"0");
  EXPECT_TRUE(placement.Saved());
}

TEST_F(Placement, SaveWhileMinimisedWritesShowCmdTwoAndTheNormalRectangle) {
  placement.OnShow();
  window.applicationMinimised = true;
  placement.OnCloseQuery(true);
  EXPECT_EQ(Stored(L"ShowCmd"), L"2");
  EXPECT_EQ(Stored(L"NormPos"), L"279,117,620,317");
}

TEST_F(Placement, SaveBeforeAnyRestoreLeavesTheFileAsItWas) {
  placement.SaveWindowPlacement();
  placement.OnCloseQuery(true);
  placement.OnDestroy();
  EXPECT_TRUE(store.written.empty());
}

TEST_F(Placement, InactivePlacementNeitherRestoresNorSavesByItself) {
  placement.Active = false;
  Store(L"NormPos", L"10,10,400,300");
  placement.OnShow();
  placement.OnCloseQuery(true);
  placement.OnDestroy();
  EXPECT_TRUE(window.applied.empty());
  EXPECT_TRUE(store.written.empty());
  EXPECT_FALSE(placement.Restored());

  placement.SaveWindowPlacement();  // asked for explicitly, it saves
  EXPECT_EQ(store.written.size(), 9u);
}

TEST_F(Placement, FormVersionBelowTheLayoutIsReplacedByTheNextSave) {
  Store(L"FormVersion", L"-1");
  Store(L"NormPos", L"10,10,400,300");
  placement.OnShow();
  EXPECT_EQ(window.record.normalPosition, kDesigned);
  placement.OnCloseQuery(true);
  EXPECT_EQ(Stored(L"FormVersion"), L"0");
  EXPECT_EQ(Stored(L"NormPos"), L"279,117,620,317");
}

// One run per call: a fresh component on the same file and window, as at each start.
PlacementRect RunProgram(FakeWindow& window, MemoryProfileStore& store, ScreenSize screen,
                  const PlacementRect* moveTo) {
  TFormPlacement placement(window, store, [](const std::wstring&) {});
  placement.IniFileName = kFile;
  window.screen = screen;
  window.record.normalPosition = kDesigned;
  placement.OnShow();
  const PlacementRect shown = window.record.normalPosition;
  if (moveTo != nullptr) window.record.normalPosition = *moveTo;
  placement.OnCloseQuery(true);
  placement.OnDestroy();
  return shown;
}

TEST_F(Placement, EachScreenSizeRestoresItsOwnRectangle) {
  const PlacementRect small{10, 10, 400, 300};
  const PlacementRect large{600, 500, 1000, 800};
  const ScreenSize s1024{1024, 768};
  const ScreenSize s1280{1280, 1024};

  EXPECT_EQ(RunProgram(window, store, s1024, &small), kDesigned);
  EXPECT_EQ(RunProgram(window, store, s1280, &large), small)
      << "an unsaved size takes the last saved";
  EXPECT_EQ(RunProgram(window, store, s1024, nullptr), small);
  EXPECT_EQ(RunProgram(window, store, s1280, nullptr), large);
  EXPECT_EQ(RunProgram(window, store, {800, 600}, nullptr), large)
      << "the generic keys hold the last rectangle saved at any size";
  EXPECT_EQ(Stored(L"NormPos(1024x768)"), L"10,10,400,300");
  EXPECT_EQ(Stored(L"NormPos(1280x1024)"), L"600,500,1000,800");
}

TEST_F(Placement, OtherPixelsPerInchRestoresAgainFromTheRunAfter) {
  const PlacementRect moved{10, 10, 400, 300};
  RunProgram(window, store, {1024, 768}, &moved);
  window.pixelsPerInch = 120;
  EXPECT_EQ(RunProgram(window, store, {1024, 768}, &moved), kDesigned);
  EXPECT_EQ(RunProgram(window, store, {1024, 768}, nullptr), moved);
}

// --- Hooks -----------------------------------------------------------------------------

TEST_F(Placement, ConfirmedCloseSavesOnceAndDestroyWritesNothing) {
  placement.OnShow();
  EXPECT_FALSE(placement.Saved());
  EXPECT_TRUE(placement.OnCloseQuery(true));
  EXPECT_TRUE(placement.Saved());
  store.written.clear();
  placement.OnDestroy();
  EXPECT_TRUE(store.written.empty());
  EXPECT_TRUE(reports.empty());
}

TEST_F(Placement, RefusedCloseWritesNothingAndALaterCloseSaves) {
  placement.OnShow();
  EXPECT_FALSE(placement.OnCloseQuery(false));
  EXPECT_TRUE(store.written.empty());
  window.record.normalPosition = {1, 2, 400, 300};
  EXPECT_TRUE(placement.OnCloseQuery(true));
  EXPECT_EQ(Stored(L"NormPos"), L"1,2,400,300");
}

TEST_F(Placement, DestroyWithoutASavedCloseSavesAsVisible) {
  placement.OnShow();
  placement.OnDestroy();
  EXPECT_EQ(store.written.size(), 9u);
  EXPECT_EQ(Stored(L"Visible"), L"1");
  EXPECT_FALSE(placement.Destroying());
}

TEST_F(Placement, FailedSaveIsReportedOnCloseAndAgainOnDestroy) {
  placement.OnShow();
  store.failAfterWrites = 3;  // FormVersion, Flags and ShowCmd get through
  EXPECT_TRUE(placement.OnCloseQuery(true));
  const std::wstring message = L"Unable to write to " + kFile;
  EXPECT_EQ(reports, std::vector<std::wstring>{message});
  EXPECT_FALSE(placement.Saved());
  EXPECT_EQ(store.written.size(), 3u);

  placement.OnDestroy();
  EXPECT_EQ(reports, (std::vector<std::wstring>{message, message}));
  EXPECT_FALSE(placement.Destroying());
  EXPECT_FALSE(placement.Saved());
}

TEST_F(Placement, DestroyRetryAfterAFailedCloseMarksVisible) {
  placement.OnShow();
  store.failAfterWrites = 0;
  placement.OnCloseQuery(true);
  store.failAfterWrites = -1;
  placement.OnDestroy();
  EXPECT_EQ(reports.size(), 1u);
  EXPECT_EQ(Stored(L"Visible"), L"1");
  EXPECT_TRUE(placement.Saved());
}

TEST_F(Placement, ShowAgainStartsANewSaveCycle) {
  placement.OnShow();
  placement.OnCloseQuery(true);
  placement.OnShow();
  EXPECT_FALSE(placement.Saved());
  store.written.clear();
  placement.OnDestroy();
  EXPECT_EQ(store.written.size(), 9u);
}

TEST(ScreenSizeSuffixText, IsWidthByHeightInParentheses) {
  EXPECT_EQ(ScreenSizeSuffix({1024, 768}), L"(1024x768)");
  EXPECT_EQ(ScreenSizeSuffix({1280, 1024}), L"(1280x1024)");
}

}  // namespace
