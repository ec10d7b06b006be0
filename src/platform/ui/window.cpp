#include "platform/ui/window.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

namespace harumado::ui {

Window::Window(WindowSpec spec) : spec_(std::move(spec)) {}

Control& Window::Add(ControlSpec spec) {
  controls_.push_back(std::make_unique<Control>(*this, std::move(spec)));
  return *controls_.back();
}

std::vector<std::size_t> Window::TabOrder() const {
  std::vector<std::size_t> order(controls_.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return controls_[a]->spec().tab_index < controls_[b]->spec().tab_index;
  });
  return order;
}

std::function<void(Control&)> Window::ForwardFocusRequests(
    std::function<void(Control&)> move_native) {
  std::function<void(Control&)> keeper = on_focus;
  on_focus = [keeper, move_native = std::move(move_native)](Control& c) {
    if (keeper) keeper(c);
    move_native(c);
  };
  return keeper;
}

Control* Window::Find(const std::wstring& name) {
  for (auto& c : controls_) {
    if (c->name() == name) return c.get();
  }
  return nullptr;
}

Control& Window::operator[](const std::wstring& name) {
  if (Control* c = Find(name)) return *c;
  throw std::logic_error("no such control");
}

}  // namespace harumado::ui
