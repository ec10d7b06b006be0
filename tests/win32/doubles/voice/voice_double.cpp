// The voice test double: an in-process server registered under SpVoice's class. It offers two
// voices and writes everything it is asked to do to voice-double.log beside itself, one line a
// call, so that the tests can read what was spoken: each speak call with its flags and text, and
// for a text what a voice would make heard of it (a text taken as speech markup loses its tags).
#include <atomic>
#include <string>
#include <vector>

#include "../common/class_factory.h"
#include "../common/com_registration.h"
#include "../common/log_file.h"
#include "../common/query_interface.h"
#include "sim/speech_markup.h"
#include "win32/automation/sapi_api.h"

namespace {

// SpVoice's class: {96749377-3391-11D2-9EE3-00C04F797396}.
constexpr CLSID kSpVoiceClass = {
    0x96749377, 0x3391, 0x11D2, {0x9E, 0xE3, 0x00, 0xC0, 0x4F, 0x79, 0x73, 0x96}};
constexpr DISPID kGetDescriptionId = 1;

HMODULE g_module = nullptr;
std::atomic<long> g_objects{0};

std::wstring ModuleFolder() {
  const std::wstring file = harumado::doubles::ModuleFile(g_module);
  return file.substr(0, file.rfind(L'\\'));
}

void Log(const std::wstring& line) {
  harumado::doubles::AppendLine(ModuleFolder() + L"\\voice-double.log", line);
}

std::wstring TextOf(BSTR s) { return s != nullptr ? std::wstring(s, ::SysStringLen(s)) : L""; }

// What the double's objects share: reference counting, the one interface each offers (with
// IUnknown and IDispatch), and an IDispatch part without type information.
template <typename Base>
class Counted : public Base {
 public:
  Counted() { ++g_objects; }
  virtual ~Counted() { --g_objects; }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    return harumado::doubles::QueryOneInterface<Base>(this, iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count != nullptr) *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }

 private:
  std::atomic<ULONG> references_{1};
};

// An object reached only through its early-bound interface: no member has a name.
template <typename Base>
class Unnamed : public Counted<Base> {
 public:
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return DISP_E_MEMBERNOTFOUND;
  }
};

class Token final : public Counted<ISpeechObjectToken> {
 public:
  explicit Token(std::wstring description) : description_(std::move(description)) {}
  const std::wstring& description() const { return description_; }

