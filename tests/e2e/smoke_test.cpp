#include <gtest/gtest.h>

#include "tests/e2e/lintavo_instance.h"

TEST(Smoke, StartsAndShowsThePortOpen) {
  e2e::TLintavoInstance lintavo(L"smoke");
  lintavo.WriteIni("[SETTINGS]\r\nMinimizeOnRun=0\r\n");
  ASSERT_TRUE(lintavo.Start());
  ASSERT_NE(lintavo.MainWindow(), nullptr);
  EXPECT_TRUE(lintavo.WaitForPortLabel(L"COM2 - Порт открыт", 5000));
}
