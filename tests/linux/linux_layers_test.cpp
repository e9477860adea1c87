// The Linux layers against the real system: the settings file as the private-profile
// functions keep it, the serial line on a pseudo-terminal, the line's presence, and the
// single-copy name.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "core/autostart_linux.h"
#include "core/profile_file_posix.h"
#include "core/settings.h"
#include "core/settings_file_linux.h"
#include "core/single_copy_linux.h"
#include "reader/line_watch_linux.h"
#include "reader/serial_ports_linux.h"
#include "reader/stop_signal_linux.h"
#include "reader/uart.h"
#include "tests/linux/x_session.h"

namespace fs = std::filesystem;

namespace {

std::string Contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A pseudo-terminal made here: the slave is the reader's device, the master its far end.
class TPty {
 public:
  TPty() {
    Master = posix_openpt(O_RDWR | O_NOCTTY);
    grantpt(Master);
    unlockpt(Master);
    Slave = ptsname(Master);
  }
  ~TPty() {
    if (Master >= 0) close(Master);
  }
  void CloseFarEnd() {
    close(Master);
    Master = -1;
  }
  int Master = -1;
  std::string Slave;
};

std::uint32_t ReadWithin(TUart& port, std::array<std::uint8_t, kPortReadSize>& into,
                         std::size_t wanted) {
  std::uint32_t count = 0;
  WaitUntil([&] { return port.Receive(into, count) && count >= wanted; }, 2s);
  return count;
}

}  // namespace

TEST(ProfileFile, KeepsTheFileAsThePrivateProfileFunctionsDo) {
  TScratch scratch;
  const fs::path file = fs::path(scratch.Path()) / "Lintavo.ini";
  std::ofstream(file)
      << "; the operator's note\r\n[settings]\r\nportnumber = 7 \r\n\r\n[Place]\r\nFlags=0\r\n";
  TProfileFile store;
  const std::wstring name = file.wstring();
  EXPECT_EQ(store.Read(name, L"SETTINGS", L"PortNumber", L"x"), L"7")
      << "names in any case, blanks dropped";
  EXPECT_EQ(store.Read(name, L"SETTINGS", L"ReaderType", L"x"), L"x");
  EXPECT_EQ(store.Read(name, L"Missing", L"Flags", L"x"), L"x");
  ASSERT_TRUE(store.Write(name, L"SETTINGS", L"PortNumber", L"9"));
  ASSERT_TRUE(store.Write(name, L"SETTINGS", L"PortDevice", L"/dev/serial/by-id/usb-Б"));
  ASSERT_TRUE(store.Write(name, L"OUTPUT", L"Format", L"1"));
  EXPECT_EQ(
      Contents(file),
      "; the operator's "
      "note\r\n[settings]\r\nPortNumber=9\r\nPortDevice=/dev/serial/by-id/usb-\xD0\x91\r\n\r\n"
      "[Place]\r\nFlags=0\r\n[OUTPUT]\r\nFormat=1\r\n");
  EXPECT_EQ(store.Read(name, L"SETTINGS", L"PortDevice", L""), L"/dev/serial/by-id/usb-Б");
}

TEST(ProfileFile, AFailedWriteLeavesTheFileAsItWas) {
  TScratch scratch;
  TProfileFile store;
  const fs::path missing = fs::path(scratch.Path()) / "no-folder" / "Lintavo.ini";
  EXPECT_FALSE(store.Write(missing.wstring(), L"SETTINGS", L"CheckExit", L"1"));
  EXPECT_FALSE(fs::exists(missing));
}

TEST(SerialLine, ReadsFramesHoldsTheDeviceAndSeesItGo) {
  TPty pty;
  TUart port(pty.Slave);
  ASSERT_FALSE(port.Closed) << "status " << port.Status;
  std::array<std::uint8_t, kPortReadSize> received{};
  std::uint32_t count = 99;
  ASSERT_TRUE(port.Receive(received, count));
  EXPECT_EQ(count, 0u) << "a read with nothing buffered";

  const std::uint8_t frame[] = {0x00, 0x12, 0x34, 0x56, 0x78};
  ASSERT_EQ(write(pty.Master, frame, sizeof frame), 5);
  ASSERT_EQ(ReadWithin(port, received, 5), 5u);
  EXPECT_EQ(received[1], 0x12);
  EXPECT_EQ(received[4], 0x78);

  TUart second(pty.Slave);
  EXPECT_TRUE(second.Closed) << "a second open of a held device";
  EXPECT_EQ(second.Status, TUart::kOpenFailed);
  EXPECT_EQ(ProbeHeldPort(pty.Slave), TPresence::Present);

  pty.CloseFarEnd();
  EXPECT_FALSE(port.Receive(received, count));
  EXPECT_TRUE(ReadErrorMeansGone(port.LastReadError())) << "error " << port.LastReadError();
}

