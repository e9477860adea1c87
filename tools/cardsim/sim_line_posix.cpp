#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "tools/cardsim/sim_line.h"
#include "tools/cardsim/sim_run.h"

namespace cardsim {

namespace {

class TTtyLine final : public TSimLine {
 public:
  explicit TTtyLine(int fd) : Fd_(fd) {}
  ~TTtyLine() override { close(Fd_); }
  TTtyLine(const TTtyLine&) = delete;
  TTtyLine& operator=(const TTtyLine&) = delete;

  bool Write(std::span<const std::uint8_t> bytes) override {
    while (!bytes.empty()) {
      const ssize_t written = write(Fd_, bytes.data(), bytes.size());
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return false;
      bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return tcdrain(Fd_) == 0;
  }

 private:
  int Fd_;
};

}  // namespace

std::unique_ptr<TSimLine> TSimLine::Open(const std::string& port, std::string& error) {
  const int fd = open(port.c_str(), O_RDWR | O_NOCTTY);
  if (fd < 0) {
    error = std::strerror(errno);
    return nullptr;
  }
  auto line = std::make_unique<TTtyLine>(fd);
  termios settings{};
  if (tcgetattr(fd, &settings) != 0) {
    error = std::string("not a terminal: ") + std::strerror(errno);
    return nullptr;
  }
  cfmakeraw(&settings);
  cfsetispeed(&settings, B19200);
  cfsetospeed(&settings, B19200);
  settings.c_cflag &= ~(PARENB | CSTOPB | CRTSCTS);
  settings.c_cflag |= CS8 | CLOCAL | CREAD;
  if (tcsetattr(fd, TCSANOW, &settings) != 0) {
    error = std::strerror(errno);
    return nullptr;
  }
  return line;
}

}  // namespace cardsim

int main(int argc, char** argv) { return cardsim::Run({argv + 1, argv + argc}); }
