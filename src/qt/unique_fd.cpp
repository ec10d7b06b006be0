#include "qt/unique_fd.h"

#include <unistd.h>

namespace harumado::qt {

bool UniqueFd::reset(int fd) {
  bool closed = true;
  if (fd_ >= 0) closed = ::close(fd_) == 0;
  fd_ = fd;
  return closed;
}

}  // namespace harumado::qt
