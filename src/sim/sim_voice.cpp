#include "sim/sim_voice.h"

#include <cmath>

#include "runtime/automation_error.h"
#include "sim/speech_markup.h"

namespace harumado::sim {
namespace {

class SimToken : public platform::VoiceToken {
 public:
  explicit SimToken(std::wstring name) : name_(std::move(name)) {}
  std::wstring GetDescription() override { return name_; }
  const std::wstring& name() const { return name_; }

 private:
  std::wstring name_;
};

class SimVoice : public platform::Voice {
 public:
  SimVoice(SimSpeech& speech) : speech_(speech) {
    settings_.name = speech.voices.empty() ? L"" : speech.voices.front();
    speech_.current = &settings_;
  }
  ~SimVoice() override { speech_.Forget(&settings_); }

  std::vector<std::shared_ptr<platform::VoiceToken>> GetVoices() override {
    std::vector<std::shared_ptr<platform::VoiceToken>> tokens;
    for (const auto& v : speech_.voices) tokens.push_back(std::make_shared<SimToken>(v));
    return tokens;
  }
  void SetVoice(const std::shared_ptr<platform::VoiceToken>& token) override {
    if (token) settings_.name = token->GetDescription();
  }
  void SetRate(int rate) override { settings_.rate = rate; }
  void SetVolume(int volume) override { settings_.volume = volume; }
  void Speak(const std::wstring& text, int flags) override {
    speech_.Speak(settings_, text, flags);
  }

 private:
  SimSpeech& speech_;
  SimSpeech::VoiceSettings settings_;
};

// SAPI's rate scale: +10 speaks three times as fast, -10 three times as slow.
Millis Duration(const std::wstring& text, int rate) {
  const double per_char = 100.0 / std::pow(3.0, rate / 10.0);
  return static_cast<Millis>(std::llround(per_char * static_cast<double>(text.size())));
}

}  // namespace

SimSpeech::SimSpeech(World& world) : world_(world) {}

std::unique_ptr<platform::Voice> SimSpeech::CreateVoice() {
  if (!available) throw rt::AutomationError(429, L"no speech service");
  world_.Trace(L"voice created");
  return std::make_unique<SimVoice>(*this);
}

void SimSpeech::Forget(VoiceSettings* v) {
  if (current == v) current = nullptr;
}

// Queued utterances start when the one before them ends.
void SimSpeech::Advance() {
  while (!queue_.empty() && last && last->end <= world_.now()) {
    Utterance next = queue_.front();
    queue_.erase(queue_.begin());
    const Millis length = next.end - next.start;
    next.start = last->end;
    next.end = next.start + length;
    last = next;
  }
}

bool SimSpeech::Speaking() const {
  if (!queue_.empty()) return true;
  return last && last->end > world_.now();
}

void SimSpeech::Speak(VoiceSettings& v, const std::wstring& text, int flags) {
  Advance();
  if (flags & platform::kSpeakPurgeBefore) {
    queue_.clear();
    if (last && last->end > world_.now()) last->end = world_.now();
    world_.Trace(L"speech purged");
  }
  if (text.empty()) return;
  ++utterances;
  // What is heard: a text taken as markup loses its tags (one made only of tags is heard as
  // nothing and ends at once).
  const std::wstring spoken = SpokenPart(text, flags);
  Utterance u{spoken, world_.now(), world_.now() + Duration(spoken, v.rate)};
  world_.Trace(L"speak \"" + text + L"\"" +
               (ReadAsMarkup(text, flags) ? L" as markup, heard \"" + spoken + L"\"" : L""));
  if (last && last->end > world_.now()) {
    queue_.push_back(u);
  } else {
    last = u;
  }
}

}  // namespace harumado::sim
