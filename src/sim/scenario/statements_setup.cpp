// Scenario statements that set the system up before the program starts: the Windows build,
// another instance, the Desktop and program folders, screens, monitors, display scale, the
// settings file, and faults of the simulated system.
#include <functional>
#include <limits>

#include "sim/scenario/registry.h"
#include "sim/scenario/runner.h"

namespace harumado::sim::scenario {
namespace {

Verb Setup(std::function<Action(Args&)> parse) { return Verb{Category::kSetup, std::move(parse)}; }

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

}  // namespace

void RegisterSetupStatements(Registry& reg) {
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
}

}  // namespace harumado::sim::scenario
