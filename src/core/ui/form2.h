#pragma once
// The usage window: one picture, the one-page manual. No behaviour of its own.
#include <memory>

#include "platform/ui/window.h"

namespace harumado::ui {

class Form2 {
 public:
  Form2();
  Window& window() { return *window_; }

 private:
  std::unique_ptr<Window> window_;
};

}  // namespace harumado::ui
