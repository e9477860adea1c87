// The decisions the Linux edition adds: which serial devices are listed and how they are
// named and stored, the setup list's rows, whether the session lets a program type, and the
// UTF-8 of file names and files.
#include <gtest/gtest.h>

#include "core/utf8_text.h"
#include "reader/serial_device.h"
#include "reader/typing_session.h"
#include "ui/setup/device_list.h"

TEST(SerialDeviceNames, ListedAreTheReaderPortsOnly) {
  for (const char* name : {"ttyS0", "ttyS31", "ttyUSB0", "ttyUSB12", "ttyACM3"}) {
    EXPECT_TRUE(IsListedSerialName(name)) << name;
  }
  for (const char* name : {"tty0", "tty1", "ttyS", "ttyUSB", "ttyUSBx", "ttyS0a", "ttyAMA0", "pts",
                           "ttyUSB12345", "xttyS0"}) {
    EXPECT_FALSE(IsListedSerialName(name)) << name;
  }
}

TEST(SerialDeviceNames, StoredByTheStableNameWhereThereIsOne) {
  EXPECT_EQ(StoredNameOf({"/dev/ttyUSB0", "/dev/serial/by-id/usb-FTDI_A1-if00-port0", false}),
            "/dev/serial/by-id/usb-FTDI_A1-if00-port0");
  EXPECT_EQ(StoredNameOf({"/dev/ttyS0", "", false}), "/dev/ttyS0");
}

TEST(SerialDeviceNames, ShownByTheDeviceItLeadsTo) {
  EXPECT_EQ(ShownPortName("/dev/serial/by-id/usb-FTDI_A1-if00-port0", "/dev/ttyUSB0"), "ttyUSB0");
  EXPECT_EQ(ShownPortName("/tmp/reader", "/dev/pts/3"), "pts/3");
  // A name that leads nowhere (the adapter is out) is shown by its last part.
  EXPECT_EQ(ShownPortName("/dev/serial/by-id/usb-FTDI_A1-if00-port0", ""),
            "usb-FTDI_A1-if00-port0");
  EXPECT_EQ(ShownPortName("/dev/ttyUSB1", "/dev/"), "ttyUSB1");
  EXPECT_EQ(DeviceRowName({"/dev/ttyUSB0", "/dev/serial/by-id/usb-FTDI_A1-if00-port0", false}),
            "ttyUSB0 (usb-FTDI_A1-if00-port0)");
  EXPECT_EQ(DeviceRowName({"/dev/ttyS0", "", false}), "ttyS0");
}

TEST(SerialDeviceNames, ReopenedForAnotherDeviceOrOneNotOpen) {
  EXPECT_FALSE(ReopenDeviceAfterSetup("/dev/ttyS0", "/dev/ttyS0", true));
  EXPECT_TRUE(ReopenDeviceAfterSetup("/dev/ttyS0", "/dev/ttyS0", false));
  EXPECT_TRUE(ReopenDeviceAfterSetup("/dev/ttyS0", "/dev/ttyUSB0", true));
  EXPECT_TRUE(ReopenDeviceAfterSetup("/dev/ttyS0", "", true));
}

TEST(TypingSessions, OnlyAnX11SessionTypes) {
  struct TRow {
    const char* Wayland;
    const char* Type;
    bool XOpens;
    TTypingSession Session;
  };
  const TRow rows[] = {
      {"", "x11", true, TTypingSession::X11},
      {"", "", true, TTypingSession::X11},
      // Xwayland's display opens, but what is typed there reaches only X programs.
      {"wayland-0", "wayland", true, TTypingSession::Wayland},
      {"wayland-0", "wayland", false, TTypingSession::Wayland},
      // A Wayland display left in an X11 session's environment does not count.
      {"wayland-0", "x11", true, TTypingSession::X11},
      {"wayland-0", "", false, TTypingSession::Wayland},
      {"", "tty", false, TTypingSession::NoDisplay},
  };
  for (const TRow& row : rows) {
    EXPECT_EQ(TypingSessionOf(row.Wayland, row.Type, row.XOpens), row.Session)
        << row.Wayland << "/" << row.Type << "/" << row.XOpens;
  }
}

