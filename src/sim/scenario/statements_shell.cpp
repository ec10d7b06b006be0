// Scenario statements of the shell: setup of the system, user actions on the windows, and the
// expectations on controls, focus, shared state, windows, the message box and the settings file.
#include <algorithm>
#include <functional>
#include <limits>

#include "core/app/form1.h"
#include "sim/scenario/registry.h"
#include "sim/scenario/runner.h"

namespace harumado::sim::scenario {
namespace {

Verb Setup(std::function<Action(Args&)> parse) { return Verb{Category::kSetup, std::move(parse)}; }
Verb User(std::function<Action(Args&)> parse) { return Verb{Category::kUser, std::move(parse)}; }

// ---- setup -----------------------------------------------------------------------------------

Action ParseWindowsBuild(Args& a) {
  if (a.Word() != L"build") throw StatementError(L"windows build N expected");
  const int build = a.Int();
  std::optional<std::optional<int>> wmi;
  if (a.TakeWord(L"wmi")) {
    if (a.TakeWord(L"none")) {
      wmi = std::optional<int>();
    } else {
      wmi = std::optional<int>(a.Int());
    }
  }
  a.End();
  return [build, wmi](Runner& r) {
    r.desktop().system.version_build = build;
    r.desktop().system.wmi_build = wmi ? *wmi : std::optional<int>(build);
  };
}

Action ParseSettings(Args& a) {
  if (a.TakeWord(L"unreadable")) {
    a.End();
    return [](Runner& r) {
      auto& f = r.desktop().files;
      if (!f.Find(f.SettingsPath())) f.Put(f.SettingsPath(), SimFile{});
      f.settings_unreadable = true;
    };
  }
  const std::string bytes = ScenarioBytes(a.String());
  a.End();
  return [bytes](Runner& r) {
    auto& f = r.desktop().files;
    f.Put(f.SettingsPath(), SimFile{bytes, std::nullopt, false});
  };
}

Action ParseFail(Args& a) {
  if (a.Word() != L"settings") throw StatementError(L"fail settings delete|write expected");
  const std::wstring what = a.Word();
  a.End();
  if (what == L"delete") return [](Runner& r) { r.desktop().files.fail_settings_delete = true; };
  if (what == L"write") return [](Runner& r) { r.desktop().files.fail_settings_write = true; };
  throw StatementError(L"fail settings delete|write expected");
}

// A monitor has a size and its right and bottom edges are coordinates too.
void RequireMonitorRect(int x, int y, int w, int h) {
  constexpr long long kMax = std::numeric_limits<int>::max();
  if (w < 1 || h < 1 || static_cast<long long>(x) + w > kMax ||
      static_cast<long long>(y) + h > kMax) {
    throw StatementError(L"a monitor needs a width and height of 1 or more, its edges within " +
                         std::to_wstring(kMax));
  }
}

// ---- user actions ----------------------------------------------------------------------------

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

// ---- expectations ----------------------------------------------------------------------------

std::wstring TokenText(const Token& t) {
  return t.kind == Token::Kind::kString ? Quote(t.text) : t.text;
}

Action ParseControlExpect(const std::wstring& name, Args& a) {
  std::vector<Action> checks;
  if (a.done()) throw StatementError(L"a property expected after " + name);
  while (!a.done()) {
    if (a.Peek().kind == Token::Kind::kString) {
      std::wstring text = a.String();
      checks.push_back([name, text](Runner& r) {
        ExpectEqual(r, name, Quote(text), Quote(r.ResolveControl(name).text()));
      });
      continue;
    }
    const std::wstring prop = a.Word();
    if (prop == L"caption" || prop == L"text") {
      std::wstring text = a.String();
      checks.push_back([name, prop, text](Runner& r) {
        ExpectEqual(r, name + L" " + prop, Quote(text), Quote(r.ResolveControl(name).text()));
      });
    } else if (prop == L"tooltip") {
      std::wstring text = a.String();
      checks.push_back([name, text](Runner& r) {
        ExpectEqual(r, name + L" tooltip", Quote(text), Quote(r.ResolveControl(name).tooltip()));
      });
    } else if (prop == L"value") {
      const int v = a.Int();
      checks.push_back([name, v](Runner& r) {
        ExpectEqual(r, name + L" value", std::to_wstring(v),
                    std::to_wstring(r.ResolveControl(name).value()));
      });
    } else if (prop == L"back" || prop == L"fore") {
      const ui::Color c = a.Color();
      const bool back = prop == L"back";
      checks.push_back([name, c, back, prop](Runner& r) {
        auto& ctl = r.ResolveControl(name);
        auto got = back ? ctl.back_color() : ctl.fore_color();
        ExpectEqual(r, name + L" " + prop, ColorText(c),
                    got ? ColorText(*got) : L"the default colour");
      });
    } else if (prop == L"locked" || prop == L"unlocked") {
      const bool locked = prop == L"locked";
      checks.push_back([name, locked](Runner& r) {
        const bool got = r.ResolveControl(name).locked();
        ExpectEqual(r, name, locked ? L"locked" : L"unlocked", got ? L"locked" : L"unlocked");
      });
    } else if (prop == L"selection") {
      const int start = a.Int();
      const int length = a.Int();
      checks.push_back([name, start, length](Runner& r) {
        auto& c = r.ResolveControl(name);
        ExpectEqual(r, name + L" selection",
                    std::to_wstring(start) + L" " + std::to_wstring(length),
                    std::to_wstring(c.sel_start()) + L" " + std::to_wstring(c.sel_length()));
      });
    } else if (prop == L"rect") {
      ui::TwipsRect rect;
      rect.left = a.Int();
      rect.top = a.Int();
      rect.width = a.Int();
      rect.height = a.Int();
      checks.push_back([name, rect](Runner& r) {
        auto s = [](const ui::TwipsRect& x) {
          return std::to_wstring(x.left) + L" " + std::to_wstring(x.top) + L" " +
                 std::to_wstring(x.width) + L" " + std::to_wstring(x.height);
        };
        ExpectEqual(r, name + L" rect", s(rect), s(r.ResolveControl(name).spec().rect));
      });
    } else {
      throw StatementError(L"unknown property '" + prop + L"'");
    }
  }
  return [checks](Runner& r) {
    for (const auto& c : checks) c(r);
  };
}

std::wstring ControlName(ui::Control& c) {
  return c.window().name() == L"Form1" ? c.name() : c.window().name() + L"." + c.name();
}

Action ParseExpectFocus(Args& a) {
  const std::wstring name = a.Word();
  a.End();
  return [name](Runner& r) {
    ui::Control* f = r.program() ? r.program()->focused() : nullptr;
    ExpectEqual(r, L"focus", name, f ? ControlName(*f) : L"nothing");
  };
}

// The integer flags of the shared state, by name.
const std::pair<const wchar_t*, std::int32_t app::SharedState::*> kFlags[] = {
    {L"PasteActive", &app::SharedState::PasteActive},
    {L"ToggledOff", &app::SharedState::ToggledOff},
    {L"Unloading", &app::SharedState::Unloading},
    {L"ModeFlag", &app::SharedState::ModeFlag},
    {L"PasteMode", &app::SharedState::PasteMode},
    {L"TopmostFlag", &app::SharedState::TopmostFlag},
    {L"SettingsFound", &app::SharedState::SettingsFound},
    {L"UsageOpen", &app::SharedState::UsageOpen},
    {L"WrapCount", &app::SharedState::WrapCount},
};

// The names that expect state knows.
bool IsStateName(const std::wstring& name) {
  for (const auto& [flag, member] : kFlags) {
    if (name == flag) return true;
  }
  return name == L"PictureFailed" || name == L"YenMarkFound" || name == L"TitleMatch" ||
         name == L"ExcelHwnd";
}

// One NAME VALUE pair of expect state.
Action StateCheck(const std::wstring& name, const Token& value) {
  return [name, value](Runner& r) {
    if (!r.program()) r.Abort(L"the program has not started");
    auto& p = *r.program();
    auto& s = p.form1().state;
    std::optional<long long> number;
    std::optional<std::wstring> text;
    for (const auto& [flag, member] : kFlags) {
      if (name == flag) number = s.*member;
    }
    if (number) {
      // one of the flags above
    } else if (name == L"PictureFailed")
      number = p.paste.PictureFailed;
    else if (name == L"YenMarkFound")
      number = p.paste.YenMarkFound;
    else if (name == L"TitleMatch")
      text = s.TitleMatch;
    else if (name == L"ExcelHwnd") {
      if (value.kind == Token::Kind::kWord && value.text == L"excel") {
        const auto h = r.desktop().excel.ActiveWindowHandle();
        ExpectEqual(r, L"state ExcelHwnd", L"the Excel window " + std::to_wstring(h),
                    s.ExcelHwnd == h && h != 0 ? L"the Excel window " + std::to_wstring(h)
                                               : std::to_wstring(s.ExcelHwnd));
        return;
      }
      number = s.ExcelHwnd;
    } else {
      r.Abort(L"unknown state " + name);
    }
    if (text) {
      ExpectEqual(r, L"state " + name, TokenText(value), Quote(*text));
    } else {
      ExpectEqual(r, L"state " + name,
                  value.kind == Token::Kind::kNumber ? NumberText(value.number) : TokenText(value),
                  std::to_wstring(*number));
    }
  };
}

// expect state NAME VALUE [NAME VALUE]...
Action ParseExpectState(Args& a) {
  std::vector<Action> checks;
  if (a.done()) throw StatementError(L"expect state NAME VALUE expected");
  while (!a.done()) {
    const std::wstring name = a.Word();
    if (!IsStateName(name)) throw StatementError(L"unknown state " + name);
    checks.push_back(StateCheck(name, a.Any()));
  }
  return [checks](Runner& r) {
    for (const auto& c : checks) c(r);
  };
}

// expect window W PROPERTY...: absent|hidden|shown, topmost|normal, at X Y, size W H, in any
// order.
Action ParseExpectWindow(Args& a) {
  const std::wstring name = a.Word();
  using WindowCheck = std::function<void(Runner&, const SimWindow*)>;
  std::vector<WindowCheck> checks;
  if (a.done()) throw StatementError(L"a window property expected after " + name);
  while (!a.done()) {
    const std::wstring what = a.Word();
    if (what == L"absent" || what == L"hidden" || what == L"shown") {
      checks.push_back([name, what](Runner& r, const SimWindow* sw) {
        const std::wstring state = sw == nullptr ? L"absent" : sw->visible ? L"shown" : L"hidden";
        ExpectEqual(r, L"window " + name, what, state);
      });
      continue;
    }
    if (what == L"topmost" || what == L"normal") {
      checks.push_back([name, what](Runner& r, const SimWindow* sw) {
        if (sw == nullptr) return r.Fail(L"window " + name + L" " + what, L"absent");
        ExpectEqual(r, L"window " + name, what, sw->topmost ? L"topmost" : L"normal");
      });
      continue;
    }
    if (what != L"at" && what != L"size") {
      throw StatementError(L"unknown window property '" + what + L"'");
    }
    const int x = a.Int();
    const int y = a.Int();
    const std::wstring want = std::to_wstring(x) + L" " + std::to_wstring(y);
    checks.push_back([name, what, want](Runner& r, const SimWindow* sw) {
      if (sw == nullptr) return r.Fail(L"window " + name + L" " + what + L" " + want, L"absent");
      const platform::Rect& rc = sw->rect;
      const std::wstring got =
          what == L"at" ? std::to_wstring(rc.left) + L" " + std::to_wstring(rc.top)
                        : std::to_wstring(static_cast<long long>(rc.right) - rc.left) + L" " +
                              std::to_wstring(static_cast<long long>(rc.bottom) - rc.top);
      ExpectEqual(r, L"window " + name + L" " + what, want, got);
    });
  }
  return [name, checks](Runner& r) {
    ui::Window* w = r.FindWindow(name);
    const SimWindow* sw = w ? r.desktop().windows.FindByModel(*w) : nullptr;
    for (const auto& c : checks) c(r, sw);
  };
}

Action ParseExpectMessageBox(Args& a) {
  if (a.TakeWord(L"none")) {
    a.End();
    return [](Runner& r) {
      auto& mb = r.desktop().windows.message_box;
      ExpectEqual(r, L"messagebox", L"none",
                  mb ? Quote(mb->text) + L" " + Quote(mb->title) : L"none");
    };
  }
  const std::wstring text = a.String();
  const std::wstring title = a.String();
  a.End();
  return [text, title](Runner& r) {
    auto& mb = r.desktop().windows.message_box;
    ExpectEqual(r, L"messagebox", Quote(text) + L" " + Quote(title),
                mb ? Quote(mb->text) + L" " + Quote(mb->title) : L"none");
  };
}

Action ParseExpectSettings(Args& a) {
  if (a.TakeWord(L"absent")) {
    a.End();
    return [](Runner& r) {
      auto& f = r.desktop().files;
      const SimFile* file = f.Find(f.SettingsPath());
      ExpectEqual(r, L"settings", L"absent", file ? EscapedBytes(file->bytes) : L"absent");
    };
  }
  const std::string bytes = ScenarioBytes(a.String());
  a.End();
  return [bytes](Runner& r) {
    auto& f = r.desktop().files;
    const SimFile* file = f.Find(f.SettingsPath());
    ExpectEqual(r, L"settings", EscapedBytes(bytes), file ? EscapedBytes(file->bytes) : L"absent");
  };
}

Action ParseExpectRunState(Args& a, bool exited) {
  a.End();
  return [exited](Runner& r) {
    const bool got = r.desktop().world.exited;
    ExpectEqual(r, L"", exited ? L"exited" : L"running", got ? L"exited" : L"running");
  };
}

Action ParseExpectClock(Args& a) {
  const double ms = a.Number();
  a.End();
  return [ms](Runner& r) {
    const Millis now = r.desktop().world.now();
    ExpectEqual(r, L"clock", NumberText(ms),
                static_cast<double>(now) == ms ? NumberText(ms) : std::to_wstring(now));
  };
}

// expect foreground excel|Form1|Form2|Form3|none: the window brought to the front last.
Action ParseExpectForeground(Args& a) {
  const std::wstring want = a.Word();
  a.End();
  return [want](Runner& r) {
    const platform::WindowHandle h = r.desktop().world.foreground;
    std::wstring got = h == 0 ? L"none" : L"window " + std::to_wstring(h);
    if (h != 0 && h == r.desktop().excel.ActiveWindowHandle()) got = L"excel";
    for (const wchar_t* name : {L"Form1", L"Form2", L"Form3"}) {
      ui::Window* w = r.FindWindow(name);
      if (w != nullptr && w->handle() == h && h != 0) got = name;
    }
    ExpectEqual(r, L"foreground", want, got);
  };
}

}  // namespace

void RegisterShellStatements(Registry& reg) {
  auto& v = reg.verbs;
  v[L"windows"] = Setup(ParseWindowsBuild);
  v[L"another-instance"] = Setup([](Args& a) -> Action {
    a.End();
    return [](Runner& r) { r.desktop().system.another_instance = true; };
  });
  v[L"desktop"] = Setup([](Args& a) -> Action {
    std::wstring path = a.String();
    a.End();
    return [path](Runner& r) { r.desktop().files.desktop = path; };
  });
  v[L"program-folder"] = Setup([](Args& a) -> Action {
    std::wstring path = a.String();
    a.End();
    return [path](Runner& r) { r.desktop().files.program_folder = path; };
  });
  v[L"screen"] = Setup([](Args& a) -> Action {
    const int w = a.Int();
    const int h = a.Int();
    a.End();
    RequireMonitorRect(0, 0, w, h);
    return [w, h](Runner& r) { r.desktop().windows.monitors[0] = {0, 0, w, h}; };
  });
  v[L"monitor"] = Setup([](Args& a) -> Action {
    const int x = a.Int();
    const int y = a.Int();
    const int w = a.Int();
    const int h = a.Int();
    a.End();
    RequireMonitorRect(x, y, w, h);
    return [x, y, w, h](Runner& r) {
      r.desktop().windows.monitors.push_back({x, y, x + w, y + h});
    };
  });
  v[L"dpi"] = Setup([](Args& a) -> Action {
    const int dpi = a.Int();
    a.End();
    if (dpi <= 0) throw StatementError(L"dpi N expected, N above 0");
    return [dpi](Runner& r) { r.desktop().windows.dpi = dpi; };
  });
  v[L"settings"] = Setup(ParseSettings);
  v[L"fail"] = Verb{Category::kWorld, ParseFail};

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

  v[L"expect"] = Verb{Category::kExpect, [&reg](Args& a) -> Action {
                        const std::wstring subject = a.Word();
                        auto it = reg.expect_subjects.find(subject);
                        if (it != reg.expect_subjects.end()) return it->second(a);
                        return ParseControlExpect(subject, a);
                      }};
  auto& e = reg.expect_subjects;
  e[L"focus"] = ParseExpectFocus;
  e[L"state"] = ParseExpectState;
  e[L"window"] = ParseExpectWindow;
  e[L"messagebox"] = ParseExpectMessageBox;
  e[L"settings"] = ParseExpectSettings;
  e[L"exited"] = [](Args& a) { return ParseExpectRunState(a, true); };
  e[L"running"] = [](Args& a) { return ParseExpectRunState(a, false); };
  e[L"clock"] = ParseExpectClock;
  e[L"foreground"] = ParseExpectForeground;
}

}  // namespace harumado::sim::scenario
