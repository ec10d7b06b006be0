#include "platform/ui/control.h"

#include <algorithm>

#include "platform/ui/window.h"

namespace harumado::ui {

Control::Control(Window& window, ControlSpec spec)
    : window_(window),
      spec_(std::move(spec)),
      text_(spec_.text),
      value_(spec_.value),
      back_(spec_.back),
      fore_(spec_.fore),
      tooltip_(spec_.tooltip),
      enabled_(spec_.enabled),
      interval_(spec_.interval) {}

bool Control::focusable() const {
  switch (spec_.kind) {
    case ControlKind::kTextField:
    case ControlKind::kButton:
    case ControlKind::kGraphicalButton:
    case ControlKind::kCheckBox:
    case ControlKind::kSlider:
      return true;
    default:
      return false;
  }
}

void Control::Notify(Property p) {
  if (ControlView* v = window_.view()) v->OnControlChanged(*this, p);
}

// Handlers are copied before the call: a handler may rewire or retire its own window.
void Control::Raise(const std::function<void()>& handler) {
  if (handler) {
    auto h = handler;
    h();
  }
}

// Only a text field raises a change event when the program writes its text; writing back an
// unchanged text raises none.
void Control::SetText(const std::wstring& text) {
  if (text == text_) return;
  text_ = text;
  sel_start_ = std::min<int>(sel_start_, static_cast<int>(text_.size()));
  sel_length_ = 0;
  Notify(Property::kText);
  if (spec_.kind == ControlKind::kTextField) Raise(on_change);
}

// Setting the value of a check box raises its click, of a slider its change, as the user's
// action would, but only when the value changes.
void Control::SetValue(int value) {
  if (value == value_) return;
  value_ = value;
  Notify(Property::kValue);
  if (spec_.kind == ControlKind::kCheckBox) {
    Raise(on_click);
  } else if (spec_.kind == ControlKind::kSlider) {
    Raise(on_change);
  }
}

void Control::SetMin(int v) {
  min_ = v;
  Notify(Property::kRange);
}

void Control::SetMax(int v) {
  max_ = v;
  Notify(Property::kRange);
}

void Control::SetBackColor(Color c) {
  back_ = c;
  Notify(Property::kBackColor);
}

void Control::SetForeColor(Color c) {
  fore_ = c;
  Notify(Property::kForeColor);
}

void Control::SetTooltip(const std::wstring& t) {
  tooltip_ = t;
  Notify(Property::kTooltip);
}

void Control::SetLocked(bool locked) {
  locked_ = locked;
  Notify(Property::kLocked);
}

void Control::SetSelection(int start, int length) {
  const int size = static_cast<int>(text_.size());
  sel_start_ = std::clamp(start, 0, size);
  sel_length_ = std::clamp(length, 0, size - sel_start_);
  Notify(Property::kSelection);
}

void Control::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Notify(Property::kEnabled);
}

void Control::SetInterval(int ms) {
  interval_ = ms;
  Notify(Property::kInterval);
}

void Control::SetFocus() {
  if (window_.on_focus) window_.on_focus(*this);
}

void Control::UserMouseDown() {
  if (focusable()) SetFocus();
  Raise(on_mouse_down);
}

void Control::UserMouseUp() { Raise(on_mouse_up); }

void Control::UserClick() {
  if (spec_.kind == ControlKind::kCheckBox) {
    SetValue(value_ == 0 ? 1 : 0);
  } else {
    Raise(on_click);
  }
}

void Control::ReplaceSelection(const std::wstring& insert) {
  std::wstring next = text_.substr(0, sel_start_) + insert + text_.substr(sel_start_ + sel_length_);
  const int caret = sel_start_ + static_cast<int>(insert.size());
  if (next == text_) return;
  text_ = std::move(next);
  sel_start_ = std::min<int>(caret, static_cast<int>(text_.size()));
  sel_length_ = 0;
  Notify(Property::kText);
  Raise(on_change);
}

// A typed character passes the key-press handler first, which may discard it.
void Control::UserType(wchar_t ch) {
  if (on_key_press) {
    auto h = on_key_press;
    h(ch);
  }
  if (ch == 0 || locked_ || spec_.kind != ControlKind::kTextField) return;
  if (ch == L'\b') {
    if (sel_length_ == 0 && sel_start_ > 0) {
      --sel_start_;
      sel_length_ = 1;
    }
    ReplaceSelection(L"");
    return;
  }
  if (ch < 0x20 && !(spec_.multiline && (ch == L'\r' || ch == L'\t'))) return;
  ReplaceSelection(std::wstring(1, ch));
}

void Control::UserKeyDelete() {
  if (locked_ || spec_.kind != ControlKind::kTextField) return;
  if (sel_length_ == 0) {
    if (sel_start_ >= static_cast<int>(text_.size())) return;
    sel_length_ = 1;
  }
  ReplaceSelection(L"");
}

void Control::UserInsert(const std::wstring& text) {
  if (locked_ || spec_.kind != ControlKind::kTextField) return;
  ReplaceSelection(text);
}

void Control::UserSlide(int value) {
  value = std::clamp(value, min_, max_);
  if (value != value_) {
    value_ = value;
    Notify(Property::kValue);
    Raise(on_scroll);
    Raise(on_change);
  }
}

void Control::UserTick() {
  if (enabled_ && interval_ > 0) Raise(on_timer);
}

void Control::UserEditedText(const std::wstring& text, int caret) {
  if (text == text_) return;
  text_ = text;
  sel_start_ = std::clamp(caret, 0, static_cast<int>(text_.size()));
  sel_length_ = 0;
  Raise(on_change);
}

}  // namespace harumado::ui
