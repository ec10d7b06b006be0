#pragma once
// The speech voice through speech-dispatcher (libspeechd). One connection per voice object, for
// the object's whole life; the voices are those of the connection's output module, in the order
// the server lists them.
//
// The speech window's sliders are in SAPI's ranges and are mapped onto speech-dispatcher's
// -100..100: the rate -10..10 times ten (0 stays the voice's normal speed), the volume 0..100 as
// volume * 2 - 100 (100 is the loudest, 0 the quietest; 50 is the server's normal 0).
#include <memory>
#include <string>

#include "platform/voice.h"

namespace harumado::qt {

// The rate and volume as speech-dispatcher takes them.
int SpeechdRate(int sapi_rate);
int SpeechdVolume(int sapi_volume);

class SpeechDispatcherVoiceFactory final : public platform::VoiceFactory {
 public:
  // client_name names the program's connections in the server's logs and settings.
  explicit SpeechDispatcherVoiceFactory(std::string client_name = "harumado");

  // A new connection to the user's speech-dispatcher (started by libspeechd when it is not
  // running and the user allows autospawn; SPEECHD_ADDRESS chooses another server). When no
  // server can be reached, rt::AutomationError 429, as for a missing voice class: the program
  // then runs without a voice.
  std::unique_ptr<platform::Voice> CreateVoice() override;

 private:
  std::string client_name_;
};

}  // namespace harumado::qt
