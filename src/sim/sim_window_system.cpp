#include "sim/sim_window_system.h"

#include "platform/ui/dpi_scale.h"
#include "runtime/automation_error.h"

namespace harumado::sim {
namespace {

std::wstring Hex(std::intptr_t h) {
  wchar_t buf[32];
  std::swprintf(buf, 32, L"0x%llX", static_cast<unsigned long long>(h));
  return buf;
}

const wchar_t* PropertyName(ui::Property p) {
  switch (p) {
    case ui::Property::kText:
      return L"text";
    case ui::Property::kValue:
      return L"value";
    case ui::Property::kRange:
      return L"range";
    case ui::Property::kBackColor:
      return L"back";
    case ui::Property::kForeColor:
      return L"fore";
    case ui::Property::kTooltip:
      return L"tooltip";
    case ui::Property::kLocked:
      return L"locked";
    case ui::Property::kSelection:
      return L"selection";
    case ui::Property::kEnabled:
      return L"enabled";
    case ui::Property::kInterval:
      return L"interval";
  }
  return L"?";
}

}  // namespace

SimWindowSystem::SimWindowSystem(World& world) : world_(world) {}

platform::WindowHandle SimWindowSystem::Create(ui::Window& model) {
  next_handle_ += 0x10;
  const platform::WindowHandle h = next_handle_;
  SimWindow w;
  w.model = &model;
  w.proc = kDefaultProc;
  w.dpi = dpi;
  const auto& spec = model.spec();
  const bool framed = spec.frame == ui::Frame::kFixedSingle;
  const platform::Rect size = LayoutSize(spec, dpi);
  int left = 0;
  int top = 0;
  if (spec.client_left && spec.client_top) {
    left =
        ui::TwipsToPixels(*spec.client_left, dpi) - (framed ? ui::ScalePixels(kClientDx, dpi) : 0);
    top = ui::TwipsToPixels(*spec.client_top, dpi) - (framed ? ui::ScalePixels(kClientDy, dpi) : 0);
  }
  w.rect = {left, top, left + size.width(), top + size.height()};
  windows_[h] = w;
  model.set_view(this);
  for (auto& c : model.controls()) {
    if (c->kind() == ui::ControlKind::kTimer) Reschedule(*c);
  }
  world_.Trace(L"create window " + model.name() + L" " + Hex(h));
  return h;
}

platform::Rect SimWindowSystem::LayoutSize(const ui::WindowSpec& spec, int dpi) {
  const bool framed = spec.frame == ui::Frame::kFixedSingle;
  const int width =
      ui::TwipsToPixels(spec.client_width, dpi) + (framed ? ui::ScalePixels(kExtraWidth, dpi) : 0);
  const int height = ui::TwipsToPixels(spec.client_height, dpi) +
                     (framed ? ui::ScalePixels(kExtraHeight, dpi) : 0);
  return {0, 0, width, height};
}

void SimWindowSystem::ChangeDpi(platform::WindowHandle window, int new_dpi) {
  SimWindow* w = Find(window);
  if (w == nullptr) return;
  w->dpi = new_dpi;
  const platform::Rect size = LayoutSize(w->model->spec(), new_dpi);
  w->rect = {w->rect.left, w->rect.top, w->rect.left + size.width(), w->rect.top + size.height()};
  world_.Trace(L"dpi " + w->model->name() + L" " + std::to_wstring(new_dpi) + L" size " +
               std::to_wstring(size.width()) + L"x" + std::to_wstring(size.height()));
}

void SimWindowSystem::Destroy(platform::WindowHandle window) {
  auto it = windows_.find(window);
  if (it == windows_.end()) return;
  world_.Trace(L"destroy window " + it->second.model->name());
  for (auto t = timers_.begin(); t != timers_.end();) {
    if (&t->first->window() == it->second.model) {
      t = timers_.erase(t);
    } else {
      ++t;
    }
  }
  windows_.erase(it);
}

SimWindow* SimWindowSystem::Find(platform::WindowHandle window) {
  auto it = windows_.find(window);
  return it == windows_.end() ? nullptr : &it->second;
}

SimWindow* SimWindowSystem::FindByModel(const ui::Window& model) {
  for (auto& [h, w] : windows_) {
    if (w.model == &model) return &w;
  }
  return nullptr;
}

void SimWindowSystem::Show(platform::WindowHandle window) {
  if (SimWindow* w = Find(window)) {
    w->visible = true;
    world_.Trace(L"show " + w->model->name());
  }
}

void SimWindowSystem::Hide(platform::WindowHandle window) {
  if (SimWindow* w = Find(window)) {
    w->visible = false;
    world_.Trace(L"hide " + w->model->name());
  }
}

// Like GetWindowRect, fails for a handle that is no window.
platform::Rect SimWindowSystem::GetWindowRect(platform::WindowHandle window) {
  if (SimWindow* w = Find(window)) return w->rect;
  throw rt::AutomationError(5, L"invalid window handle");
}

void SimWindowSystem::MoveWindow(platform::WindowHandle window, int left, int top, int width,
                                 int height, bool) {
  if (SimWindow* w = Find(window)) {
    w->rect = {left, top, left + width, top + height};
    world_.Trace(L"move " + w->model->name() + L" " + std::to_wstring(left) + L"," +
                 std::to_wstring(top) + L" " + std::to_wstring(width) + L"x" +
                 std::to_wstring(height));
  }
}

void SimWindowSystem::SetTopmost(platform::WindowHandle window, bool topmost) {
  if (SimWindow* w = Find(window)) {
    w->topmost = topmost;
    world_.Trace(L"z-order " + w->model->name() + (topmost ? L" topmost" : L" normal"));
  }
}

void SimWindowSystem::SetForegroundWindow(platform::WindowHandle window) {
  world_.foreground = window;
  world_.Trace(L"foreground " + Hex(window));
}

void SimWindowSystem::PostMessage(platform::WindowHandle window, std::uint32_t message,
                                  std::uintptr_t wparam, std::intptr_t) {
  std::wstring what = L"post " + Hex(window) + L" msg " + Hex(message) + L" " + Hex(wparam);
  world_.posted.push_back(what);
  world_.Trace(what);
}

std::wstring SimWindowSystem::GetWindowText(platform::WindowHandle window, int max_chars) {
  std::wstring title;
  if (SimWindow* w = Find(window)) {
    title = w->model->spec().caption;
  } else if (!world_.foreign_title || !world_.foreign_title(window, title)) {
    return L"";
  }
  // The buffer holds max_chars characters including the terminating zero.
  if (max_chars <= 0) return L"";
  if (static_cast<int>(title.size()) > max_chars - 1) title.resize(max_chars - 1);
  return title;
}

// The modal loop of a message box: an idle dispatching point until the user presses OK. The box
// goes with the process when the program ends meanwhile (a window closed under it).
void SimWindowSystem::MessageBox(const std::wstring& text, const std::wstring& title) {
  message_box = MessageBoxState{text, title};
  world_.Trace(L"message box \"" + text + L"\" \"" + title + L"\"");
  while (message_box && !world_.exited) world_.Idle();
  if (message_box) {
    message_box.reset();
    world_.Trace(L"message box gone with the process");
  }
}

void SimWindowSystem::DoEvents() { world_.Dispatch(); }

void SimWindowSystem::Sleep(int ms) {
  world_.Trace(L"sleep " + std::to_wstring(ms));
  world_.Wait(ms);
}

std::vector<platform::Rect> SimWindowSystem::Monitors() { return monitors; }

int SimWindowSystem::Dpi(platform::WindowHandle window) {
  const SimWindow* w = Find(window);
  return w != nullptr ? w->dpi : dpi;
}

void SimWindowSystem::OnControlChanged(ui::Control& control, ui::Property property) {
  if (world_.tracing) {
    std::wstring v;
    switch (property) {
      case ui::Property::kText:
        v = L"\"" + control.text() + L"\"";
        break;
      case ui::Property::kValue:
        v = std::to_wstring(control.value());
        break;
      case ui::Property::kTooltip:
        v = L"\"" + control.tooltip() + L"\"";
        break;
      case ui::Property::kBackColor:
      case ui::Property::kForeColor: {
        auto c = property == ui::Property::kBackColor ? control.back_color() : control.fore_color();
        if (c)
          v = std::to_wstring(c->r) + L"," + std::to_wstring(c->g) + L"," + std::to_wstring(c->b);
        break;
      }
      case ui::Property::kEnabled:
        v = control.enabled() ? L"true" : L"false";
        break;
      case ui::Property::kInterval:
        v = std::to_wstring(control.interval());
        break;
      case ui::Property::kLocked:
        v = control.locked() ? L"true" : L"false";
        break;
      default:
        break;
    }
    world_.Trace(control.window().name() + L"." + control.name() + L" " + PropertyName(property) +
                 L" " + v);
  }
  if (control.kind() == ui::ControlKind::kTimer &&
      (property == ui::Property::kEnabled || property == ui::Property::kInterval)) {
    Reschedule(control);
  }
}

void SimWindowSystem::Reschedule(ui::Control& timer) {
  if (timer.enabled() && timer.interval() > 0) {
    auto& t = timers_[&timer];
    t.next = world_.now() + timer.interval();
  } else {
    timers_.erase(&timer);
  }
}

std::optional<Millis> SimWindowSystem::NextTick() const {
  std::optional<Millis> best;
  for (const auto& [c, t] : timers_) {
    if (t.tick_pending) continue;
    if (!best || t.next < *best) best = t.next;
  }
  return best;
}

void SimWindowSystem::PostDueTicks(Millis until) {
  for (auto& [control, t] : timers_) {
    if (t.next > until) continue;
    const Millis interval = control->interval() > 0 ? control->interval() : 1;
    while (t.next <= until) t.next += interval;
    if (t.tick_pending) continue;
    t.tick_pending = true;
    ui::Control* timer = control;
    world_.Post(timer->name() + L" tick", [this, timer] {
      auto it = timers_.find(timer);
      if (it == timers_.end()) return;
      it->second.tick_pending = false;
      timer->UserTick();
    });
  }
}

}  // namespace harumado::sim
