// For the Linux program's harness: a speech-dispatcher of its own that records what it is asked
// to speak instead of making a sound.
//   harumado-speech-recorder    prints "<address for SPEECHD_ADDRESS> <file of the records>"
//                               once the server listens, and ends it (its folder removed) on
//                               SIGTERM or SIGINT
// Each record is "voice|rate|volume|text" ended by the byte 0x1E.
#include <pthread.h>
#include <signal.h>

#include <csignal>
#include <cstdio>
#include <stdexcept>

#include "support/linux/speechd_session.h"

int main() {
  sigset_t ending;
  sigemptyset(&ending);
  sigaddset(&ending, SIGTERM);
  sigaddset(&ending, SIGINT);
  // Blocked before the server starts, so that an early signal waits for sigwait below and the
  // session's destructor always runs.
  pthread_sigmask(SIG_BLOCK, &ending, nullptr);
  try {
    harumado::test_support::SpeechdSession session;
    std::printf("%s %s\n", session.Address().c_str(), session.SpokenPath().c_str());
    std::fflush(stdout);
    int signal = 0;
    sigwait(&ending, &signal);
  } catch (const std::runtime_error& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