// The reader's wait: bytes wake it, a limit passes quiet, a raised stop wins over bytes
// waiting, and a far end that goes away ends it as a lost line at once.
TEST(SerialLine, TheWaitWakesForBytesTheStopAndTheLinesLoss) {
  TPty pty;
  TUart port(pty.Slave);
  ASSERT_FALSE(port.Closed) << "status " << port.Status;
  const TStopSignal stop;
  ASSERT_TRUE(stop.Valid());
  EXPECT_EQ(port.Wait(20ms, stop), TPortWake::Quiet);
  const std::uint8_t frame[] = {0x00, 0x12, 0x34, 0x56, 0x78};
  ASSERT_EQ(write(pty.Master, frame, sizeof frame), 5);
  EXPECT_EQ(port.Wait(2s, stop), TPortWake::Bytes);
  stop.Raise();
  EXPECT_EQ(port.Wait(2s, stop), TPortWake::Stop) << "the stop wins over the bytes";

  const TStopSignal fresh;
  std::array<std::uint8_t, kPortReadSize> received{};
  ASSERT_EQ(ReadWithin(port, received, 5), 5u);
  pty.CloseFarEnd();
  EXPECT_EQ(port.Wait(2s, fresh), TPortWake::Lost);
  EXPECT_TRUE(ReadErrorMeansGone(port.LastReadError())) << "error " << port.LastReadError();
}

TEST(SerialLine, ANameThatLeadsNowhereIsGoneAndNoPortOpens) {
  TScratch scratch;
  const std::string missing = scratch.Path() + "/reader";
  EXPECT_EQ(ProbeHeldPort(missing), TPresence::Gone);
  TUart port(missing);
  EXPECT_TRUE(port.Closed);
  EXPECT_EQ(port.Status, TUart::kOpenFailed);
  TUart none("");
  EXPECT_TRUE(none.Closed);
  fs::create_symlink("/dev/null", missing);
  EXPECT_EQ(ResolvedDevicePath(missing), "/dev/null");
  EXPECT_EQ(ResolvedDevicePath(scratch.Path() + "/other"), "");
}

