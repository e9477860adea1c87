#include "ui/setup/setup_form.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "services/trint.h"

namespace {

// ---- the port rows ----------------------------------------------------------------------

struct PortRowCase {
  const char* name;
  bool current;
  bool opens;  // the current port's state, or what the probe found
  const wchar_t* text;
  bool checked;
  bool enabled;
};

class PortRow : public testing::TestWithParam<PortRowCase> {};

TEST_P(PortRow, ReadsAndStandsAsTheOperatorSeesIt) {
  const PortRowCase& c = GetParam();
  const TPortItem item = c.current ? CurrentPortItem(7, c.opens) : OtherPortItem(7, c.opens);
  EXPECT_EQ(item.Text, c.text);
  EXPECT_EQ(item.Checked, c.checked);
  EXPECT_EQ(item.Enabled, c.enabled);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PortRow,
    testing::Values(
        PortRowCase{"CurrentOpenIsCheckedAndEnabled", true, true,
                    L"COM 7 - занят сервером, норма", true, true},
        PortRowCase{"CurrentFailedIsCheckedButGreyed", true, false,
                    L"COM 7 - занят сервером, ошибка", true, false},
        PortRowCase{"FreePortIsPlainAndEnabled", false, true, L"COM 7", false, true},
        PortRowCase{"UnopenablePortIsGreyedWithItsReason", false, false,
                    L"COM 7 - порт занят или отсутствует", false, false}),
    [](const auto& info) { return std::string(info.param.name); });

// COM2 held open by the program, COM1 free, everything else absent.
struct ProbeLog {
  std::map<int, int> calls;
  TPortProbe Probe() {
    return [this](int port) {
      ++calls[port];
      return port == 1;
    };
  }
};

TEST(PortList, ProbesEveryOtherPortOnceAndNeverTheCurrentOne) {
  ProbeLog log;
  const std::vector<TPortItem> items = BuildPortItems(2, true, log.Probe());

  ASSERT_EQ(items.size(), 100u);
  EXPECT_EQ(log.calls.size(), 99u);
  EXPECT_EQ(log.calls.count(2), 0u);
  for (const auto& [port, count] : log.calls) EXPECT_EQ(count, 1) << "COM" << port;
  EXPECT_EQ(items[0].Text, L"COM 1");
  EXPECT_EQ(items[1].Text, L"COM 2 - занят сервером, норма");
  EXPECT_EQ(items[2].Text, L"COM 3 - порт занят или отсутствует");
  EXPECT_EQ(items[99].Text, L"COM 100 - порт занят или отсутствует");
  EXPECT_EQ(CheckedPort(items), 2);
}

TEST(PortList, CurrentPortOutsideTheListProbesAllAndChecksNone) {
  for (int current : {0, 101, 255}) {
    ProbeLog log;
    const std::vector<TPortItem> items = BuildPortItems(current, false, log.Probe());
    EXPECT_EQ(log.calls.size(), 100u) << current;
    EXPECT_EQ(CheckedPort(items), 0) << current;
  }
}

TEST(PortList, LastPortCanBeTheCurrentOne) {
  ProbeLog log;
  const std::vector<TPortItem> items = BuildPortItems(100, false, log.Probe());
  EXPECT_EQ(log.calls.count(100), 0u);
  EXPECT_EQ(items[99].Text, L"COM 100 - занят сервером, ошибка");
  EXPECT_FALSE(items[99].Enabled);
  EXPECT_EQ(CheckedPort(items), 100);
}

// The status is offered to the translation hook as one text, never in pieces.
std::string Bracketed;
const char* LINTAVO_PROVIDER_CALL BracketTranslate(const char* text, std::int32_t) {
  Bracketed = std::string("[") + text + "]";
  return Bracketed.c_str();
}
std::int32_t LINTAVO_PROVIDER_CALL NoLanguageChange(const char*) { return 0; }
const char* LINTAVO_PROVIDER_CALL Russian() { return "RUS"; }
std::int32_t LINTAVO_PROVIDER_CALL NoDictionaries(std::int32_t*) { return 0; }
std::int32_t LINTAVO_PROVIDER_CALL NoDictionary(std::int32_t, const char**, const char**) {
  return 1;
}
std::int32_t LINTAVO_PROVIDER_CALL Finished() { return 0; }

TEST(PortList, StatusTextPassesThroughTheHookWhole) {
  ASSERT_TRUE(BindTranslationProvider({NoLanguageChange, Russian, NoDictionaries, NoDictionary,
                                       BracketTranslate, Finished}));
  const TPortItem held = CurrentPortItem(2, false);
  const TPortItem busy = OtherPortItem(3, false);
  const TPortItem free = OtherPortItem(4, true);
  UnbindTranslationProvider();
  EXPECT_EQ(held.Text, L"COM 2 - [занят сервером, ошибка]");
  EXPECT_EQ(busy.Text, L"COM 3 - [порт занят или отсутствует]");
  EXPECT_EQ(free.Text, L"COM 4");
}

// ---- the check list's rules ----------------------------------------------------------------

enum class Act { Click, Space, Plus, Minus, PressCheckColumn, MouseInCheckColumn, MouseOnText };
struct Step {
  Act act;
  int row;
};

// The list as the operator finds it: COM2 the program's port, COM3 and COM5 greyed.
std::vector<TPortItem> ListWithCurrent(bool currentOpen) {
  std::vector<TPortItem> items = BuildPortItems(2, currentOpen, [](int port) {
    return port != 3 && port != 5;
  });
  return items;
}

void Apply(std::vector<TPortItem>& items, const Step& step) {
  switch (step.act) {
    case Act::Click:
      ClickRow(items, step.row);
      break;
    case Act::Space:
      ToggleRow(items, step.row);
      break;
    case Act::Plus:
      CheckEnabledRows(items, true);
      break;
    case Act::Minus:
      CheckEnabledRows(items, false);
      break;
    case Act::PressCheckColumn:
      ToggleRow(items, step.row);
      break;
    case Act::MouseInCheckColumn:  // press (selection moves, then the toggle), release
      ClickRow(items, step.row);
      ToggleRow(items, step.row);
      ClickRow(items, step.row);
      break;
    case Act::MouseOnText:
      ClickRow(items, step.row);
      ClickRow(items, step.row);
      break;
  }
}

std::vector<int> CheckedPorts(const std::vector<TPortItem>& items) {
  std::vector<int> ports;
  for (std::size_t row = 0; row < items.size(); ++row) {
    if (items[row].Checked) ports.push_back(static_cast<int>(row) + 1);
  }
  return ports;
}

struct RuleCase {
  const char* name;
  bool currentOpen;
  std::vector<Step> steps;
  std::vector<int> checked;
  int checkedPort;
};

class CheckListRule : public testing::TestWithParam<RuleCase> {};

TEST_P(CheckListRule, LeavesTheExpectedChecks) {
  const RuleCase& c = GetParam();
  std::vector<TPortItem> items = ListWithCurrent(c.currentOpen);
  for (const Step& step : c.steps) Apply(items, step);
  EXPECT_EQ(CheckedPorts(items), c.checked);
  EXPECT_EQ(CheckedPort(items), c.checkedPort);
}

std::vector<int> AllEnabledPorts() {
  std::vector<int> ports;
  for (int port = 1; port <= kListedPortCount; ++port) {
    if (port != 3 && port != 5) ports.push_back(port);
  }
  return ports;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CheckListRule,
    testing::Values(
        RuleCase{"OpeningShowsTheCurrentPortChecked", true, {}, {2}, 2},
        RuleCase{"SelectingARowMakesItTheOnlyCheckedPort", true, {{Act::Click, 0}}, {1}, 1},
        RuleCase{"SelectingAGreyedRowChecksIt", true, {{Act::Click, 2}}, {3}, 3},
        RuleCase{"SelectingAfterPlusLeavesOneCheckedPort", true,
                 {{Act::Plus, 0}, {Act::Click, 40}}, {41}, 41},
        RuleCase{"SpaceOnTheCheckedRowLeavesNone", true, {{Act::Space, 1}}, {}, 0},
        RuleCase{"SpaceTwiceChecksAgain", true, {{Act::Space, 1}, {Act::Space, 1}}, {2}, 2},
        RuleCase{"SpaceOnAnUncheckedEnabledRowAddsIt", true, {{Act::Space, 9}}, {2, 10}, 2},
        RuleCase{"SpaceOnAGreyedRowNeverToggles", true, {{Act::Space, 2}}, {2}, 2},
        RuleCase{"SpaceOnAFailedCurrentPortNeverToggles", false, {{Act::Space, 1}}, {2}, 2},
        RuleCase{"PlusChecksEveryEnabledRowAndTheLowestCounts", true, {{Act::Plus, 0}},
                 AllEnabledPorts(), 1},
        // COM2 is greyed here and stays checked; COM3 and COM5 stay unchecked.
        RuleCase{"PlusLeavesGreyedRowsAlone", false, {{Act::Plus, 0}}, AllEnabledPorts(), 1},
        RuleCase{"MinusUnchecksEveryEnabledRow", true, {{Act::Plus, 0}, {Act::Minus, 0}}, {}, 0},
        RuleCase{"MinusKeepsAFailedCurrentPortChecked", false, {{Act::Minus, 0}}, {2}, 2},
        RuleCase{"PressInCheckColumnOfTheCheckedRowUnchecksIt", true,
                 {{Act::PressCheckColumn, 1}}, {}, 0},
        RuleCase{"PressInCheckColumnOfAGreyedRowNeverToggles", true,
                 {{Act::PressCheckColumn, 4}}, {2}, 2},
        RuleCase{"MouseClickInCheckColumnEndsWithThatRowOnly", true,
                 {{Act::MouseInCheckColumn, 6}}, {7}, 7},
        RuleCase{"MouseClickInCheckColumnOfTheCheckedRowKeepsIt", true,
                 {{Act::MouseInCheckColumn, 1}}, {2}, 2},
        RuleCase{"MouseClickOnAGreyedRowChoosesIt", true, {{Act::MouseInCheckColumn, 4}}, {5}, 5},
        RuleCase{"MouseClickOnTheTextChoosesTheRow", true, {{Act::MouseOnText, 99}}, {100}, 100},
        RuleCase{"ClickOutsideTheListChangesNothing", true, {{Act::Click, -1}, {Act::Click, 100}},
                 {2}, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CheckList, KeysOfTheList) {
  EXPECT_EQ(ListKeyOf(L' '), ListKey::Toggle);
  EXPECT_EQ(ListKeyOf(L'+'), ListKey::CheckAll);
  EXPECT_EQ(ListKeyOf(L'-'), ListKey::UncheckAll);
  EXPECT_EQ(ListKeyOf(L'1'), ListKey::None);
  EXPECT_EQ(ListKeyOf(L'='), ListKey::None);
}

TEST(CheckList, CheckColumnIsTheFirstEighteenPixels) {
  EXPECT_TRUE(InCheckColumn(0));
  EXPECT_TRUE(InCheckColumn(17));
  EXPECT_FALSE(InCheckColumn(18));
  EXPECT_FALSE(InCheckColumn(-1));
}

// ---- how a row is drawn ----------------------------------------------------------------------

struct LookCase {
  const char* name;
  TPortItem item;
  bool selected;
  CheckImage image;
  RowTextColour colour;
  std::uintptr_t bits;
};

class RowLook : public testing::TestWithParam<LookCase> {};

TEST_P(RowLook, PictureColourAndPublishedState) {
  const LookCase& c = GetParam();
  EXPECT_EQ(CheckImageOf(c.item), c.image);
  EXPECT_EQ(RowTextColourOf(c.item, c.selected), c.colour);
  EXPECT_EQ(RowStateBits(c.item), c.bits);
}

INSTANTIATE_TEST_SUITE_P(
    Looks, RowLook,
    testing::Values(
        LookCase{"EnabledUncheckedIsAnEmptyBox", {L"", false, true}, false, CheckImage::Box,
                 RowTextColour::WindowText, kRowEnabled},
        LookCase{"EnabledCheckedIsAGreenTick", {L"", true, true}, false, CheckImage::Tick,
                 RowTextColour::WindowText, kRowEnabled | kRowChecked},
        LookCase{"EnabledSelectedUsesHighlightText", {L"", false, true}, true, CheckImage::Box,
                 RowTextColour::HighlightText, kRowEnabled},
        LookCase{"GreyedUncheckedIsAGreyBoxInGreyText", {L"", false, false}, false,
                 CheckImage::GreyBox, RowTextColour::GrayText, 0},
        LookCase{"GreyedCheckedIsAHollowTick", {L"", true, false}, false, CheckImage::HollowTick,
                 RowTextColour::GrayText, kRowChecked},
        LookCase{"GreyedSelectedUsesInactiveCaptionText", {L"", true, false}, true,
                 CheckImage::HollowTick, RowTextColour::InactiveCaptionText, kRowChecked}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SetupPage, FirstPageUnlessTheReaderOutputOrJournalPageIsAsked) {
  EXPECT_EQ(PageIndexOf(1), 0);
  EXPECT_EQ(PageIndexOf(2), 1);
  EXPECT_EQ(PageIndexOf(3), 2);
  EXPECT_EQ(PageIndexOf(4), 3);
  EXPECT_EQ(PageIndexOf(0), 0);
  EXPECT_EQ(PageIndexOf(5), 0);
  EXPECT_EQ(PageIndexOf(-2), 0);
}

TEST(SetupPage, TheOutputPageHasAHelpTopicOfItsOwn) {
  EXPECT_EQ(HelpContextOfPage(PageIndexOf(1)), 30);
  EXPECT_EQ(HelpContextOfPage(PageIndexOf(2)), 30);
  EXPECT_EQ(HelpContextOfPage(PageIndexOf(3)), 31);
  EXPECT_EQ(HelpContextOfPage(PageIndexOf(4)), 30);
}

TEST(SetupJournal, TheDaysKeptStayInRangeAndAnUnreadableCountKeepsTheCurrent) {
  const TJournalSettings current{.ToFile = false, .KeepDays = 45};
  EXPECT_EQ(JournalSettingsOfChoices(true, 7, current), (TJournalSettings{true, 7}));
  EXPECT_EQ(JournalSettingsOfChoices(true, std::nullopt, current), (TJournalSettings{true, 45}));
  EXPECT_EQ(JournalSettingsOfChoices(false, 0, current), (TJournalSettings{false, 1}));
  EXPECT_EQ(JournalSettingsOfChoices(false, 99999, current), (TJournalSettings{false, 3650}));
}

TEST(SetupReaderType, ChosenItemIsTheTypeAndNoChoiceKeepsIt) {
  EXPECT_EQ(ReaderTypeOfIndex(0, 1), 0);
  EXPECT_EQ(ReaderTypeOfIndex(1, 0), 1);
  EXPECT_EQ(ReaderTypeOfIndex(-1, 1), 1);
  EXPECT_EQ(ReaderTypeOfIndex(-1, 0), 0);
}

struct OutputChoiceCase {
  const char* name;
  int format;
  int suffix;
  bool noCaret;
  TOutputSettings expected;
};

class SetupOutputChoices : public testing::TestWithParam<OutputChoiceCase> {};

// What the page held before the choices: hexadecimal, then Tab.
constexpr TOutputSettings kCurrentOutput{TCardFormat::Hexadecimal, TCardSuffix::Tab, false};

TEST_P(SetupOutputChoices, ChosenItemsAreTheValuesAndNoChoiceKeepsTheCurrent) {
  const OutputChoiceCase& c = GetParam();
  EXPECT_EQ(OutputSettingsOfChoices(c.format, c.suffix, c.noCaret, kCurrentOutput), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Items, SetupOutputChoices,
    testing::Values(
        OutputChoiceCase{"FirstItems", 0, 0, false,
                         {TCardFormat::Decimal, TCardSuffix::None, false}},
        OutputChoiceCase{"MiddleItemsAndTheCheckBox", 1, 1, true,
                         {TCardFormat::FacilityNumber, TCardSuffix::Enter, true}},
        OutputChoiceCase{"LastItems", 2, 2, false,
                         {TCardFormat::Hexadecimal, TCardSuffix::Tab, false}},
        OutputChoiceCase{"NothingChosenKeepsTheCurrent", -1, -1, true,
                         {TCardFormat::Hexadecimal, TCardSuffix::Tab, true}},
        OutputChoiceCase{"AnItemBeyondTheListKeepsTheCurrent", 3, 3, false, kCurrentOutput}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