namespace {
const std::vector<TSerialDevice> kPresent{
    {"/dev/ttyS0", "", false, false},
    {"/dev/ttyUSB0", "/dev/serial/by-id/usb-FTDI_A1-if00-port0", false, false},
    {"/dev/ttyUSB1", "", true, false},
};
}  // namespace

TEST(SetupDeviceRows, TheReadersOwnDeviceFirstThenThoseFound) {
  const TDeviceRows rows =
      BuildDeviceRows("/dev/serial/by-id/usb-FTDI_Z9-if00-port0", "ttyUSB7", true, kPresent);
  ASSERT_EQ(rows.Items.size(), 4u);
  EXPECT_EQ(rows.Items[0].Text, L"ttyUSB7 - занят сервером, норма");
  EXPECT_TRUE(rows.Items[0].Checked && rows.Items[0].Enabled);
  EXPECT_EQ(rows.Items[1].Text, L"ttyS0");
  EXPECT_TRUE(!rows.Items[1].Checked && rows.Items[1].Enabled);
  EXPECT_EQ(rows.Items[2].Text, L"ttyUSB0 (usb-FTDI_A1-if00-port0)");
  EXPECT_EQ(rows.Names[2], "/dev/serial/by-id/usb-FTDI_A1-if00-port0");
  EXPECT_EQ(rows.Items[3].Text, L"ttyUSB1 - порт занят или отсутствует");
  EXPECT_FALSE(rows.Items[3].Enabled);
  EXPECT_EQ(CheckedDevice(rows), "/dev/serial/by-id/usb-FTDI_Z9-if00-port0");
}

TEST(SetupDeviceRows, AFailedDeviceIsCheckedButGreyedAndNeverListedTwice) {
  const TDeviceRows rows = BuildDeviceRows("/dev/ttyS0", "ttyS0", false, kPresent);
  ASSERT_EQ(rows.Items.size(), 3u);
  EXPECT_EQ(rows.Items[0].Text, L"ttyS0 - занят сервером, ошибка");
  EXPECT_TRUE(rows.Items[0].Checked);
  EXPECT_FALSE(rows.Items[0].Enabled);
  EXPECT_EQ(rows.Names[1], "/dev/serial/by-id/usb-FTDI_A1-if00-port0");
}

TEST(SetupDeviceRows, TheCheckListRulesChooseByRow) {
  TDeviceRows rows = BuildDeviceRows("", "", false, kPresent);
  ASSERT_EQ(rows.Items.size(), 3u);
  EXPECT_EQ(CheckedDevice(rows), "") << "no device is configured";
  // A greyed, busy device can be chosen by its row, as a busy COM port can.
  ClickRow(rows.Items, 2);
  EXPECT_EQ(CheckedDevice(rows), "/dev/ttyUSB1");
  EXPECT_FALSE(ToggleRow(rows.Items, 2));
  ClickRow(rows.Items, 1);
  EXPECT_TRUE(ToggleRow(rows.Items, 1));
  EXPECT_EQ(CheckedDevice(rows), "") << "Space on the checked row leaves none";
}

TEST(Utf8Text, RoundTripsAndKeepsStrayBytes) {
  const std::wstring text = L"Порт ttyUSB0 — €";
  EXPECT_EQ(WideOfUtf8(Utf8OfWide(text)), text);
  EXPECT_EQ(Utf8OfWide(L"Я"), "\xD0\xAF");
  EXPECT_EQ(WideOfUtf8("a\xFF"
                       "b"),
            std::wstring(L"a\u00FFb"));
  EXPECT_EQ(WideOfUtf8("\xD0"), std::wstring(L"\u00D0")) << "a sequence cut short";
}
