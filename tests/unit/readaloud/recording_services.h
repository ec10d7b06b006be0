#pragma once
// A clipboard and a speech service that record every call, in one log, for the read-aloud tests;
// the rest of the desktop is the simulated one.
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/clipboard.h"
#include "platform/voice.h"
#include "runtime/automation_error.h"
#include "sim/desktop.h"

namespace harumado::testing {

using Log = std::vector<std::wstring>;

inline std::wstring Hex(std::intptr_t v) {
  wchar_t buf[32];
  std::swprintf(buf, 32, L"%llX", static_cast<unsigned long long>(v));
  return buf;
}

class RecordingClipboard : public platform::Clipboard {
 public:
  explicit RecordingClipboard(Log& log) : log_(log) {}

  // What the next calls answer.
  platform::WindowHandle next_viewer = 0x900;
  std::uintptr_t previous_proc = 0x5150;
  std::intptr_t previous_proc_result = 42;
  bool has_text = true;
  bool fail_has_text = false;
  bool excluded = false;
  std::wstring text = L"こんにちは";
  platform::WindowProc installed = nullptr;
  std::set<platform::WindowHandle> hung;  // windows that do not answer a send with a time limit
  std::function<void()> during_send;      // runs once, inside the next send with a time limit

  std::uint32_t SequenceNumber() override { return 1; }
  bool HasText() override {
    if (fail_has_text) throw rt::AutomationError(521, L"clipboard busy");
    return has_text;
  }
  std::wstring GetText() override { return text; }
  bool IsExcludedFromMonitors() override { return excluded; }
  platform::WindowHandle SetClipboardViewer(platform::WindowHandle window) override {
    log_.push_back(L"SetClipboardViewer " + Hex(window));
    return next_viewer;
  }
  void ChangeClipboardChain(platform::WindowHandle remove, platform::WindowHandle next) override {
    log_.push_back(L"ChangeClipboardChain " + Hex(remove) + L" " + Hex(next));
  }
  std::intptr_t SendMessage(platform::WindowHandle window, std::uint32_t message,
                            std::uintptr_t wparam, std::intptr_t lparam) override {
    log_.push_back(L"SendMessage " + Hex(window) + L" " + Hex(message) + L" " +
                   Hex(static_cast<std::intptr_t>(wparam)) + L" " + Hex(lparam));
    return 0;
  }
  std::optional<std::intptr_t> SendMessageTimeout(platform::WindowHandle window,
                                                  std::uint32_t message, std::uintptr_t wparam,
                                                  std::intptr_t lparam, int timeout_ms) override {
    log_.push_back(L"SendMessageTimeout " + Hex(window) + L" " + Hex(message) + L" " +
                   Hex(static_cast<std::intptr_t>(wparam)) + L" " + Hex(lparam) + L" " +
                   std::to_wstring(timeout_ms));
    if (during_send) std::exchange(during_send, nullptr)();
    if (hung.contains(window)) return std::nullopt;
    return 0;
  }
  std::uintptr_t SetWindowProc(platform::WindowHandle window, platform::WindowProc proc) override {
    log_.push_back(L"SetWindowProc " + Hex(window));
    installed = proc;
    return previous_proc;
  }
  void RestoreWindowProc(platform::WindowHandle window, std::uintptr_t previous) override {
    log_.push_back(L"RestoreWindowProc " + Hex(window) + L" " +
                   Hex(static_cast<std::intptr_t>(previous)));
    installed = nullptr;
  }
  std::intptr_t CallWindowProc(std::uintptr_t previous, platform::WindowHandle window,
                               std::uint32_t message, std::uintptr_t wparam,
                               std::intptr_t lparam) override {
    log_.push_back(L"CallWindowProc " + Hex(static_cast<std::intptr_t>(previous)) + L" " +
                   Hex(window) + L" " + Hex(message) + L" " +
                   Hex(static_cast<std::intptr_t>(wparam)) + L" " + Hex(lparam));
    return previous_proc_result;
  }

 private:
  Log& log_;
};

class RecordingToken : public platform::VoiceToken {
 public:
  explicit RecordingToken(std::wstring name) : name_(std::move(name)) {}
  std::wstring GetDescription() override { return name_; }

 private:
  std::wstring name_;
};

class RecordingVoice : public platform::Voice {
 public:
  RecordingVoice(Log& log, const std::vector<std::wstring>& names, bool refuse)
      : log_(log), names_(names), refuse_(refuse) {}
  ~RecordingVoice() override { log_.push_back(L"voice released"); }

  std::vector<std::shared_ptr<platform::VoiceToken>> GetVoices() override {
    Refuse();
    std::vector<std::shared_ptr<platform::VoiceToken>> tokens;
    for (const auto& n : names_) tokens.push_back(std::make_shared<RecordingToken>(n));
    return tokens;
  }
  void SetVoice(const std::shared_ptr<platform::VoiceToken>& token) override {
    Refuse();
    log_.push_back(L"Voice " + token->GetDescription());
  }
  void SetRate(int rate) override {
    Refuse();
    log_.push_back(L"Rate " + std::to_wstring(rate));
  }
  void SetVolume(int volume) override {
    Refuse();
    log_.push_back(L"Volume " + std::to_wstring(volume));
  }
  void Speak(const std::wstring& text, int flags) override {
    Refuse();
    log_.push_back(L"Speak \"" + text + L"\" " + std::to_wstring(flags));
  }

 private:
  // A speech service that exists but implements nothing (E_NOTIMPL) refuses every call.
  void Refuse() {
    if (refuse_)
      throw rt::AutomationError(static_cast<std::int32_t>(0x80004001u), L"not implemented");
  }
  Log& log_;
  std::vector<std::wstring> names_;
  bool refuse_;
};

class RecordingSpeech : public platform::VoiceFactory {
 public:
  explicit RecordingSpeech(Log& log) : log_(log) {}
  std::vector<std::wstring> names{L"Haruka", L"Ayumi"};
  bool refuse_calls = false;
  std::unique_ptr<platform::Voice> CreateVoice() override {
    return std::make_unique<RecordingVoice>(log_, names, refuse_calls);
  }

 private:
  Log& log_;
};

// The simulated desktop with the recording clipboard and speech service in place.
struct RecordingDesktop {
  Log log;
  sim::Desktop desktop;
  RecordingClipboard clipboard{log};
  RecordingSpeech speech{log};
  platform::Services services{desktop.excel, desktop.windows, clipboard,    speech,
                              desktop.files, desktop.system,  desktop.files};
};

}  // namespace harumado::testing