// Another local user cannot keep the program from starting by taking its name first, and a
// copy that did not end cleanly leaves nothing that keeps the next one out.
TEST(SingleCopy, NeitherASquatterNorALeftSocketKeepsItOut) {
  TScratch scratch;
  setenv("DISPLAY", ":lintavo-squatted", 1);
  setenv("XDG_RUNTIME_DIR", scratch.Path().c_str(), 1);
  // A name of the abstract namespace, which every user shares, made from what anyone can
  // know: the section, the user's id, the display.
  const int squatter = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un abstract{};
  abstract.sun_family = AF_UNIX;
  const std::string shared = std::string(1, '\0') + "QVM_TESSARIN_CTRL_READER_DRIVER." +
                             std::to_string(getuid()) + ".:lintavo-squatted";
  std::memcpy(abstract.sun_path, shared.data(), shared.size());
  ASSERT_EQ(bind(squatter, reinterpret_cast<sockaddr*>(&abstract),
                 static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + shared.size())), 0);
  listen(squatter, 1);
  // The socket file of a copy that was killed.
  const pid_t killed = fork();
  if (killed == 0) _exit(IsFirstInstance() ? 0 : 1);
  int status = 0;
  waitpid(killed, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_FALSE(fs::is_empty(scratch.Path())) << "no socket in the runtime folder";
  const pid_t next = fork();
  if (next == 0) _exit(IsFirstInstance() ? 0 : 1);
  waitpid(next, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the next copy was kept out";
  close(squatter);
  unsetenv("XDG_RUNTIME_DIR");
}

// The second copy is another process, as it is at a second launch.
TEST(SingleCopy, ASecondCopyIsRefusedAndCallsTheFirst) {
  setenv("DISPLAY", ":lintavo-single-copy-test", 1);
  ASSERT_TRUE(IsFirstInstance());
  const pid_t second = fork();
  if (second == 0) _exit(!IsFirstInstance() && CallFirstInstance() ? 0 : 1);
  int status = 0;
  waitpid(second, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << "the second copy was not refused or could not call";
  EXPECT_TRUE(WaitUntil([] { return TakeSecondCopyCall(); }, 2s)) << "the first copy heard no call";
  setenv("DISPLAY", ":lintavo-single-copy-other", 1);
  const pid_t elsewhere = fork();
  if (elsewhere == 0) _exit(IsFirstInstance() ? 0 : 1);
  waitpid(elsewhere, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << "another display runs a copy of its own";
}

// The settings file travels between the two programs: the device has a key of its own and
// the Windows program's port number stays as the file had it.
TEST(SettingsFile, KeepsThePortNumberAndAddsTheDevice) {
  TScratch scratch;
  const fs::path file = fs::path(scratch.Path()) / "lintavo" / "Lintavo.ini";
  setenv("XDG_CONFIG_HOME", scratch.Path().c_str(), 1);
  EXPECT_EQ(SettingsDirectory(), scratch.Path() + "/lintavo/");
  SettingsFileName = file.wstring();
  LoadSettings();
  EXPECT_EQ(PortDevice, "") << "no file: no device";
  fs::create_directories(file.parent_path());
  std::ofstream(file) << "[SETTINGS]\nPortNumber=7\nReaderType=1\nPortDevice=/dev/ttyUSB0\n";
  LoadSettings();
  EXPECT_EQ(PortDevice, "/dev/ttyUSB0");
  EXPECT_EQ(Settings.PortNumber, 7);
  PortDevice = "/dev/serial/by-id/usb-FTDI_A1-if00-port0";
  Settings.CheckExit = false;
  ASSERT_TRUE(SaveSettings());
  EXPECT_EQ(Contents(file),
            "[SETTINGS]\nPortNumber=7\nReaderType=1\nPortDevice=/dev/serial/by-id/"
            "usb-FTDI_A1-if00-port0\n"
            "MinimizeOnRun=1\nCheckExit=0\nRunOnlyOneCopy=1\n");
}

// The installed program is started by its name, one run from a build by its path; an entry
// the desktop switched off is off, and switching it on again makes it the program's own.
TEST(Autostart, TheEntryIsTheSetting) {
  TScratch scratch;
  setenv("XDG_CONFIG_HOME", scratch.Path().c_str(), 1);
  setenv("PATH", "/usr/local/bin:/usr/bin:/bin", 1);
  const fs::path path = fs::path(scratch.Path()) / "autostart" / "lintavo.desktop";
  EXPECT_FALSE(AutostartEnabled());
  ASSERT_TRUE(SetAutostart(true, "/usr/bin/lintavo"));
  EXPECT_TRUE(AutostartEnabled());
  EXPECT_NE(Contents(path).find("\nExec=lintavo\n"), std::string::npos) << Contents(path);
  ASSERT_TRUE(SetAutostart(true, "/home/op/build/linux/bin/lintavo"));
  EXPECT_NE(Contents(path).find("\nExec=\"/home/op/build/linux/bin/lintavo\"\n"), std::string::npos)
      << Contents(path);
  for (const char* off : {"Hidden=true\n", "X-GNOME-Autostart-enabled=false\n"}) {
    std::ofstream(path) << "[Desktop Entry]\nType=Application\nExec=lintavo\n" << off;
    EXPECT_FALSE(AutostartEnabled()) << off;
    ASSERT_TRUE(SetAutostart(true, "/usr/bin/lintavo"));
    EXPECT_TRUE(AutostartEnabled()) << off;
  }
  ASSERT_TRUE(SetAutostart(false, "/usr/bin/lintavo"));
  EXPECT_FALSE(AutostartEnabled());
}

// The setup dialog's list comes from what the system publishes and opens nothing: a port
// another program holds is listed and left as it was, not exclusive, so an ordinary user
// still opens it after the dialog; a ttyS without a UART is left out; a port a terminal
// program has locked is busy.
TEST(SerialPorts, ListedWithoutOpeningAny) {
  TScratch scratch;
  const fs::path root = scratch.Path();
  const TDeviceFolders folders{(root / "dev").string(), (root / "sys").string(),
                               (root / "lock").string()};
  for (const char* folder : {"dev/serial/by-id", "sys/ttyS0", "sys/ttyS1", "lock"})
    fs::create_directories(root / folder);
  TPty held;
  const int other = open(held.Slave.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(other, 0);
  fs::create_symlink(held.Slave, root / "dev/ttyUSB0");
  fs::create_symlink(held.Slave, root / "dev/serial/by-id/usb-FTDI_A1-if00-port0");
  fs::create_symlink("/dev/null", root / "dev/ttyS0");
  std::ofstream(root / "sys/ttyS0/type") << "0\n";
  fs::create_symlink("/dev/null", root / "dev/ttyS1");
  std::ofstream(root / "sys/ttyS1/type") << "4\n";
  fs::create_symlink("/dev/null", root / "dev/ttyACM0");
  std::ofstream(root / "lock/LCK..ttyACM0") << "      " << getpid() << "\n";

  const std::vector<TSerialDevice> expected{
      {folders.Devices + "/ttyACM0", "", true, false},
      {folders.Devices + "/ttyS1", "", false, false},
      {folders.Devices + "/ttyUSB0", folders.Devices + "/serial/by-id/usb-FTDI_A1-if00-port0",
       false, false}};
  EXPECT_EQ(ListSerialDevices("", folders), expected);
  // The flag an ordinary user's open is refused by (root's is not, so it is read, not tried).
  int exclusive = -1;
  ASSERT_EQ(ioctl(other, TIOCGEXCL, &exclusive), 0);
  EXPECT_EQ(exclusive, 0) << "the listing left the other program's port exclusive";
  close(other);
}
