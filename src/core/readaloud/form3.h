#pragma once
// The speech window's controller: the voice, its token list, the sliders and the two buttons.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/ui/window.h"
#include "platform/voice.h"

namespace harumado::app {
class Program;
}

namespace harumado::readaloud {

class Form3 {
 public:
  explicit Form3(app::Program& program);
  ~Form3();

  app::Program& program;
  ui::Window& window() { return *window_; }
  ui::Control& HScroll1() { return (*window_)[L"HScroll1"]; }
  ui::Control& HScroll2() { return (*window_)[L"HScroll2"]; }
  ui::Control& Command1() { return (*window_)[L"Command1"]; }
  ui::Control& Command2() { return (*window_)[L"Command2"]; }

  std::unique_ptr<platform::Voice> Speaker;
  std::vector<std::shared_ptr<platform::VoiceToken>> VoiceTokens;
  std::int16_t VoiceIndex = 0;

  void Form_Load();
  void Form_Unload();
  void OnClipboardChange();
  void Form3_StopSpeech();
  void Command1_Click();
  void Command2_Click();
  void HScroll1_Change();
  void HScroll2_Change();

 private:
  std::unique_ptr<ui::Window> window_;
};

}  // namespace harumado::readaloud
