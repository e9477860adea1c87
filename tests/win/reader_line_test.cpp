// The platform's facts behind the line watch: a fresh open of a held port under Wine, the
// system's device notice records, and the reader thread's notice to the main window.
#include <gtest/gtest.h>
#include <windows.h>
#include <dbt.h>

#include <array>
#include <atomic>
#include <cstddef>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "reader/dev_th_win.h"
#include "reader/line_watch_win.h"
#include "reader/port_state.h"
#include "reader/uart.h"
#include "tests/support/rig_port_control.h"

namespace {

// --- presence of a held port (COM2 a pair, COM3 leading nowhere) ---------------------------

TEST(LineFacts, HeldPortIsPresentGoneWithItsPairAndPresentOnceItIsBack) {
  TUart held(PortDevicePath(2));
  ASSERT_FALSE(held.Closed);
  EXPECT_EQ(ProbeHeldPort(held.PortName), TPresence::Present);
  EXPECT_EQ(ProbeHeldPort(PortDevicePath(3)), TPresence::Gone);

  ASSERT_EQ(rig::TakeAway(2), rig::Ok("down", 2));
  EXPECT_EQ(ProbeHeldPort(held.PortName), TPresence::Gone);
  ASSERT_EQ(rig::BringBack(2), rig::Ok("up", 2));
  EXPECT_EQ(ProbeHeldPort(held.PortName), TPresence::Present);
}

TEST(LineFacts, ProbingLeavesTheHeldPortWorking) {
  TUart held(PortDevicePath(2));
  ASSERT_FALSE(held.Closed);
  for (int i = 0; i < 10; ++i) ProbeHeldPort(held.PortName);
  TUart farEnd(PortDevicePath(202));
  ASSERT_FALSE(farEnd.Closed);
  const std::vector<std::uint8_t> bytes{1, 2, 3};
  ASSERT_TRUE(farEnd.Send(bytes));
  std::array<std::uint8_t, kPortReadSize> buffer{};
  std::uint32_t count = 0;
  ASSERT_TRUE(WaitUntil([&] { return held.Receive(buffer, count) && count == 3; }, 5000));
  EXPECT_EQ(std::memcmp(buffer.data(), bytes.data(), 3), 0);
}

// --- device notice records -----------------------------------------------------------------

// A port record as the system builds it: the header, then the name and its terminator.
std::vector<std::byte> PortRecord(const std::wstring& name, DWORD type = DBT_DEVTYP_PORT) {
  const std::size_t size = offsetof(DEV_BROADCAST_PORT_W, dbcp_name) + (name.size() + 1) * 2;
  std::vector<std::byte> record(size);
  auto* port = reinterpret_cast<DEV_BROADCAST_PORT_W*>(record.data());
  port->dbcp_size = static_cast<DWORD>(size);
  port->dbcp_devicetype = type;
  std::memcpy(port->dbcp_name, name.c_str(), (name.size() + 1) * 2);
  return record;
}

LPARAM Address(std::vector<std::byte>& record) { return reinterpret_cast<LPARAM>(record.data()); }

TEST(DeviceNotice, PortArrivalAndRemovalGiveTheName) {
  auto com2 = PortRecord(L"COM2");
  auto com12 = PortRecord(L"COM12");
  const auto removed = PortDeviceNotice(DBT_DEVICEREMOVECOMPLETE, Address(com2));
  ASSERT_TRUE(removed);
  EXPECT_EQ(removed->Event, TDeviceEvent::Removed);
  EXPECT_EQ(removed->Name, L"COM2");
  const auto arrived = PortDeviceNotice(DBT_DEVICEARRIVAL, Address(com12));
  ASSERT_TRUE(arrived);
  EXPECT_EQ(arrived->Event, TDeviceEvent::Arrived);
  EXPECT_EQ(arrived->Name, L"COM12");
}

TEST(DeviceNotice, OtherEventsDevicesAndEmptyRecordsAreNone) {
  auto port = PortRecord(L"COM2");
  auto volume = PortRecord(L"COM2", DBT_DEVTYP_VOLUME);
  EXPECT_FALSE(PortDeviceNotice(DBT_DEVICEQUERYREMOVE, Address(port)));
  EXPECT_FALSE(PortDeviceNotice(DBT_DEVICEREMOVEPENDING, Address(port)));
  EXPECT_FALSE(PortDeviceNotice(DBT_DEVNODES_CHANGED, 0));
  EXPECT_FALSE(PortDeviceNotice(DBT_DEVICEARRIVAL, Address(volume)));
  EXPECT_FALSE(PortDeviceNotice(DBT_DEVICEREMOVECOMPLETE, 0));
}

TEST(DeviceNotice, NameEndsWithTheRecordWhenItHasNoTerminator) {
  auto record = PortRecord(L"COM7");
  auto* port = reinterpret_cast<DEV_BROADCAST_PORT_W*>(record.data());
  port->dbcp_size -= 2;  // the terminator lies outside the record
  port->dbcp_name[4] = L'9';
  const auto notice = PortDeviceNotice(DBT_DEVICEARRIVAL, Address(record));
  ASSERT_TRUE(notice);
  EXPECT_EQ(notice->Name, L"COM7");
}

// --- the reader's notice ---------------------------------------------------------------------

constexpr UINT kNoticeMessage = WM_APP + 77;

// A port that always has something to read, and whose reads fail with the error given, or
// throw; with no error its reads find nothing, every 10 ms.
class TFailingPort final : public TReaderPort {
 public:
  explicit TFailingPort(std::optional<DWORD> error) : Error_(error) {}
  TPortWake Wait(std::optional<std::chrono::milliseconds>, const TStopSignal& stop) override {
    return WaitForSingleObject(stop.Handle(), 10) == WAIT_OBJECT_0 ? TPortWake::Stop
                                                                   : TPortWake::Bytes;
  }
  bool Receive(std::span<std::uint8_t, kPortReadSize>, std::uint32_t& count) override {
    ++Reads;
    if (!Error_) throw std::runtime_error("the port broke");
    if (*Error_ == ERROR_SUCCESS) count = 0;
    return *Error_ == ERROR_SUCCESS;
  }
  void Purge() override {}
  std::uint32_t LastReadError() const override { return Error_.value_or(0); }

