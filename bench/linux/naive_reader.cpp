// The simplest reader there is, for the benchmark to measure against: it blocks in read() on
// the device until a frame's five bytes are in and types the 40-bit number through libxdo,
// key by key with the same pause as the program. Run as: naive_reader DEVICE
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdint>
#include <string>

#include "reader/card_typing_linux.h"

extern "C" {
#include <xdo.h>
}

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const int fd = open(argv[1], O_RDWR | O_NOCTTY);
  if (fd < 0) return 1;
  termios line{};
  tcgetattr(fd, &line);
  cfmakeraw(&line);
  line.c_cc[VMIN] = 1;
  line.c_cc[VTIME] = 0;
  tcsetattr(fd, TCSANOW, &line);
  xdo_t* xdo = xdo_new(nullptr);
  if (xdo == nullptr) return 1;
  std::uint8_t frame[5];
  std::size_t have = 0;
  for (;;) {
    const ssize_t got = read(fd, frame + have, sizeof frame - have);
    if (got <= 0) break;
    have += static_cast<std::size_t>(got);
    if (have < sizeof frame) continue;
    have = 0;
    std::uint64_t code = 0;
    for (const std::uint8_t byte : frame) code = code << 8 | byte;
    for (const char digit : std::to_string(code)) {
      const char key[2] = {digit, '\0'};
      xdo_send_keysequence_window(xdo, CURRENTWINDOW, key, kKeyPauseUs);
    }
  }
  xdo_free(xdo);
  return 0;
}
