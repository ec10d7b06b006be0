// The speech window. (Not built yet: load, voice, sliders, speaking.)
#include "core/readaloud/form3.h"

#include "core/ui/layouts.h"

namespace harumado::readaloud {

Form3::Form3(app::Program& p) : program(p), window_(ui::MakeSpeechWindowLayout()) {}
Form3::~Form3() = default;

void Form3::Form_Load() {}
void Form3::Form_Unload() {}
void Form3::OnClipboardChange() {}
void Form3::Form3_StopSpeech() {}
void Form3::Command1_Click() {}
void Form3::Command2_Click() {}
void Form3::HScroll1_Change() {}
void Form3::HScroll2_Change() {}

}  // namespace harumado::readaloud