  std::atomic<int> Reads{0};

 private:
  std::optional<DWORD> Error_;
};

// A window that only receives messages, for the reader to post to.
class ReaderNotice : public testing::Test {
 protected:
  void SetUp() override {
    Window_.Reset(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  nullptr, nullptr));
    ASSERT_TRUE(Window_.Valid());
  }
  void TearDown() override { ReaderThread.Stop(); }

  TReaderNotice Notice() const { return {Window_.Get(), kNoticeMessage}; }

  // The numbers of the notices posted before this call, once the reader has ended: a
  // fence notice posted now comes after all of them.
  std::vector<WPARAM> NoticesOfTheEndedReader() const {
    PostMessageW(Window_.Get(), kNoticeMessage, kFence, 0);
    std::vector<WPARAM> numbers;
    MSG message;
    while (PeekMessageW(&message, Window_.Get(), kNoticeMessage, kNoticeMessage, PM_REMOVE)) {
      if (message.wParam == kFence) return numbers;
      numbers.push_back(message.wParam);
    }
    return {kFence};  // the fence went missing
  }

  static constexpr WPARAM kFence = 0xFE11CE;
  TUniqueWindow Window_;
};

struct TEndCase {
  const char* Name;
  std::optional<DWORD> Error;
};

class ReaderEndsOnItsOwn : public ReaderNotice, public testing::WithParamInterface<TEndCase> {};

TEST_P(ReaderEndsOnItsOwn, PostsOneNoticeWithItsNumberAndEnds) {
  TFailingPort port(GetParam().Error);
  const auto reader = TDevTh::Create(&port, Notice(), 41);
  ASSERT_TRUE(reader);
  reader->Resume();
  ASSERT_EQ(WaitForSingleObject(reader->Handle(), 5000), WAIT_OBJECT_0)
      << "the reader kept running";
  EXPECT_EQ(NoticesOfTheEndedReader(), std::vector<WPARAM>{41}) << "one notice, and only one";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ReaderEndsOnItsOwn,
    testing::Values(TEndCase{"ReadsSayTheAdapterWasPulled", ERROR_ACCESS_DENIED},
                    TEndCase{"ReadsKeepFailing", ERROR_OPERATION_ABORTED},
                    TEndCase{"ThePortThrows", std::nullopt}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ReaderNotice, AReaderStoppedByTheGuiThreadSaysNothing) {
  TFailingPort port(ERROR_SUCCESS);
  const auto reader = TDevTh::Create(&port, Notice(), 5);
  ASSERT_TRUE(reader);
  reader->Resume();
  // Reads that find nothing keep it going until it is told to stop.
  ASSERT_TRUE(WaitUntil([&] { return port.Reads >= 3; }, 5000));
  EXPECT_EQ(WaitForSingleObject(reader->Handle(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  reader->Terminate();
  reader->WaitFor();
  EXPECT_TRUE(NoticesOfTheEndedReader().empty());
}

TEST_F(ReaderNotice, EachStartedReaderHasANewNumber) {
  EXPECT_EQ(ReaderThread.RunningNumber(), 0u);
  StartReader(Notice());
  const std::uint32_t first = ReaderThread.RunningNumber();
  StartReader(Notice());
  const std::uint32_t second = ReaderThread.RunningNumber();
  EXPECT_NE(first, 0u);
  EXPECT_NE(second, first);
  ReaderThread.Stop();
  EXPECT_EQ(ReaderThread.RunningNumber(), 0u);
}

}  // namespace
