#pragma once
// Reaching a LibreOffice over its pipe, and starting one that listens on it.
#include <sys/types.h>

#include <optional>
#include <string>

#include "calc/connection_lifetime.h"
#include "calc/uno_support.h"

namespace harumado::calc {

// The remote component context of the LibreOffice listening on the pipe, or nothing when none
// listens. The local UNO runtime is bootstrapped on first use.
Reference<css::uno::XComponentContext> ConnectToPipe(const std::string& pipe_name);

struct OfficeLaunch {
  std::string program;      // soffice
  std::string pipe_name;    // the pipe it is to listen on
  std::string profile_url;  // -env:UserInstallation, or empty for the user's profile
  bool headless = false;
};

// Starts LibreOffice as the leader of a process group of its own (so that its launcher and the
// office process can be ended together); its output goes to /dev/null. Nothing when it cannot be
// started.
std::optional<pid_t> StartOffice(const OfficeLaunch& launch);

// Waits, at most timeout_ms, for the started LibreOffice to answer on the pipe; nothing when it
// did not, or not within a few seconds after its process ended (a launcher that hands over to a
// running LibreOffice ends at once, and the pipe answers then).
Reference<css::uno::XComponentContext> WaitForPipe(const std::string& pipe_name, pid_t process,
                                                   int timeout_ms);

// Waits, at most timeout_ms, until nothing answers on the pipe; whether that came.
bool WaitUntilGone(const std::string& pipe_name, int timeout_ms);

// Collects the exit status of started processes that have ended (no zombies are left behind).
void ReapEnded(pid_t process);

}  // namespace harumado::calc
