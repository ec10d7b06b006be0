// Expectations that hold at every moment of every session, whatever came before: the
// clipboard-viewer chain is whole, and the settings file is the old one or a valid new one.
// Generated sessions (tests/soak) check them after every step.
#include <set>

#include "core/app/program.h"
#include "sim/scenario/registry.h"
#include "sim/scenario/runner.h"

namespace harumado::sim::scenario {
namespace {

// The chain from its head: every link leads to a window that exists, no window stands twice,
// and the speech window's hooked window stands in it exactly once while hooked, never while
// unhooked. A viewer that leaves tells the chain's head with a sent message; while the program
// has not yet dispatched it (it sleeps), the program's own link may still lead to that viewer.
// A viewer that stopped answering neither takes nor passes on the news of a window leaving after
// it: from there on a link may lead to a window that is gone or no longer hooked.
std::wstring ChainFault(Runner& r) {
  auto& clip = r.desktop().clipboard;
  app::Program* program = r.program();
  const platform::WindowHandle hooked =
      program != nullptr && program->hook.OldWndProc != 0 ? program->hook.HookedWnd : 0;
  std::set<platform::WindowHandle> seen;
  int hooked_links = 0;
  bool program_link = false;
  bool hung_link = false;
  for (platform::WindowHandle h = clip.head(); h != 0;) {
    if (!seen.insert(h).second) return L"a chain that comes back to window " + std::to_wstring(h);
    if (ForeignViewer* v = clip.FindViewer(h)) {
      h = v->next;
      program_link = false;
      hung_link = hung_link || v->hung;
      continue;
    }
    SimWindow* w = r.desktop().windows.Find(h);
    if (w == nullptr) {
      if (hung_link || (program_link && r.desktop().world.has_pending())) break;
      return L"a link to a window that is gone";
    }
    if (h != hooked) {
      if (hung_link) break;
      return L"the window " + w->model->name() + L" in the chain, not hooked";
    }
    ++hooked_links;
    h = program->hook.NextViewer;
    program_link = true;
  }
  if (hooked != 0 && hooked_links != 1) return L"the hooked window not in the chain";
  return L"";
}

// The file as the writer writes it: five 32-bit integers in plain decimal, then CR LF.
bool IsWrittenSettingsLine(const std::string& bytes) {
  if (bytes.size() < 2 || !bytes.ends_with("\r\n")) return false;
  const std::string line = bytes.substr(0, bytes.size() - 2);
  int fields = 0;
  std::size_t pos = 0;
  for (;;) {
    const std::size_t comma = std::min(line.find(',', pos), line.size());
    std::string field = line.substr(pos, comma - pos);
    const bool negative = !field.empty() && field[0] == '-';
    if (negative) field.erase(0, 1);
    if (field.empty() || field.size() > 10 ||
        field.find_first_not_of("0123456789") != std::string::npos ||
        (field.size() > 1 && field[0] == '0') || (negative && field == "0")) {
      return false;
    }
    const long long v = std::stoll(field) * (negative ? -1 : 1);
    if (v < -2147483648LL || v > 2147483647LL) return false;
    ++fields;
    if (comma == line.size()) break;
    pos = comma + 1;
  }
  return fields == 5;
}

Action ParseChainIntact(Args& a) {
  a.End();
  return [](Runner& r) {
    const std::wstring fault = ChainFault(r);
    if (!fault.empty()) r.Fail(L"an intact chain", fault);
  };
}

// expect settings-intact "OLD" | absent: the file holds the old bytes (or is still absent), or
// a complete line as the writer writes it.
Action ParseSettingsIntact(Args& a) {
  std::optional<std::string> old;
  if (!a.TakeWord(L"absent")) old = ScenarioBytes(a.String());
  a.End();
  return [old](Runner& r) {
    auto& files = r.desktop().files;
    const SimFile* f = files.Find(files.SettingsPath());
    if (f == nullptr) {
      if (old) r.Fail(L"the old settings or valid new ones", L"no settings file");
      return;
    }
    if (old && f->bytes == *old) return;
    if (!IsWrittenSettingsLine(f->bytes)) {
      r.Fail(L"the old settings or valid new ones", Quote(EscapedBytes(f->bytes)));
    }
  };
}

}  // namespace

void RegisterInvariantStatements(Registry& reg) {
  reg.expect_subjects[L"chain-intact"] = ParseChainIntact;
  reg.expect_subjects[L"settings-intact"] = ParseSettingsIntact;
}

}  // namespace harumado::sim::scenario
