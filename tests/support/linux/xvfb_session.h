#pragma once
// An X server of the test's own (Xvfb) on a display that it picks itself among the free ones.
#include <memory>
#include <string>

#include "support/linux/child_process.h"

namespace harumado::test_support {

class XvfbSession {
 public:
  // Starts Xvfb and returns once it accepts clients (it writes its display number when it
  // does); throws std::runtime_error when it did not within the time.
  explicit XvfbSession(milliseconds timeout = milliseconds(15000));
  // Ends the server (and with it every client still connected to it).
  ~XvfbSession();
  XvfbSession(const XvfbSession&) = delete;
  XvfbSession& operator=(const XvfbSession&) = delete;

  // ":N", for DISPLAY.
  const std::string& display() const { return display_; }
  // The server's process.
  pid_t pid() const { return server_->pid(); }
  // "DISPLAY=:N", for ChildOptions::environment.
  std::string DisplayVariable() const { return "DISPLAY=" + display_; }

 private:
  TempDir folder_;
  std::unique_ptr<ChildProcess> server_;
  std::string display_;
};

}  // namespace harumado::test_support
