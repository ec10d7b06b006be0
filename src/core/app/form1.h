#pragma once
// The main window's controller: its window model, the shared state and every event handler of
// its controls. The handlers are defined beside the behaviour they belong to:
//   app/startup.cpp            Form_Load
//   app/shutdown.cpp           Form_Unload
//   app/input_fields.cpp       Text1, Text2, Text3
//   workbook/start_stop_toggle.cpp  Command5_Click
//   workbook/workbook_open.cpp      Command8_Click
//   paste/mode_selector.cpp    Check2_Click
//   paste/cell_frame.cpp       Command1_Click
//   columns/column_fit_button.cpp   Command2_Click
//   readaloud/read_aloud_toggle.cpp Check3_Click
//   ui/z_order.cpp             Check4_Click, ApplyZOrder, ApplyZOrderToWindows
//   ui/window_follow.cpp       Timer1_Timer, Timer2_Timer, PlaceBesideMain
//   ui/usage_button.cpp        Command10_Click, Command10_MouseUp
#include <memory>
#include <string>

#include "core/app/shared_state.h"
#include "platform/ui/window.h"

namespace harumado::ui::placement {
struct Beside;
}

namespace harumado::app {

class Program;

class Form1 {
 public:
  explicit Form1(Program& program);
  ~Form1();

  Program& program;
  SharedState state;
  // The first attach to Excel has waited once for this window.
  bool FirstAttachDone = false;

  ui::Window& window() { return *window_; }
  ui::Control& Text1() { return *text1_; }
  ui::Control& Text2() { return *text2_; }
  ui::Control& Text3() { return *text3_; }
  ui::Control& Command1() { return (*window_)[L"Command1"]; }
  ui::Control& Command2() { return (*window_)[L"Command2"]; }
  ui::Control& Command5() { return *command5_; }
  ui::Control& Command8() { return (*window_)[L"Command8"]; }
  ui::Control& Command10() { return (*window_)[L"Command10"]; }
  ui::Control& Check2() { return *check2_; }
  ui::Control& Check3() { return *check3_; }
  ui::Control& Check4() { return *check4_; }
  ui::Control& Timer1() { return (*window_)[L"Timer1"]; }
  ui::Control& Timer2() { return (*window_)[L"Timer2"]; }

  // Start-up and shutdown.
  void Form_Load();
  void Form_Unload();

  // Input fields.
  void Text1_KeyPress(wchar_t& key);
  void Text1_Change();
  void Text1_MouseDown();
  void Text1_Click();
  void Text3_MouseDown();
  void Text3_Click();
  void Text2_MouseUp();
  void StopByMousePress();

  // Start/stop toggle and workbook open step.
  void Command5_Click();
  void Command8_Click();
  void ShowStoppedLook();
  void ShowPastingLook();

  // Paste mode selector and cell frame.
  void Check2_Click();
  void Command1_Click();
  // The open step run by a button of the main window other than the start/stop button (the
  // cell-frame button, or Command8 itself reached with the keyboard): an error it passes on is
  // shown as the start/stop press shows it. False when it was.
  bool RunOpenStepShowingErrors();

  // Column fit.
  void Command2_Click();

  // Read-aloud toggle.
  void Check3_Click();

  // Z-order, window following, usage window.
  void Check4_Click();
  void ApplyZOrder();
  // The z-order choice applied to the three windows, without its message.
  void ApplyZOrderToWindows();
  void Timer1_Timer();
  void Timer2_Timer();
  // Moves a side window beside this window, at the side window's display scale.
  void PlaceBesideMain(ui::Window& side, const ui::placement::Beside& where);
  void Command10_Click();
  void Command10_MouseUp();

  // Text2 in the error colour.
  void ShowError(const std::wstring& text);

 private:
  void Wire();

  std::unique_ptr<ui::Window> window_;
  ui::Control* text1_;
  ui::Control* text2_;
  ui::Control* text3_;
  ui::Control* command5_;
  ui::Control* check2_;
  ui::Control* check3_;
  ui::Control* check4_;
};

}  // namespace harumado::app
