// Scenario expectations on the program: controls, focus, shared state, windows, the message
// box, the settings file, whether the program runs, the clock and the foreground window.
#include <algorithm>
#include <functional>
#include <limits>
#include <variant>

#include "core/app/form1.h"
#include "sim/scenario/registry.h"
#include "sim/scenario/runner.h"

namespace harumado::sim::scenario {
namespace {

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

// Every name that expect state knows, and how its value is read: a number, or a text (shown
// quoted).
using StateValue = std::variant<long long, std::wstring>;
struct StateField {
  const wchar_t* name;
  StateValue (*read)(app::Program& p);
};

const StateField kStateFields[] = {
    {L"PasteActive", [](app::Program& p) -> StateValue { return p.form1().state.PasteActive; }},
    {L"ToggledOff", [](app::Program& p) -> StateValue { return p.form1().state.ToggledOff; }},
    {L"Unloading", [](app::Program& p) -> StateValue { return p.form1().state.Unloading; }},
    {L"ModeFlag", [](app::Program& p) -> StateValue { return p.form1().state.ModeFlag; }},
    {L"PasteMode", [](app::Program& p) -> StateValue { return p.form1().state.PasteMode; }},
    {L"TopmostFlag", [](app::Program& p) -> StateValue { return p.form1().state.TopmostFlag; }},
    {L"SettingsFound", [](app::Program& p) -> StateValue { return p.form1().state.SettingsFound; }},
    {L"UsageOpen", [](app::Program& p) -> StateValue { return p.form1().state.UsageOpen; }},
    {L"WrapCount", [](app::Program& p) -> StateValue { return p.form1().state.WrapCount; }},
    {L"PictureFailed", [](app::Program& p) -> StateValue { return p.paste.PictureFailed; }},
    {L"YenMarkFound", [](app::Program& p) -> StateValue { return p.paste.YenMarkFound; }},
    {L"TitleMatch", [](app::Program& p) -> StateValue { return p.form1().state.TitleMatch; }},
    {L"ExcelHwnd",
     [](app::Program& p) -> StateValue {
       return static_cast<long long>(p.form1().state.ExcelHwnd);
     }},
};

const StateField* FindStateField(const std::wstring& name) {
  for (const auto& field : kStateFields) {
    if (name == field.name) return &field;
  }
  return nullptr;
}

// One NAME VALUE pair of expect state. ExcelHwnd may also be expected as the word excel: the
// main window of the Excel instance the user works in.
Action StateCheck(const StateField& field, const Token& value) {
  return [&field, value](Runner& r) {
    if (!r.program()) r.Abort(L"the program has not started");
    auto& p = *r.program();
    const std::wstring name = field.name;
    if (name == L"ExcelHwnd" && value.kind == Token::Kind::kWord && value.text == L"excel") {
      const auto h = r.desktop().excel.ActiveWindowHandle();
      const auto held = p.form1().state.ExcelHwnd;
      ExpectEqual(
          r, L"state ExcelHwnd", L"the Excel window " + std::to_wstring(h),
          held == h && h != 0 ? L"the Excel window " + std::to_wstring(h) : std::to_wstring(held));
      return;
    }
    const StateValue actual = field.read(p);
    if (const auto* text = std::get_if<std::wstring>(&actual)) {
      ExpectEqual(r, L"state " + name, TokenText(value), Quote(*text));
    } else {
      ExpectEqual(r, L"state " + name,
                  value.kind == Token::Kind::kNumber ? NumberText(value.number) : TokenText(value),
                  std::to_wstring(std::get<long long>(actual)));
    }
  };
}

// expect state NAME VALUE [NAME VALUE]...
Action ParseExpectState(Args& a) {
  std::vector<Action> checks;
  if (a.done()) throw StatementError(L"expect state NAME VALUE expected");
  while (!a.done()) {
    const std::wstring name = a.Word();
    const StateField* field = FindStateField(name);
    if (field == nullptr) throw StatementError(L"unknown state " + name);
    checks.push_back(StateCheck(*field, a.Any()));
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

void RegisterExpectStatements(Registry& reg) {
  auto& v = reg.verbs;
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
