// The icon's balloon as the shell is asked for it: a modify of the whole record with the
// balloon's members added to the icon's own, shown once, and only while the shell holds the
// icon.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/tray/tray_icon_win.h"

namespace {

struct TShellCall {
  DWORD Action;
  NOTIFYICONDATAW Record;
};

class TrayBalloonTest : public testing::Test {
 protected:
  void SetUp() override {
    Icon = std::make_unique<TTrayIcon>(L"Драйвер контрольного считывателя", nullptr, nullptr);
    Icon->ShellNotify = [this](DWORD action, NOTIFYICONDATAW& record) {
      Calls.push_back({action, record});
      return action != NIM_DELETE && ShellAccepts;
    };
    Icon->Loaded();
  }
  void GiveIcon() { Icon->SetIcon(TUniqueIcon(CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)))); }

  bool ShellAccepts = true;
  std::vector<TShellCall> Calls;
  std::unique_ptr<TTrayIcon> Icon;
};

TEST_F(TrayBalloonTest, IsOneModifyWithTheIconsOwnMembersKept) {
  GiveIcon();
  Calls.clear();
  ASSERT_TRUE(Icon->ShowBalloon(L"Драйвер контрольного считывателя",
                                L"Номер карты не введён: 305419896\nпричина"));
  ASSERT_EQ(Calls.size(), 1u);
  const NOTIFYICONDATAW& record = Calls.front().Record;
  EXPECT_EQ(Calls.front().Action, static_cast<DWORD>(NIM_MODIFY));
  // The icon's own members as an add gives them (TrayIconTest), the balloon's added.
  EXPECT_EQ(record.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO));
  EXPECT_EQ(record.hIcon, Icon->Icon());
  EXPECT_STREQ(record.szInfoTitle, L"Драйвер контрольного считывателя");
  EXPECT_STREQ(record.szInfo, L"Номер карты не введён: 305419896\nпричина");
  EXPECT_EQ(record.dwInfoFlags, static_cast<DWORD>(NIIF_WARNING | NIIF_NOSOUND));

  Calls.clear();
  Icon->SetHint(L"Другая подсказка");
  ASSERT_EQ(Calls.size(), 1u);
  EXPECT_EQ(Calls.front().Record.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP))
      << "a later change shows the balloon again";
}

TEST_F(TrayBalloonTest, AnIconTheShellDoesNotHoldShowsNone) {
  ShellAccepts = false;
  GiveIcon();
  ASSERT_FALSE(Icon->IconAdded());
  Calls.clear();
  EXPECT_FALSE(Icon->ShowBalloon(L"Драйвер", L"текст"));
  EXPECT_TRUE(Calls.empty());
}

TEST_F(TrayBalloonTest, ARefusedBalloonIsSaid) {
  GiveIcon();
  ShellAccepts = false;
  EXPECT_FALSE(Icon->ShowBalloon(L"Драйвер", L"текст"));
}

}  // namespace
