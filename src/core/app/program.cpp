#include "core/app/program.h"

#include "core/app/form1.h"
#include "core/readaloud/form3.h"
#include "core/readaloud/module3.h"
#include "core/ui/form2.h"

namespace harumado::app {

Program::Program(platform::Services& services) : os(services) {}

Program::~Program() = default;

void Program::Bind(ui::Window& window) {
  window.on_focus = [this](ui::Control& c) { focused_ = &c; };
  window.set_handle(os.windows.Create(window));
}

// A window that is gone takes no focus and no close request any more: code that still holds its
// model (a handler that unloaded its own window) touches only the model.
void Program::Forget(ui::Window& window) {
  if (focused_ != nullptr && &focused_->window() == &window) focused_ = nullptr;
  window.on_focus = nullptr;
  window.on_close_request = nullptr;
  if (window.handle() != 0) os.windows.Destroy(window.handle());
  window.set_handle(0);
  window.set_view(nullptr);
}

void Program::Start() {
  form1_ = std::make_unique<Form1>(*this);
  Bind(form1_->window());
  form1_->Form_Load();
}

// Once the program has ended (code that was running when the main window closed, such as the
// paste loop, goes on until it returns), touching a side window makes only its model: no native
// window, no load steps, so nothing is shown, hooked or spoken after the end.
ui::Form2& Program::form2() {
  if (!form2_) {
    form2_ = std::make_unique<ui::Form2>();
    if (exited_) return *form2_;
    Bind(form2_->window());
    // The close key on the usage window unloads it, as the usage button's close branch does.
    form2_->window().on_close_request = [this] { UnloadForm2(); };
  }
  return *form2_;
}

readaloud::Form3& Program::form3() {
  if (!form3_) {
    form3_ = std::make_unique<readaloud::Form3>(*this);
    if (exited_) return *form3_;
    Bind(form3_->window());
    // The close box unloads the speech window; its unload unticks Check3.
    form3_->window().on_close_request = [this] { UnloadForm3(); };
    form3_->Form_Load();
  }
  return *form3_;
}

// A window that is being unloaded stays reachable (and is not unloaded twice) until its unload
// handler has returned; then its native window goes and the controller is retired.
void Program::UnloadForm2() {
  if (!form2_ || form2_unloading_) return;
  form2_unloading_ = true;
  Forget(form2_->window());
  retired_.push_back(std::shared_ptr<void>(std::move(form2_)));
  form2_unloading_ = false;
}

void Program::UnloadForm3() {
  if (!form3_ || form3_unloading_) return;
  form3_unloading_ = true;
  form3_->Form_Unload();
  Forget(form3_->window());
  retired_.push_back(std::shared_ptr<void>(std::move(form3_)));
  form3_unloading_ = false;
}

void Program::UnloadForm1() {
  if (!form1_ || form1_unloading_ || exited_) return;
  form1_unloading_ = true;
  form1_->Form_Unload();
  Exit();
}

// Whatever ended the program, its window leaves the clipboard-viewer chain before it goes: a
// window that vanished from the chain would cut off every viewer after it.
void Program::Exit() {
  if (exited_) return;
  readaloud::UnhookClipboardViewer(*this);
  if (form3_) {
    Forget(form3_->window());
    retired_.push_back(std::shared_ptr<void>(std::move(form3_)));
  }
  if (form2_) {
    Forget(form2_->window());
    retired_.push_back(std::shared_ptr<void>(std::move(form2_)));
  }
  if (form1_) Forget(form1_->window());
  exited_ = true;
  os.system.Exit();
}

ui::Window* Program::FindWindow(const std::wstring& name) {
  if (exited_) return nullptr;
  if (name == L"Form1") return form1_ ? &form1_->window() : nullptr;
  if (name == L"Form2") return form2_ ? &form2_->window() : nullptr;
  if (name == L"Form3") return form3_ ? &form3_->window() : nullptr;
  return nullptr;
}

void Program::OnIdle() { retired_.clear(); }

}  // namespace harumado::app