  // GetDescription is reached by name too.
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    if (count == 1 && names != nullptr && ::lstrcmpiW(names[0], L"GetDescription") == 0) {
      ids[0] = kGetDescriptionId;
      return S_OK;
    }
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result,
                                   EXCEPINFO*, UINT*) override {
    if (id != kGetDescriptionId) return DISP_E_MEMBERNOTFOUND;
    Log(L"description " + description_);
    if (result != nullptr) {
      ::VariantInit(result);
      result->vt = VT_BSTR;
      result->bstrVal = ::SysAllocString(description_.c_str());
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Id(BSTR* id) override {
    *id = ::SysAllocString((L"HKEY_LOCAL_MACHINE\\Voices\\" + description_).c_str());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_DataKey(ISpeechDataKey**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Category(ISpeechObjectTokenCategory**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetDescription(LONG, BSTR* description) override {
    *description = ::SysAllocString(description_.c_str());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetId(BSTR, BSTR, VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetAttribute(BSTR, BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, SpeechTokenContext, IUnknown**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Remove(BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetStorageFileName(BSTR, BSTR, BSTR, SpeechTokenShellFolder,
                                               BSTR*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE RemoveStorageFileName(BSTR, BSTR, VARIANT_BOOL) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE IsUISupported(const BSTR, const VARIANT*, IUnknown*,
                                          VARIANT_BOOL*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DisplayUI(LONG, BSTR, const BSTR, const VARIANT*, IUnknown*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE MatchesAttributes(BSTR, VARIANT_BOOL*) override { return E_NOTIMPL; }

 private:
  std::wstring description_;
};

class Tokens final : public Unnamed<ISpeechObjectTokens> {
 public:
  Tokens() {
    for (const wchar_t* d : {L"テスト音声 一", L"テスト音声 二"}) tokens_.push_back(new Token(d));
  }
  ~Tokens() override {
    for (Token* t : tokens_) t->Release();
  }

  HRESULT STDMETHODCALLTYPE get_Count(LONG* count) override {
    *count = static_cast<LONG>(tokens_.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Item(LONG index, ISpeechObjectToken** token) override {
    if (index < 0 || index >= static_cast<LONG>(tokens_.size())) return E_INVALIDARG;
    *token = tokens_[static_cast<std::size_t>(index)];
    (*token)->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown**) override { return E_NOTIMPL; }

 private:
  std::vector<Token*> tokens_;
};

class Voice final : public Unnamed<ISpeechVoice> {
 public:
  Voice() { Log(L"created"); }

  HRESULT STDMETHODCALLTYPE GetVoices(BSTR required, BSTR optional,
                                      ISpeechObjectTokens** tokens) override {
    Log(L"voices \"" + TextOf(required) + L"\" \"" + TextOf(optional) + L"\"");
    *tokens = new Tokens();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE putref_Voice(ISpeechObjectToken* voice) override {
    BSTR description = nullptr;
    if (voice == nullptr || FAILED(voice->GetDescription(0, &description))) return E_INVALIDARG;
    Log(L"voice " + TextOf(description));
    ::SysFreeString(description);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_Rate(LONG rate) override {
    rate_ = rate;
    Log(L"rate " + std::to_wstring(rate));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_Volume(LONG volume) override {
    volume_ = volume;
    Log(L"volume " + std::to_wstring(volume));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Speak(BSTR text, SpeechVoiceSpeakFlags flags, LONG* stream) override {
    const std::wstring words = TextOf(text);
    Log(L"speak " + std::to_wstring(static_cast<int>(flags)) + L" \"" + words + L"\"");
    if (!words.empty()) {
      Log(L"heard \"" + harumado::sim::SpokenPart(words, static_cast<int>(flags)) + L"\"");
    }
    if (stream != nullptr) *stream = ++streams_;
    return S_OK;
  }

  // The rest of ISpeechVoice is not used by the program (the volume and rate are read once, to
  // tell a working voice).
  HRESULT STDMETHODCALLTYPE get_Status(ISpeechVoiceStatus**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Voice(ISpeechObjectToken**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_AudioOutput(ISpeechObjectToken**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE putref_AudioOutput(ISpeechObjectToken*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_AudioOutputStream(ISpeechBaseStream**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE putref_AudioOutputStream(ISpeechBaseStream*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_Rate(LONG* rate) override {
    *rate = rate_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Volume(LONG* volume) override {
    *volume = volume_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_AllowAudioOutputFormatChangesOnNextSet(VARIANT_BOOL) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_AllowAudioOutputFormatChangesOnNextSet(VARIANT_BOOL*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_EventInterests(SpeechVoiceEvents*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_EventInterests(SpeechVoiceEvents) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Priority(SpeechVoicePriority) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Priority(SpeechVoicePriority*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_AlertBoundary(SpeechVoiceEvents) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_AlertBoundary(SpeechVoiceEvents*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_SynchronousSpeakTimeout(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_SynchronousSpeakTimeout(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SpeakStream(ISpeechBaseStream*, SpeechVoiceSpeakFlags, LONG*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Pause() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Resume() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Skip(const BSTR, LONG, LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetAudioOutputs(BSTR, BSTR, ISpeechObjectTokens**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE WaitUntilDone(LONG, VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SpeakCompleteEvent(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE IsUISupported(const BSTR, const VARIANT*, VARIANT_BOOL*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DisplayUI(LONG, BSTR, const BSTR, const VARIANT*) override {
    return E_NOTIMPL;
  }

 private:
  LONG streams_ = 0;
  LONG rate_ = 0;
  LONG volume_ = 100;
};

// The class object lives as long as the module.
harumado::doubles::ClassFactory g_factory([]() -> IUnknown* {
  return static_cast<ISpeechVoice*>(new Voice());
});

const harumado::doubles::ClassEntry kVoiceEntry{kSpVoiceClass, L"SpVoice", nullptr};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    ::DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (clsid != kSpVoiceClass) return CLASS_E_CLASSNOTAVAILABLE;
  return g_factory.QueryInterface(iid, out);
}

STDAPI DllCanUnloadNow() { return g_objects == 0 ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() {
  const bool ok =
      harumado::doubles::RegisterClassEntry(kVoiceEntry, harumado::doubles::ServerKind::kInProcess,
                                            harumado::doubles::ModuleFile(g_module));
  return ok ? S_OK : E_ACCESSDENIED;
}

STDAPI DllUnregisterServer() {
  harumado::doubles::UnregisterClassEntry(kVoiceEntry);
  return S_OK;
}
