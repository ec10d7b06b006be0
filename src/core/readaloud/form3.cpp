// The speech window: its voice, the voice list behind the voice button, the speed and volume
// sliders, speaking the copied text and stopping it.
#include "core/readaloud/form3.h"

#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/readaloud/module3.h"
#include "core/ui/layouts.h"
#include "runtime/skip_mode.h"

namespace harumado::readaloud {
namespace {

// The voice button's caption when the machine has no speech service at all.
constexpr const wchar_t* kNoVoiceCaption = L"音声なし";

// Blank text is made only of spaces: the ordinary space and the full-width space U+3000, which
// Japanese text uses as its space and which a user copying "empty" text expects to be silent.
bool IsBlank(const std::wstring& text) {
  return text.find_first_not_of(L" \u3000") == std::wstring::npos;
}

}  // namespace

// The slider scroll events run the change handlers, so that dragging takes effect at once.
Form3::Form3(app::Program& p) : program(p), window_(ui::MakeSpeechWindowLayout()) {
  HScroll1().on_change = [this] { HScroll1_Change(); };
  HScroll1().on_scroll = [this] { HScroll1_Change(); };
  HScroll2().on_change = [this] { HScroll2_Change(); };
  HScroll2().on_scroll = [this] { HScroll2_Change(); };
  Command1().on_click = [this] { Command1_Click(); };
  Command2().on_click = [this] { Command2_Click(); };
}

Form3::~Form3() = default;

// Runs each time the window is created. The sliders get their ranges before their values: the
// speed slider already stands at 0, so no rate is sent and the voice keeps its own; the volume
// slider moves from 0 to 100, which sends volume 100.
//
// Without a speech service (no voice object can be created) the window still loads and hooks the
// clipboard; the voice button says so, and speaking, stopping and the sliders do nothing. A
// failing voice list leaves the list empty, as on a machine without installed voices.
void Form3::Form_Load() {
  rt::SkipMode skip;
  Speaker.reset();
  skip.Assign(Speaker, [&] { return program.os.voices.CreateVoice(); });
  VoiceTokens.clear();
  HScroll1().SetMin(-10);
  HScroll1().SetMax(10);
  HScroll1().SetValue(0);
  HScroll2().SetMin(0);
  HScroll2().SetMax(100);
  HScroll2().SetValue(100);
  if (Speaker) {
    skip.Assign(VoiceTokens, [&] { return Speaker->GetVoices(); });
  }
  VoiceIndex = 1;
  if (!VoiceTokens.empty()) {
    skip.Run([&] { Command1().SetText(VoiceTokens[VoiceIndex - 1]->GetDescription()); });
  } else if (!Speaker) {
    Command1().SetText(kNoVoiceCaption);
  }
  HookClipboardViewer(program, window().handle());
}

// Runs each time the window is destroyed. Unticking Check3 runs the read-aloud turn-off when it
// was ticked; that turn-off also asks to unload this window, which the program ignores while this
// handler runs.
void Form3::Form_Unload() {
  program.form1().Check3().SetValue(0);
  UnhookClipboardViewer(program);
  Speaker.reset();
  VoiceTokens.clear();
}

// Called for every clipboard change while the hook is installed. Only text is spoken, and only
// while Check3 is ticked; content its owner marked as not for clipboard monitors (a password
// manager's copy) is never read out. Blank text is ignored and whatever is being spoken goes on;
// otherwise the current speech is cut off and the whole text, spaces included, is spoken without
// waiting, read as it stands: a copied text that begins with "<" is not taken as speech markup,
// whose tags would go unspoken and change the volume or speed of what follows. Clipboard and
// voice errors are left to the hook procedure, which discards them.
void Form3::OnClipboardChange() {
  if (program.form1().Check3().value() == 0) return;
  auto& clipboard = program.os.clipboard;
  if (!clipboard.HasText()) return;
  if (clipboard.IsExcludedFromMonitors()) return;
  const std::wstring text = clipboard.GetText();
  if (IsBlank(text)) return;
  if (!Speaker) return;
  Speaker->Speak(L"", platform::kSpeakPurgeBefore);
  Speaker->Speak(text, platform::kSpeakAsync | platform::kSpeakIsNotXml);
}

// A speech service that refuses a call (one that exists but implements nothing, say) must not
// end the program or cut short the turn-off that calls this: the failing call is skipped.
void Form3::Form3_StopSpeech() {
  rt::SkipMode skip;
  if (Speaker) skip.Run([&] { Speaker->Speak(L"", platform::kSpeakPurgeBefore); });
}

// Moves on to the next installed voice, back to the first after the last.
void Form3::Command1_Click() {
  if (VoiceTokens.empty() || !Speaker) return;
  ++VoiceIndex;
  if (VoiceIndex > static_cast<int>(VoiceTokens.size())) VoiceIndex = 1;
  const auto& token = VoiceTokens[VoiceIndex - 1];
  rt::SkipMode skip;
  skip.Run([&] { Speaker->SetVoice(token); });
  skip.Run([&] { Command1().SetText(token->GetDescription()); });
}

void Form3::Command2_Click() { Form3_StopSpeech(); }

// Both sliders are applied to the voice unscaled: speed -10..10, volume 0..100. A refused call
// is skipped as in Form3_StopSpeech.
void Form3::HScroll1_Change() {
  rt::SkipMode skip;
  if (Speaker) skip.Run([&] { Speaker->SetRate(HScroll1().value()); });
}

void Form3::HScroll2_Change() {
  rt::SkipMode skip;
  if (Speaker) skip.Run([&] { Speaker->SetVolume(HScroll2().value()); });
}

}  // namespace harumado::readaloud
