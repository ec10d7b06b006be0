#include "core/app/form1.h"

#include "core/app/program.h"
#include "core/ui/layouts.h"

namespace harumado::app {

Form1::Form1(Program& p) : program(p), window_(ui::MakeMainWindowLayout()) {
  text1_ = &(*window_)[L"Text1"];
  text2_ = &(*window_)[L"Text2"];
  text3_ = &(*window_)[L"Text3"];
  command5_ = &(*window_)[L"Command5"];
  check2_ = &(*window_)[L"Check2"];
  check3_ = &(*window_)[L"Check3"];
  check4_ = &(*window_)[L"Check4"];
  Wire();
}

Form1::~Form1() = default;

void Form1::Wire() {
  text1_->on_key_press = [this](wchar_t& k) { Text1_KeyPress(k); };
  text1_->on_change = [this] { Text1_Change(); };
  text1_->on_mouse_down = [this] { Text1_MouseDown(); };
  text1_->on_click = [this] { Text1_Click(); };
  text3_->on_mouse_down = [this] { Text3_MouseDown(); };
  text3_->on_click = [this] { Text3_Click(); };
  text2_->on_mouse_up = [this] { Text2_MouseUp(); };
  command5_->on_click = [this] { Command5_Click(); };
  Command8().on_click = [this] { RunOpenStepShowingErrors(); };
  check2_->on_click = [this] { Check2_Click(); };
  Command1().on_click = [this] { Command1_Click(); };
  Command2().on_click = [this] { Command2_Click(); };
  check3_->on_click = [this] { Check3_Click(); };
  check4_->on_click = [this] { Check4_Click(); };
  Timer1().on_timer = [this] { Timer1_Timer(); };
  Timer2().on_timer = [this] { Timer2_Timer(); };
  Command10().on_click = [this] { Command10_Click(); };
  Command10().on_mouse_up = [this] { Command10_MouseUp(); };
  window_->on_close_request = [this] { program.UnloadForm1(); };
}

void Form1::ShowError(const std::wstring& text) {
  Text2().SetForeColor(ui::colors::kErrorRed);
  Text2().SetText(text);
}

void Form1::ShowStoppedLook() {
  Command5().SetText(L"    ファイル名  開く");
  Command5().SetBackColor(ui::colors::kGreen);
}

void Form1::ShowPastingLook() {
  Command5().SetText(L"     貼り付け     開始");
  Command5().SetBackColor(ui::colors::kYellow);
}

}  // namespace harumado::app
