#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/menu_watcher.h"
#include "tests/support/message_pump.h"
#include "tests/support/queue_fence.h"
#include "ui/tray/drawn_menu_win.h"
#include "ui/tray/tray_icon_win.h"
#include "ui/tray/tray_menu_win.h"
#include "ui/tray/tray_pictures_ids.h"

namespace {

constexpr POINT kCursor{300, 200};

struct TShellCall {
  DWORD Action;
  NOTIFYICONDATAW Record;
};

class TrayIconTest : public testing::Test {
 protected:
  void SetUp() override {
    Icon = std::make_unique<TTrayIcon>(L"Драйвер контрольного считывателя", nullptr,
                                       [this](const std::wstring& text) { Reports.push_back(text); });
    Icon->ShellNotify = [this](DWORD action, NOTIFYICONDATAW& record) {
      Calls.push_back({action, record});
      return action == NIM_DELETE ? HoldsIcon : ShellAccepts;
    };
    Icon->OnMouseNotice = [this](const TTrayMouseNotice& notice) { Notices.push_back(notice); };
    Menu = std::make_unique<TDrawnPopupMenu>(true, [this](const std::wstring& text) {
      Reports.push_back(text);
    });
    FillTrayMenu(*Menu, {[this] { Ran.push_back(L"show"); }, [this] { Ran.push_back(L"setup"); },
                         [this] { Ran.push_back(L"journal"); }, [this] { Ran.push_back(L"help"); },
                         [this] { Ran.push_back(L"exit"); }});
    Icon->SetPopupMenu(Menu.get());
    Icon->Loaded();
    Calls.clear();
    SetCursorPos(kCursor.x, kCursor.y);
  }
  void TearDown() override {
    Icon.reset();
    Menu.reset();
  }

  void Post(unsigned mouseMessage) {
    PostMessageW(Icon->MessageWindow(), kTrayIconMessage, kTrayIconId, mouseMessage);
  }
  // Runs this thread's loop until everything posted so far has been handled.
  void HandlePosted() {
    const int fence = Fence.Post();
    ASSERT_TRUE(PumpUntil([&] { return Fence.Passed(fence); }));
  }
  // Handles what was posted while a watcher stands ready to close a menu that must not
  // open; true when none did.
  bool HandledWithoutAMenu() {
    TMenuWatcher watcher({VK_ESCAPE});
    HandlePosted();
    const bool none = VisiblePopupMenu() == nullptr;
    watcher.StopWatching();
    return none && !watcher.Seen();
  }
  std::vector<DWORD> Actions() const {
    std::vector<DWORD> actions;
    for (const auto& call : Calls) actions.push_back(call.Action);
    return actions;
  }
  void GiveIcon() { Icon->SetIcon(CopyIconOf(LoadIconW(nullptr, IDI_APPLICATION))); }

