#include "win32/automation/sapi_voice.h"

#include "automation/error_numbers.h"
#include "runtime/automation_error.h"
#include "win32/automation/com_object.h"
#include "win32/automation/sapi_api.h"

namespace harumado::win32 {
namespace {

// SpVoice's class: {96749377-3391-11D2-9EE3-00C04F797396}.
constexpr CLSID kSpVoiceClass = {
    0x96749377, 0x3391, 0x11D2, {0x9E, 0xE3, 0x00, 0xC0, 0x4F, 0x79, 0x73, 0x96}};

constexpr automation::Member kGetDescription{L"SpObjectToken", L"GetDescription"};

void Check(HRESULT hr, const wchar_t* what) {
  if (FAILED(hr)) ThrowCallFailure(hr, nullptr, what);
}

class Text {
 public:
  explicit Text(const std::wstring& s) : bstr_(s.data(), static_cast<UINT>(s.size())) {}
  BSTR get() const { return bstr_.get(); }

 private:
  Bstr bstr_;
};

class SapiToken final : public platform::VoiceToken {
 public:
  SapiToken(ComPtr<ISpeechObjectToken> token, std::shared_ptr<DispatchIds> ids)
      : token_(std::move(token)), late_bound_(ComPtrOf(token_), std::move(ids)) {}

  ISpeechObjectToken* token() const { return token_.get(); }

  // Called by name with no argument: the description in the user's language.
  std::wstring GetDescription() override {
    const automation::Variant description =
        late_bound_.Invoke(kGetDescription, automation::CallKind::kGet, {});
    const rt::Value& v = description.value();
    return v.is_text() ? v.text() : std::wstring();
  }

 private:
  static ComPtr<IDispatch> ComPtrOf(const ComPtr<ISpeechObjectToken>& token) {
    ComPtr<IDispatch> dispatch;
    Check(token->QueryInterface(IID_IDispatch, dispatch.put_void()), L"ISpeechObjectToken");
    return dispatch;
  }

  ComPtr<ISpeechObjectToken> token_;
  ComObject late_bound_;
};

class SapiVoice final : public platform::Voice {
 public:
  explicit SapiVoice(ComPtr<ISpeechVoice> voice) : voice_(std::move(voice)) {}

  // The tokens GetVoices("", "") lists, in its order.
  std::vector<std::shared_ptr<platform::VoiceToken>> GetVoices() override {
    const Text none(L"");
    ComPtr<ISpeechObjectTokens> tokens;
    Check(voice_->GetVoices(none.get(), none.get(), tokens.put()), L"GetVoices");
    LONG count = 0;
    Check(tokens->get_Count(&count), L"Count");
    std::vector<std::shared_ptr<platform::VoiceToken>> list;
    for (LONG i = 0; i < count; ++i) {
      ComPtr<ISpeechObjectToken> token;
      Check(tokens->Item(i, token.put()), L"Item");
      list.push_back(std::make_shared<SapiToken>(std::move(token), ids_));
    }
    return list;
  }

  void SetVoice(const std::shared_ptr<platform::VoiceToken>& token) override {
    const auto* sapi = dynamic_cast<const SapiToken*>(token.get());
    if (sapi == nullptr) throw rt::AutomationError(rt::err::kTypeMismatch);
    Check(voice_->putref_Voice(sapi->token()), L"Voice");
  }

  void SetRate(int rate) override { Check(voice_->put_Rate(rate), L"Rate"); }

  void SetVolume(int volume) override { Check(voice_->put_Volume(volume), L"Volume"); }

  // The stream number is not used.
  void Speak(const std::wstring& text, int flags) override {
    const Text words(text);
    LONG stream = 0;
    Check(voice_->Speak(words.get(), static_cast<SpeechVoiceSpeakFlags>(flags), &stream), L"Speak");
  }

 private:
  ComPtr<ISpeechVoice> voice_;
  std::shared_ptr<DispatchIds> ids_ = std::make_shared<DispatchIds>();
};

}  // namespace

// A voice object that cannot even tell its volume is no speech service (wine's SpVoice answers
// every call with E_NOTIMPL): it counts as not created, and the program runs without a voice.
std::unique_ptr<platform::Voice> SapiVoiceFactory::CreateVoice() {
  ComPtr<ISpeechVoice> voice;
  Check(::CoCreateInstance(kSpVoiceClass, nullptr, CLSCTX_ALL, __uuidof(ISpeechVoice),
                           voice.put_void()),
        L"SAPI.SpVoice");
  LONG volume = 0;
  Check(voice->get_Volume(&volume), L"SAPI.SpVoice");
  return std::make_unique<SapiVoice>(std::move(voice));
}

}  // namespace harumado::win32
