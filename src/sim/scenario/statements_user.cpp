// Scenario statements of the user's actions on the program's windows: clicks, mouse buttons,
// typing, keys, the paste menu, sliders, drags, closing and dismissing.
#include <algorithm>
#include <functional>
#include <limits>

#include "core/app/form1.h"
#include "sim/scenario/registry.h"
#include "sim/scenario/runner.h"

namespace harumado::sim::scenario {
namespace {

Verb User(std::function<Action(Args&)> parse) { return Verb{Category::kUser, std::move(parse)}; }

// A control below or right of its window's client area is reached with the keyboard.
bool OutsideClientArea(ui::Control& c) {
  const auto& w = c.window().spec();
  return c.spec().rect.top >= w.client_height || c.spec().rect.left >= w.client_width;
}

Action ParseClick(Args& a) {
  const std::wstring name = a.Word();
  a.End();
  return [name](Runner& r) {
    ui::Control& c = r.ResolveControl(name);
    r.RequireShown(c.window());
    if (OutsideClientArea(c)) {
      c.SetFocus();
      if (c.kind() == ui::ControlKind::kCheckBox) {
        c.UserClick();
      } else if (c.on_click) {
        c.on_click();
      }
      return;
    }
    c.UserMouseDown();
    c.UserMouseUp();
    c.UserClick();
  };
}

Action ParseMouse(Args& a, bool down) {
  const std::wstring name = a.Word();
  a.End();
  return [name, down](Runner& r) {
    ui::Control& c = r.ResolveControl(name);
    r.RequireShown(c.window());
    if (down) {
      c.UserMouseDown();
    } else {
      c.UserMouseUp();
    }
  };
}

Action ParseType(Args& a) {
  const std::wstring name = a.Word();
  const std::wstring text = a.String();
  a.End();
  return [name, text](Runner& r) {
    ui::Control& c = r.ResolveControl(name);
    r.RequireShown(c.window());
    c.SetFocus();
    for (wchar_t ch : text) c.UserType(ch);
  };
}

Action ParseKey(Args& a) {
  const std::wstring name = a.Word();
  const std::wstring key = a.Word();
  a.End();
  if (key != L"Delete" && key != L"Backspace")
    throw StatementError(L"key Delete|Backspace expected");
  return [name, key](Runner& r) {
    ui::Control& c = r.ResolveControl(name);
    r.RequireShown(c.window());
    c.SetFocus();
    if (key == L"Delete") {
      c.UserKeyDelete();
    } else {
      c.UserType(L'\b');
    }
  };
}

Action ParseMenuPaste(Args& a) {
  const std::wstring name = a.Word();
  const std::wstring text = a.String();
  a.End();
  return [name, text](Runner& r) {
    ui::Control& c = r.ResolveControl(name);
    r.RequireShown(c.window());
    c.UserInsert(text);
  };
}

Action ParseSlide(Args& a) {
  const std::wstring name = a.Word();
  const int value = a.Int();
  a.End();
  return [name, value](Runner& r) {
    ui::Control& c = r.ResolveControl(name);
    r.RequireShown(c.window());
    c.UserSlide(value);
  };
}

// The window's rectangle with its outer left-top moved to x, y and its size kept. Its right and
// bottom edges are computed in 64 bits; a position so far out that an edge would pass the range
// of a coordinate stops where the edge reaches that range.
platform::Rect DraggedTo(const platform::Rect& rect, int x, int y) {
  constexpr long long kMax = std::numeric_limits<int>::max();
  const long long width = static_cast<long long>(rect.right) - rect.left;
  const long long height = static_cast<long long>(rect.bottom) - rect.top;
  const long long left = std::min<long long>(x, kMax - width);
  const long long top = std::min<long long>(y, kMax - height);
  return platform::Rect{static_cast<int>(left), static_cast<int>(top),
                        static_cast<int>(left + width), static_cast<int>(top + height)};
}

Action ParseDrag(Args& a) {
  const std::wstring name = a.Word();
  const int x = a.Int();
  const int y = a.Int();
  a.End();
  return [name, x, y](Runner& r) {
    ui::Window* w = r.FindWindow(name);
    if (w == nullptr) r.Abort(L"window " + name + L" does not exist");
    r.RequireShown(*w);
    SimWindow* sw = r.desktop().windows.FindByModel(*w);
    sw->rect = DraggedTo(sw->rect, x, y);
    r.desktop().world.Trace(L"user drags " + name);
  };
}

Action ParseClose(Args& a) {
  const std::wstring name = a.Word();
  a.End();
  return [name](Runner& r) {
    ui::Window* w = r.FindWindow(name);
    if (w == nullptr) r.Abort(L"window " + name + L" does not exist");
    r.RequireShown(*w);
    r.desktop().world.Trace(L"user closes " + name);
    if (w->on_close_request) {
      auto close = w->on_close_request;
      close();
    }
  };
}

Action ParseDismiss(Args& a) {
  a.End();
  return [](Runner& r) {
    auto& windows = r.desktop().windows;
    if (!windows.message_box) r.Abort(L"no message box is open");
    windows.message_box.reset();
    r.desktop().world.Trace(L"message box dismissed");
  };
}

}  // namespace

void RegisterUserActionStatements(Registry& reg) {
  auto& v = reg.verbs;
  v[L"click"] = User(ParseClick);
  v[L"mousedown"] = User([](Args& a) { return ParseMouse(a, true); });
  v[L"mouseup"] = User([](Args& a) { return ParseMouse(a, false); });
  v[L"type"] = User(ParseType);
  v[L"key"] = User(ParseKey);
  v[L"menu-paste"] = User(ParseMenuPaste);
  v[L"slide"] = User(ParseSlide);
  v[L"drag"] = User(ParseDrag);
  v[L"close"] = User(ParseClose);
  v[L"dismiss"] = User(ParseDismiss);
}

}  // namespace harumado::sim::scenario
