#pragma once
// A speech-dispatcher of the test's own: its configuration, socket, logs and home in a folder
// of their own, with one output module that writes what it is asked to speak to a file instead
// of making a sound (and a sound output to ALSA's null device, for a machine without any).
#include <memory>
#include <string>
#include <vector>

#include "support/linux/child_process.h"

namespace harumado::test_support {

// One utterance as the recording module received it.
struct Utterance {
  std::string voice;   // the module's voice name ($VOICE)
  std::string rate;    // speech-dispatcher's -100..100, as the module formats it ("-100.00")
  std::string volume;  // likewise
  std::string text;
};

// Its module offers the voices "haruka" and "ichiro" (ja) and "david" (en), in this order.
class SpeechdSession {
 public:
  // Starts the server and returns once its socket is there; throws std::runtime_error when it
  // is not within the time.
  explicit SpeechdSession(milliseconds timeout = milliseconds(15000));
  ~SpeechdSession();
  SpeechdSession(const SpeechdSession&) = delete;
  SpeechdSession& operator=(const SpeechdSession&) = delete;

  // "unix_socket:PATH", for SPEECHD_ADDRESS.
  std::string Address() const { return "unix_socket:" + socket_; }
  // Waits until at least count utterances are recorded; all recorded ones, in order.
  std::vector<Utterance> WaitForUtterances(std::size_t count, milliseconds timeout) const;
  std::vector<Utterance> Utterances() const;
  // The file the module appends its records to (see Utterances), for a reader in another
  // process.
  const std::string& SpokenPath() const { return spoken_; }

 private:
  TempDir folder_;
  std::string socket_;
  std::string spoken_;
  std::unique_ptr<ChildProcess> server_;
};

}  // namespace harumado::test_support
