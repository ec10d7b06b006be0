#include "support/linux/xvfb_session.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <stdexcept>

namespace harumado::test_support {
namespace {

// A descriptor above the ones a spawned child gets (0 to 3), closed on exec.
int HighDescriptor(int fd) {
  const int high = ::fcntl(fd, F_DUPFD_CLOEXEC, 10);
  ::close(fd);
  if (high < 0) throw std::runtime_error("fcntl failed");
  return high;
}

}  // namespace

XvfbSession::XvfbSession(milliseconds timeout) {
  int ends[2];
  if (::pipe(ends) != 0) throw std::runtime_error("pipe failed");
  const int read_end = HighDescriptor(ends[0]);
  const int write_end = HighDescriptor(ends[1]);
  ChildOptions options;
  options.log_path = folder_.path() + "/xvfb.log";
  options.pass_as_fd3 = write_end;
  try {
    server_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"Xvfb", "-displayfd", "3", "-nolisten", "tcp", "-screen", "0",
                                 "1280x1024x24", "-nolock"},
        options);
  } catch (...) {
    ::close(read_end);
    ::close(write_end);
    throw;
  }
  ::close(write_end);
  // The display number arrives as one line on the pipe once the server accepts clients.
  std::string number;
  bool complete = false;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!complete) {
    const auto left =
        std::chrono::duration_cast<milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd p{read_end, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
    char c = 0;
    if (::read(read_end, &c, 1) != 1) break;
    if (c == '\n') {
      complete = true;
    } else {
      number += c;
    }
  }
  ::close(read_end);
  if (!complete || number.empty()) {
    server_.reset();
    throw std::runtime_error("Xvfb did not start: " + ReadFile(options.log_path));
  }
  display_ = ":" + number;
}

XvfbSession::~XvfbSession() { server_.reset(); }

}  // namespace harumado::test_support
