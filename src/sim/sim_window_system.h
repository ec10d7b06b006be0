#pragma once
// The simulated window system: the program's windows with their frames, visibility and the
// topmost band, timers on the virtual clock, the message box, focus and event dispatch.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/dpi_scale.h"
#include "platform/ui/window.h"
#include "platform/window_system.h"
#include "sim/world.h"

namespace harumado::sim {

struct SimWindow {
  ui::Window* model = nullptr;
  platform::Rect rect;
  bool visible = false;
  bool topmost = false;
  int dpi = ui::kBaseDpi;   // the display scale of the monitor it stands on
  std::uintptr_t proc = 0;  // current window procedure (kDefaultProc: the window's own)
};

inline constexpr std::uintptr_t kDefaultProc = 1;

struct MessageBoxState {
  std::wstring text;
  std::wstring title;
};

class SimWindowSystem : public platform::WindowSystem, public ui::ControlView {
 public:
  explicit SimWindowSystem(World& world);

  // Frame metrics of a window with a fixed single frame and a title bar, at 96 dpi; at another
  // display scale they scale as every other length.
  static constexpr int kClientDx = 3;
  static constexpr int kClientDy = 26;
  static constexpr int kExtraWidth = 7;
  static constexpr int kExtraHeight = 30;

  platform::WindowHandle Create(ui::Window& model) override;
  void Destroy(platform::WindowHandle window) override;
  void Show(platform::WindowHandle window) override;
  void Hide(platform::WindowHandle window) override;
  platform::Rect GetWindowRect(platform::WindowHandle window) override;
  void MoveWindow(platform::WindowHandle window, int left, int top, int width, int height,
                  bool repaint) override;
  void SetTopmost(platform::WindowHandle window, bool topmost) override;
  void SetForegroundWindow(platform::WindowHandle window) override;
  void PostMessage(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wparam,
                   std::intptr_t lparam) override;
  std::wstring GetWindowText(platform::WindowHandle window, int max_chars) override;
  void MessageBox(const std::wstring& text, const std::wstring& title) override;
  void DoEvents() override;
  void Sleep(int ms) override;
  std::vector<platform::Rect> Monitors() override;
  int Dpi(platform::WindowHandle window) override;

  void OnControlChanged(ui::Control& control, ui::Property property) override;

  // The program's window with this handle, or nullptr.
  SimWindow* Find(platform::WindowHandle window);
  SimWindow* FindByModel(const ui::Window& model);

  std::vector<platform::Rect> monitors{{0, 0, 1920, 1080}};
  // The display scale of every monitor (the setup statement dpi N); windows are created at it.
  int dpi = ui::kBaseDpi;
  // The window has come onto a monitor of another scale: it keeps its left-top and gets the
  // size its layout has at the new scale, as a window told of a DPI change does.
  void ChangeDpi(platform::WindowHandle window, int new_dpi);
  std::optional<MessageBoxState> message_box;

  // Timers: the next tick of every enabled timer with an interval.
  std::optional<Millis> NextTick() const;
  // Posts a tick for each timer due by `until` (one pending tick per timer at most).
  void PostDueTicks(Millis until);

 private:
  void Reschedule(ui::Control& timer);
  // The outer size of the window's layout at the display scale.
  static platform::Rect LayoutSize(const ui::WindowSpec& spec, int dpi);

  World& world_;
  std::map<platform::WindowHandle, SimWindow> windows_;
  platform::WindowHandle next_handle_ = 0x10000;
  struct TimerState {
    Millis next = 0;
    bool tick_pending = false;
  };
  std::map<ui::Control*, TimerState> timers_;
};

}  // namespace harumado::sim
