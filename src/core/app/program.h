#pragma once
// The program: the platform services, the three windows and the state of the code modules.
//
// Window lifetimes: the main window is created and loaded by Start. The usage window and the
// speech window are created hidden and loaded the first time code touches them (form2(),
// form3()); Unload runs a window's unload handler, destroys its native window and retires the
// controller. A retired controller stays in memory until the program is idle at its top level
// (OnIdle), so a handler that unloads its own window never runs on freed state.
#include <memory>
#include <vector>

#include "core/paste/engine_state.h"
#include "core/readaloud/hook_state.h"
#include "platform/services.h"
#include "platform/ui/window.h"

namespace harumado::app {

class Form1;
}
namespace harumado::ui {
class Form2;
}
namespace harumado::readaloud {
class Form3;
}

namespace harumado::app {

class Program {
 public:
  explicit Program(platform::Services& services);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  platform::Services& os;

  // Creates the main window and runs its load (start-up).
  void Start();
  bool exited() const { return exited_; }
  // Ends the program: every window is destroyed, the process ends.
  void Exit();

  Form1& form1() { return *form1_; }
  ui::Form2& form2();
  readaloud::Form3& form3();
  ui::Form2* loaded_form2() { return form2_.get(); }
  readaloud::Form3* loaded_form3() { return form3_.get(); }

  void UnloadForm1();
  void UnloadForm2();
  void UnloadForm3();

  // The loaded window model with this name (Form1, Form2, Form3), or nullptr.
  ui::Window* FindWindow(const std::wstring& name);
  ui::Control* focused() const { return focused_; }

  // Drops retired windows; call only when no handler runs.
  void OnIdle();

  paste::EngineState paste;   // the paste engine's state (Module1)
  readaloud::HookState hook;  // the clipboard hook's state (Module3)

 private:
  void Bind(ui::Window& window);
  void Forget(ui::Window& window);

  std::unique_ptr<Form1> form1_;
  std::unique_ptr<ui::Form2> form2_;
  std::unique_ptr<readaloud::Form3> form3_;
  bool form1_unloading_ = false;
  bool form2_unloading_ = false;
  bool form3_unloading_ = false;
  std::vector<std::shared_ptr<void>> retired_;
  ui::Control* focused_ = nullptr;
  bool exited_ = false;
};

}  // namespace harumado::app
