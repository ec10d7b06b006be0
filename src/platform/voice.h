#pragma once
// The speech voice (SAPI's SpVoice through ISpeechVoice).
#include <memory>
#include <string>
#include <vector>

namespace harumado::platform {

inline constexpr int kSpeakAsync = 1;        // SVSFlagsAsync
inline constexpr int kSpeakPurgeBefore = 2;  // SVSFPurgeBeforeSpeak
// The text is read as it stands: without it a text that begins with "<" is taken as speech
// markup, whose tags are not spoken and change how the rest is read.
inline constexpr int kSpeakIsNotXml = 16;  // SVSFIsNotXML

class VoiceToken {
 public:
  virtual ~VoiceToken() = default;
  virtual std::wstring GetDescription() = 0;
};

class Voice {
 public:
  virtual ~Voice() = default;
  virtual std::vector<std::shared_ptr<VoiceToken>> GetVoices() = 0;  // GetVoices("", "")
  virtual void SetVoice(const std::shared_ptr<VoiceToken>& token) = 0;
  virtual void SetRate(int rate) = 0;
  virtual void SetVolume(int volume) = 0;
  virtual void Speak(const std::wstring& text, int flags) = 0;
};

class VoiceFactory {
 public:
  virtual ~VoiceFactory() = default;
  // A new voice object; throws rt::AutomationError when none can be created.
  virtual std::unique_ptr<Voice> CreateVoice() = 0;
};

}  // namespace harumado::platform
