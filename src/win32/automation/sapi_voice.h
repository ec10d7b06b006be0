#pragma once
// The speech voice over SAPI 5: SpVoice through ISpeechVoice, its voice tokens through
// ISpeechObjectToken; the token's description is read late-bound by name.
#include "platform/voice.h"

namespace harumado::win32 {

class SapiVoiceFactory final : public platform::VoiceFactory {
 public:
  // A new SpVoice; when the speech service cannot be created or does not work,
  // rt::AutomationError with the failure's number (429 for a missing class).
  std::unique_ptr<platform::Voice> CreateVoice() override;
};

}  // namespace harumado::win32
