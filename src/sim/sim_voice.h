#pragma once
// The simulated speech service: installed voices, voice objects, and the utterances with their
// timing (100 ms per character at rate 0).
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/voice.h"
#include "sim/world.h"

namespace harumado::sim {

struct Utterance {
  std::wstring text;  // what is heard (a text read as markup without its tags)
  Millis start = 0;
  Millis end = 0;
};

class SimSpeech : public platform::VoiceFactory {
 public:
  explicit SimSpeech(World& world);

  std::unique_ptr<platform::Voice> CreateVoice() override;

  std::vector<std::wstring> voices{L"Voice A", L"Voice B"};
  bool available = true;

  // What the scenario checks.
  std::optional<Utterance> last;  // started last
  int utterances = 0;
  bool Speaking() const;
  struct VoiceSettings {
    int rate = 0;
    int volume = 100;
    std::wstring name;
  };
  // Settings of the live voice object created last.
  VoiceSettings* current = nullptr;

  void Speak(VoiceSettings& v, const std::wstring& text, int flags);
  void Forget(VoiceSettings* v);

 private:
  World& world_;
  std::vector<Utterance> queue_;  // after `last`, not yet started
  void Advance();
};

}  // namespace harumado::sim