  TQueueFence Fence;
  bool ShellAccepts = true;
  bool HoldsIcon = false;
  std::vector<TShellCall> Calls;
  std::vector<std::wstring> Reports;
  std::vector<std::wstring> Ran;
  std::vector<TTrayMouseNotice> Notices;
  std::unique_ptr<TTrayIcon> Icon;
  std::unique_ptr<TDrawnPopupMenu> Menu;
};

TEST_F(TrayIconTest, NoImageNeverReachesTheShell) {
  Icon->AddTrayIcon();
  EXPECT_EQ(Actions(), std::vector<DWORD>{NIM_DELETE});
  EXPECT_FALSE(Icon->IconAdded());
}

TEST(TrayIconLoading, AddedOnlyOnceOwnerHasLoaded) {
  std::vector<DWORD> actions;
  TTrayIcon icon(L"x", nullptr, nullptr);
  icon.ShellNotify = [&](DWORD action, NOTIFYICONDATAW&) {
    actions.push_back(action);
    return true;
  };
  icon.Icons().Add(CopyIconOf(LoadIconW(nullptr, IDI_APPLICATION)));
  icon.SetIcon(CopyIconOf(LoadIconW(nullptr, IDI_APPLICATION)));
  EXPECT_TRUE(actions.empty());
  icon.Loaded();
  EXPECT_EQ(actions, (std::vector<DWORD>{NIM_DELETE, NIM_ADD}));
  EXPECT_TRUE(icon.IconAdded());
}

// The flags, the id and the callback message are the record's own (TrayNotifyFields).
TEST_F(TrayIconTest, AddFillsTheRecordForTheMessageWindow) {
  GiveIcon();
  ASSERT_EQ(Actions(), (std::vector<DWORD>{NIM_DELETE, NIM_ADD}));
  const NOTIFYICONDATAW& record = Calls.back().Record;
  EXPECT_EQ(record.cbSize, static_cast<DWORD>(sizeof(NOTIFYICONDATAW)));
  EXPECT_EQ(record.hWnd, Icon->MessageWindow());
  EXPECT_EQ(record.hIcon, Icon->Icon());
  EXPECT_STREQ(record.szTip, L"Драйвер контрольного считывателя");
  EXPECT_TRUE(Icon->IconAdded());
}

TEST_F(TrayIconTest, RefusedAddIsTriedAgainOnNextImage) {
  ShellAccepts = false;
  GiveIcon();
  EXPECT_FALSE(Icon->IconAdded());
  ShellAccepts = true;
  Calls.clear();
  GiveIcon();
  EXPECT_EQ(Actions(), (std::vector<DWORD>{NIM_DELETE, NIM_ADD}));
  EXPECT_TRUE(Icon->IconAdded());
}

TEST_F(TrayIconTest, ChangesWhileAddedModifyAndEmptyImageRemoves) {
  GiveIcon();
  Calls.clear();
  GiveIcon();
  Icon->SetHint(L"Другая|подсказка");
  EXPECT_EQ(Actions(), (std::vector<DWORD>{NIM_MODIFY, NIM_MODIFY}));
  EXPECT_STREQ(Calls.back().Record.szTip, L"Другая");
  Calls.clear();
  Icon->SetIcon(TUniqueIcon());
  EXPECT_EQ(Actions(), std::vector<DWORD>{NIM_DELETE});
  EXPECT_FALSE(Icon->IconAdded());
}

TEST_F(TrayIconTest, EmptyTipIsPassedOnceMoreAsModify) {
  Icon->SetHint(L"|только подробно");
  Calls.clear();
  GiveIcon();
  EXPECT_EQ(Actions(), (std::vector<DWORD>{NIM_DELETE, NIM_ADD, NIM_MODIFY}));
  EXPECT_STREQ(Calls.back().Record.szTip, L"");
}

TEST_F(TrayIconTest, InactiveIconStaysAwayUntilActivated) {
  Icon->SetActive(false);
  GiveIcon();
  EXPECT_FALSE(Icon->IconAdded());
  Icon->SetActive(true);
  EXPECT_TRUE(Icon->IconAdded());
  Calls.clear();
  Icon->SetActive(false);
  EXPECT_EQ(Actions(), std::vector<DWORD>{NIM_DELETE});
  EXPECT_FALSE(Icon->IconAdded());
}

TEST_F(TrayIconTest, ListChangeRefreshesOncePerUpdate) {
  GiveIcon();
  Calls.clear();
  Icon->Icons().BeginUpdate();
  Icon->Icons().Add(CopyIconOf(LoadIconW(nullptr, IDI_APPLICATION)));
  Icon->Icons().Add(CopyIconOf(LoadIconW(nullptr, IDI_ERROR)));
  Icon->Icons().Exchange(0, 1);
  EXPECT_TRUE(Calls.empty());
  Icon->Icons().EndUpdate();
  EXPECT_EQ(Actions(), std::vector<DWORD>{NIM_MODIFY});
  Icon->Icons().Move(0, 1);
  Icon->Icons().Delete(5);  // no such entry: no change
  EXPECT_EQ(Actions(), (std::vector<DWORD>{NIM_MODIFY, NIM_MODIFY}));
}

TEST_F(TrayIconTest, StateImageIsACopyOfTheListEntry) {
  Icon->Icons().Add(CopyIconOf(LoadIconW(nullptr, IDI_APPLICATION)));
  Icon->Icons().Add(CopyIconOf(LoadIconW(nullptr, IDI_ERROR)));
  ShowTrayState(*Icon, 1);
  ASSERT_NE(Icon->Icon(), nullptr);
  EXPECT_NE(Icon->Icon(), Icon->Icons()[1]);
  EXPECT_EQ(Icon->Icons().Count(), 2);
  ShowTrayState(*Icon, 0);
  EXPECT_EQ(Calls.back().Record.hIcon, Icon->Icon());
}

TEST_F(TrayIconTest, RightPressAndReleaseOverIconOpensMenuAtCursor) {
  GiveIcon();
  TMenuWatcher watcher({VK_ESCAPE});
  Post(kRightButtonDown);
  Post(kRightButtonUp);
  PumpUntil([&] { return watcher.Seen() && VisiblePopupMenu() == nullptr; });
  watcher.Join();
  ASSERT_TRUE(watcher.Seen());
  EXPECT_EQ(watcher.Rect().left, kCursor.x);
  EXPECT_EQ(watcher.Rect().top, kCursor.y);
  EXPECT_TRUE(Ran.empty());
  // The menu opened, so no click notice went to the owner: a press and a release only.
  ASSERT_EQ(Notices.size(), 2u);
  EXPECT_EQ(Notices[0].Kind, TTrayStepKind::PressNotice);
  EXPECT_EQ(Notices[1].Kind, TTrayStepKind::ReleaseNotice);
  EXPECT_EQ(Notices[1].Cursor.x, kCursor.x);
}

TEST_F(TrayIconTest, RightReleasedWithoutPressOpensNothing) {
  GiveIcon();
  Post(kRightButtonUp);
  EXPECT_TRUE(HandledWithoutAMenu());
  ASSERT_EQ(Notices.size(), 1u);
  EXPECT_EQ(Notices[0].Kind, TTrayStepKind::ReleaseNotice);
}

TEST_F(TrayIconTest, AddAndRemoveForgetAPressedButton) {
  GiveIcon();
  for (const bool removeInstead : {false, true}) {
    Post(kRightButtonDown);
    HandlePosted();
    ASSERT_TRUE(Icon->PressedButtons().IsPressed(TTrayButton::Right));
    if (removeInstead)
      Icon->RemoveTrayIcon();
    else
      Icon->AddTrayIcon();
    EXPECT_FALSE(Icon->PressedButtons().IsPressed(TTrayButton::Right)) << removeInstead;
  }
  Post(kRightButtonUp);
  EXPECT_TRUE(HandledWithoutAMenu());
}

TEST_F(TrayIconTest, LeftDoubleClickRunsDefaultItemSingleClickNothing) {
  GiveIcon();
  Post(kLeftButtonDown);
  Post(kLeftButtonUp);
  HandlePosted();
  EXPECT_TRUE(Ran.empty());
  EXPECT_EQ(Notices.at(1).Kind, TTrayStepKind::Click);
  Notices.clear();
  Post(kLeftButtonDoubleClick);
  Post(kLeftButtonUp);
  HandlePosted();
  EXPECT_EQ(Ran, std::vector<std::wstring>{L"show"});
  // The default item ran, so no double-click notice: the double press and the release.
  ASSERT_EQ(Notices.size(), 2u);
  EXPECT_EQ(Notices[0].Kind, TTrayStepKind::PressNotice);
  EXPECT_TRUE(Notices[0].Double);
}

TEST_F(TrayIconTest, WithoutMenuClicksReachOwner) {
  Icon->SetPopupMenu(nullptr);
  GiveIcon();
  Post(kRightButtonDown);
  Post(kRightButtonUp);
  Post(kLeftButtonDoubleClick);
  EXPECT_TRUE(HandledWithoutAMenu());
  ASSERT_EQ(Notices.size(), 5u);
  EXPECT_EQ(Notices[1].Kind, TTrayStepKind::Click);
  EXPECT_EQ(Notices[1].Button, TTrayButton::Right);
  EXPECT_EQ(Notices[3].Kind, TTrayStepKind::DoubleClick);
}

TEST_F(TrayIconTest, MenuDestroyedFirstClearsReference) {
  Menu.reset();
  EXPECT_EQ(Icon->PopupMenu(), nullptr);
  EXPECT_FALSE(Icon->RunDefaultItem());
  EXPECT_FALSE(Icon->ShowTrayMenu(1, 1));
}

TEST_F(TrayIconTest, DisabledIconIgnoresNotices) {
  GiveIcon();
  Icon->Enabled = false;
  Post(kLeftButtonDoubleClick);
  HandlePosted();
  EXPECT_TRUE(Ran.empty());
  EXPECT_TRUE(Notices.empty());
}

TEST_F(TrayIconTest, MenuCommandRunsItsAction) {
  GiveIcon();
  TMenuWatcher watcher({VK_DOWN, VK_DOWN, VK_RETURN});
  Post(kRightButtonDown);
  Post(kRightButtonUp);
  PumpUntil([&] { return !Ran.empty(); });
  watcher.Join();
  EXPECT_EQ(Ran, std::vector<std::wstring>{L"setup"});
}

// The tray demo's error case, kept at this floor: the report gets the text as thrown; the
// box that shows it is checked by ApplicationObject.StandardErrorReportClosesTheSentence.
TEST_F(TrayIconTest, ErrorInCommandIsReportedAndIconKeepsWorking) {
  Menu->Add({L"Сбой", 9, false, true, {}, 0, [] { throw std::runtime_error("Сбой в команде"); }});
  GiveIcon();
  {
    // Past the last of the six items: the up arrow from nothing reaches the last item.
    TMenuWatcher watcher({VK_UP, VK_RETURN});
    Post(kRightButtonDown);
    Post(kRightButtonUp);
    PumpUntil([&] { return !Reports.empty(); });
  }
  EXPECT_EQ(Reports, std::vector<std::wstring>{L"Сбой в команде"});
  TMenuWatcher again({VK_DOWN, VK_RETURN});
  Post(kRightButtonDown);
  Post(kRightButtonUp);
  PumpUntil([&] { return !Ran.empty(); });
  EXPECT_EQ(Ran, std::vector<std::wstring>{L"show"});
}

TEST_F(TrayIconTest, ErrorInNoticeHandlerIsReported) {
  GiveIcon();
  Icon->OnMouseNotice = [](const TTrayMouseNotice&) { throw std::runtime_error("notice"); };
  Post(kMouseMove);
  HandlePosted();
  EXPECT_EQ(Reports, std::vector<std::wstring>{L"notice"});
}

TEST_F(TrayIconTest, NewNotificationAreaGetsTheIconAgain) {
  const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
  GiveIcon();
  Calls.clear();
  SendMessageW(Icon->MessageWindow(), taskbarCreated, 0, 0);
  EXPECT_EQ(Actions(), (std::vector<DWORD>{NIM_DELETE, NIM_ADD}));
  EXPECT_TRUE(Icon->IconAdded());
  Icon->SetActive(false);
  Calls.clear();
  SendMessageW(Icon->MessageWindow(), taskbarCreated, 0, 0);
  EXPECT_TRUE(Calls.empty());
}

// Explorer restarted without its notice reaching the program: the shell refuses the next
// modify, and the icon is then taken for gone and added again.
TEST_F(TrayIconTest, AFailedModifyMeansTheIconIsGoneAndTheNextRefreshAddsIt) {
  GiveIcon();
  ASSERT_TRUE(Icon->IconAdded());
  ShellAccepts = false;
  Calls.clear();
  GiveIcon();
  EXPECT_EQ(Actions(), std::vector<DWORD>{NIM_MODIFY});
  EXPECT_FALSE(Icon->IconAdded());
  Calls.clear();
  EXPECT_FALSE(Icon->ShowBalloon(L"Драйвер", L"текст"));
  EXPECT_TRUE(Calls.empty()) << "a balloon was asked of an icon the shell does not hold";

  ShellAccepts = true;
  Icon->RefreshTrayIcon();
  EXPECT_EQ(Actions(), (std::vector<DWORD>{NIM_DELETE, NIM_ADD}));
  EXPECT_TRUE(Icon->IconAdded());
}

TEST_F(TrayIconTest, OtherMessagesGoToDefaultProcedure) {
  wchar_t text[8] = L"x";
  EXPECT_EQ(SendMessageW(Icon->MessageWindow(), WM_GETTEXT, 8, reinterpret_cast<LPARAM>(text)), 0);
  EXPECT_STREQ(text, L"");
}

}  // namespace
