#include "tests/e2e/virtual_display.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace e2e {

VirtualDisplay::VirtualDisplay(int width, int height) : width_(width), height_(height) {
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) throw HarnessError("no pipe for Xvfb");
  const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  try {
    server_ = std::make_unique<ChildProcess>(
        ChildOptions{{"/usr/bin/Xvfb", "-displayfd", std::to_string(pipeEnds[1]), "-screen", "0",
                      screen, "-nolisten", "tcp", "-noreset"},
                     {},
                     {},
                     pipeEnds[1]});
  } catch (...) {
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    throw;
  }
  close(pipeEnds[1]);

  // Xvfb writes the number and a line end once it accepts connections.
  std::string number;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!number.ends_with('\n') && std::chrono::steady_clock::now() < deadline) {
    pollfd readable{pipeEnds[0], POLLIN, 0};
    if (poll(&readable, 1, 100) <= 0) continue;
    char c = 0;
    const ssize_t n = read(pipeEnds[0], &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    number += c;
  }
  close(pipeEnds[0]);
  if (!number.ends_with('\n')) throw HarnessError("Xvfb did not start");
  number.pop_back();
  name_ = ":" + number;
}

}  // namespace e2e
