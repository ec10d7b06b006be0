#include "qt/voice_speechd.h"

#include <signal.h>
#include <speech-dispatcher/libspeechd.h>
#include <time.h>

#include <algorithm>
#include <cstdlib>

#include "qt/native_path.h"
#include "runtime/automation_error.h"

namespace harumado::qt {
namespace {

// The server did not carry a call out (it went away, or refused the value).
[[noreturn]] void ThrowRefused(const wchar_t* what) {
  throw rt::AutomationError(rt::err::kCallFailed, what);
}

void Check(int result, const wchar_t* what) {
  if (result < 0) ThrowRefused(what);
}

// libspeechd writes to the server's socket with plain writes: once the server has gone, a write
// raises SIGPIPE, which would end the program. While a call runs the signal is held back on the
// calling thread, and one that it raised is taken off again, so that the call just fails.
class HoldBackBrokenPipe {
 public:
  HoldBackBrokenPipe() {
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, &previous_);
    sigset_t pending;
    sigpending(&pending);
    was_pending_ = sigismember(&pending, SIGPIPE) == 1;
  }
  ~HoldBackBrokenPipe() {
    sigset_t pending;
    sigpending(&pending);
    if (!was_pending_ && sigismember(&pending, SIGPIPE) == 1) {
      sigset_t pipe;
      sigemptyset(&pipe);
      sigaddset(&pipe, SIGPIPE);
      const timespec now{0, 0};
      sigtimedwait(&pipe, nullptr, &now);
    }
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
  }
  HoldBackBrokenPipe(const HoldBackBrokenPipe&) = delete;
  HoldBackBrokenPipe& operator=(const HoldBackBrokenPipe&) = delete;

 private:
  sigset_t previous_;
  bool was_pending_ = false;
};

struct CloseConnection {
  void operator()(SPDConnection* connection) const;
};
using Connection = std::unique_ptr<SPDConnection, CloseConnection>;

struct FreeVoices {
  void operator()(SPDVoice** voices) const { free_spd_voices(voices); }
};

// A voice of the connection's output module, by its name; the description adds its language.
class SpeechdToken final : public platform::VoiceToken {
 public:
  SpeechdToken(std::string name, std::string language)
      : name_(std::move(name)), language_(std::move(language)) {}

  const std::string& name() const { return name_; }

  std::wstring GetDescription() override {
    if (language_.empty() || language_ == "none") return Wide(name_);
    return Wide(name_ + " (" + language_ + ")");
  }

 private:
  std::string name_;
  std::string language_;
};

// A connection in single mode: every call waits for the server's answer on the calling thread,
// and no thread of libspeechd's runs beside the program's (no event callbacks are needed).
// Closing says goodbye to the server, which may be gone by then.
void CloseConnection::operator()(SPDConnection* connection) const {
  HoldBackBrokenPipe hold;
  spd_close(connection);
}

class SpeechdVoice final : public platform::Voice {
 public:
  explicit SpeechdVoice(Connection connection) : connection_(std::move(connection)) {}

  std::vector<std::shared_ptr<platform::VoiceToken>> GetVoices() override {
    HoldBackBrokenPipe hold;
    std::unique_ptr<SPDVoice*[], FreeVoices> voices(spd_list_synthesis_voices(connection_.get()));
    if (!voices) ThrowRefused(L"spd_list_synthesis_voices");
    std::vector<std::shared_ptr<platform::VoiceToken>> list;
    for (std::size_t i = 0; voices[i] != nullptr; ++i) {
      const SPDVoice* voice = voices[i];
      if (voice->name == nullptr) continue;
      list.push_back(std::make_shared<SpeechdToken>(
          voice->name, voice->language != nullptr ? voice->language : ""));
    }
    return list;
  }

  void SetVoice(const std::shared_ptr<platform::VoiceToken>& token) override {
    const auto* voice = dynamic_cast<const SpeechdToken*>(token.get());
    if (voice == nullptr) throw rt::AutomationError(rt::err::kTypeMismatch);
    HoldBackBrokenPipe hold;
    Check(spd_set_synthesis_voice(connection_.get(), voice->name().c_str()),
          L"spd_set_synthesis_voice");
  }

  void SetRate(int rate) override {
    HoldBackBrokenPipe hold;
    Check(spd_set_voice_rate(connection_.get(), SpeechdRate(rate)), L"spd_set_voice_rate");
  }

  void SetVolume(int volume) override {
    HoldBackBrokenPipe hold;
    Check(spd_set_volume(connection_.get(), SpeechdVolume(volume)), L"spd_set_volume");
  }

  // The server queues every text and speaks it while the call has long returned, so a speak is
  // asynchronous with or without kSpeakAsync. Purging cancels what is spoken and what waits.
  // Without kSpeakIsNotXml a text that begins with "<" is sent as SSML, the markup
  // speech-dispatcher knows, as SAPI takes such a text for its markup.
  void Speak(const std::wstring& text, int flags) override {
    HoldBackBrokenPipe hold;
    if ((flags & platform::kSpeakPurgeBefore) != 0) {
      Check(spd_cancel(connection_.get()), L"spd_cancel");
    }
    if (text.empty()) return;
    const bool markup = (flags & platform::kSpeakIsNotXml) == 0 && text.front() == L'<';
    const SPDDataMode mode = markup ? SPD_DATA_SSML : SPD_DATA_TEXT;
    if (mode != mode_) {
      Check(spd_set_data_mode(connection_.get(), mode), L"spd_set_data_mode");
      mode_ = mode;
    }
    Check(spd_say(connection_.get(), SPD_TEXT, Utf8(text).c_str()), L"spd_say");
  }

 private:
  Connection connection_;
  SPDDataMode mode_ = SPD_DATA_TEXT;
};

}  // namespace

int SpeechdRate(int sapi_rate) { return std::clamp(sapi_rate, -10, 10) * 10; }

int SpeechdVolume(int sapi_volume) { return std::clamp(sapi_volume, 0, 100) * 2 - 100; }

SpeechDispatcherVoiceFactory::SpeechDispatcherVoiceFactory(std::string client_name)
    : client_name_(std::move(client_name)) {}

// A new connection starts in text mode: a text is read as it stands unless it is sent as SSML.
std::unique_ptr<platform::Voice> SpeechDispatcherVoiceFactory::CreateVoice() {
  HoldBackBrokenPipe hold;
  char* error = nullptr;
  Connection connection(
      spd_open2(client_name_.c_str(), "main", nullptr, SPD_MODE_SINGLE, nullptr, 1, &error));
  std::wstring reason = L"speech-dispatcher";
  if (error != nullptr) {
    reason += L": " + Wide(error);
    std::free(error);
  }
  if (!connection) throw rt::AutomationError(rt::err::kCannotCreateObject, reason);
  if (spd_set_data_mode(connection.get(), SPD_DATA_TEXT) < 0) {
    throw rt::AutomationError(rt::err::kCannotCreateObject, reason);
  }
  return std::make_unique<SpeechdVoice>(std::move(connection));
}

}  // namespace harumado::qt
