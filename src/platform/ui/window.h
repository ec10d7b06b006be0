#pragma once
// A window model: its layout data and its controls. The platform builds the native window from
// it and binds itself as the view.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/types.h"
#include "platform/ui/control.h"

namespace harumado::ui {

enum class Frame { kFixedSingle, kBorderless };

struct WindowSpec {
  std::wstring name;  // Form1, Form2, Form3
  std::wstring caption;
  Frame frame = Frame::kFixedSingle;
  bool min_button = false;
  bool max_button = false;
  int client_width = 0;  // twips
  int client_height = 0;
  std::optional<Color> back;
  std::wstring icon;  // resource name
  // Client area's first position on the screen in twips; unset: the platform chooses.
  std::optional<int> client_left;
  std::optional<int> client_top;
};

class Window {
 public:
  explicit Window(WindowSpec spec);
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  const WindowSpec& spec() const { return spec_; }
  const std::wstring& name() const { return spec_.name; }

  Control& Add(ControlSpec spec);
  Control* Find(const std::wstring& name);
  Control& operator[](const std::wstring& name);
  const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
  // The places of the controls in controls(), in tab order (the order of the Tab key, in which
  // the native views create them); controls with the same tab index keep their order.
  std::vector<std::size_t> TabOrder() const;

  platform::WindowHandle handle() const { return handle_; }
  void set_handle(platform::WindowHandle h) { handle_ = h; }
  ControlView* view() const { return view_; }
  void set_view(ControlView* v) { view_ = v; }

  // Focus requests of its controls go to the program's focus keeper.
  std::function<void(Control&)> on_focus;
  // A native view binds itself: from now on each focus request reaches the program's focus
  // keeper first and then moves the native focus (move_native, which must do nothing once the
  // view has gone). Returns the keeper, for the view to tell when the user moves the focus.
  std::function<void(Control&)> ForwardFocusRequests(std::function<void(Control&)> move_native);
  // The user asked to close the window (close box, close key).
  std::function<void()> on_close_request;

 private:
  WindowSpec spec_;
  std::vector<std::unique_ptr<Control>> controls_;
  platform::WindowHandle handle_ = 0;
  ControlView* view_ = nullptr;
};

}  // namespace harumado::ui
