#pragma once
// A control of a window model: its layout data, its state, and its events.
//
// The program sets state through the setters; a setter that changes a check box's or slider's
// value, or a field's text, raises the same event as the user's action would. The platform
// reports user actions through the User... entry points. Every change is reported to the bound
// view (the native control, or nothing on the simulated desktop).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace harumado::ui {

enum class ControlKind {
  kTextField,
  kButton,           // standard push button (platform look)
  kGraphicalButton,  // drawn with its back colour and picture
  kCheckBox,
  kLabel,
  kSlider,  // horizontal scroll bar
  kPicture,
  kImage,
  kTimer,
};

struct Color {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Color&) const = default;
};

struct Font {
  std::wstring face;  // empty: the window's font
  int charset = 128;
  double size_pt = 9;
  int weight = 400;
  bool operator==(const Font&) const = default;
};

struct TwipsRect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const TwipsRect&) const = default;
};

enum class ImeMode { kDefault, kHalfWidthAlphanumeric };

// What changed, for the view.
enum class Property {
  kText,
  kValue,
  kRange,
  kBackColor,
  kForeColor,
  kTooltip,
  kLocked,
  kSelection,
  kEnabled,
  kInterval,
};

class Window;
class Control;

class ControlView {
 public:
  virtual ~ControlView() = default;
  virtual void OnControlChanged(Control& control, Property property) = 0;
};

// Layout data of a control, as the window is created.
struct ControlSpec {
  std::wstring name;
  ControlKind kind = ControlKind::kLabel;
  std::wstring text;  // caption or text
  TwipsRect rect;
  int tab_index = 0;
  std::optional<Color> back;
  std::optional<Color> fore;
  std::optional<Font> font;
  std::wstring tooltip;
  int value = 0;
  std::wstring picture;  // resource name
  bool multiline = false;
  bool horizontal_scroll = false;
  bool wrap_caption = false;
  ImeMode ime = ImeMode::kDefault;
  bool enabled = true;
  int interval = 0;  // timers, ms
  bool box_only = false;
};

class Control {
 public:
  Control(Window& window, ControlSpec spec);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const ControlSpec& spec() const { return spec_; }
  const std::wstring& name() const { return spec_.name; }
  ControlKind kind() const { return spec_.kind; }
  Window& window() { return window_; }
  bool focusable() const;

  // Caption (buttons, check boxes, labels) or text (fields).
  const std::wstring& text() const { return text_; }
  void SetText(const std::wstring& text);
  int value() const { return value_; }
  void SetValue(int value);
  int min() const { return min_; }
  int max() const { return max_; }
  void SetMin(int v);
  void SetMax(int v);
  std::optional<Color> back_color() const { return back_; }
  void SetBackColor(Color c);
  std::optional<Color> fore_color() const { return fore_; }
  void SetForeColor(Color c);
  const std::wstring& tooltip() const { return tooltip_; }
  void SetTooltip(const std::wstring& t);
  bool locked() const { return locked_; }
  void SetLocked(bool locked);
  int sel_start() const { return sel_start_; }
  int sel_length() const { return sel_length_; }
  void SetSelection(int start, int length);
  bool enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  int interval() const { return interval_; }
  void SetInterval(int ms);
  void SetFocus();

  // Events, wired by the window's controller.
  std::function<void()> on_click;
  std::function<void()> on_mouse_down;
  std::function<void()> on_mouse_up;
  std::function<void()> on_change;
  std::function<void()> on_scroll;
  std::function<void()> on_timer;
  // Gets the typed character; set it to 0 to discard it.
  std::function<void(wchar_t&)> on_key_press;

  // User actions, reported by the platform.
  void UserMouseDown();
  void UserMouseUp();
  void UserClick();  // a check box toggles first, which raises its click
  void UserType(wchar_t ch);
  void UserKeyDelete();
  void UserInsert(const std::wstring& text);  // context-menu paste: no key filtering
  void UserSlide(int value);
  void UserTick();
  // The native control's text changed by the user's editing (platform-side editing).
  void UserEditedText(const std::wstring& text, int caret);

 private:
  void Notify(Property p);
  void Raise(const std::function<void()>& handler);
  void ReplaceSelection(const std::wstring& insert);

  Window& window_;
  ControlSpec spec_;
  std::wstring text_;
  int value_ = 0;
  int min_ = 0;
  int max_ = 32767;
  std::optional<Color> back_;
  std::optional<Color> fore_;
  std::wstring tooltip_;
  bool locked_ = false;
  int sel_start_ = 0;
  int sel_length_ = 0;
  bool enabled_ = true;
  int interval_ = 0;
};

}  // namespace harumado::ui
