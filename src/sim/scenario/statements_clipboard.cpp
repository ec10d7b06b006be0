// Scenario statements of the clipboard: copies by other programs, the viewer chain.
#include "core/app/program.h"
#include "sim/scenario/registry.h"
#include "sim/scenario/runner.h"

namespace harumado::sim::scenario {
namespace {

Action ParseCopy(Args& a) {
  const std::wstring kind = a.Word();
  ClipContent c;
  if (kind == L"text" || kind == L"secret") {
    c.kind = ClipKind::kText;
    c.text = a.String();
    c.secret = kind == L"secret";
  } else if (kind == L"picture") {
    c.kind = ClipKind::kPicture;
    c.picture_width = a.Number();
    c.picture_height = a.Number();
  } else if (kind == L"other") {
    c.kind = ClipKind::kOther;
  } else {
    throw StatementError(L"copy text|picture|other|secret expected");
  }
  a.End();
  return [c](Runner& r) { r.desktop().clipboard.Set(c); };
}

Action ParseClipboardSetup(Args& a) {
  if (a.Word() != L"text") throw StatementError(L"clipboard text \"T\" expected");
  ClipContent c;
  c.kind = ClipKind::kText;
  c.text = a.String();
  a.End();
  // The content that stands there at start-up: no change is counted for it.
  return [c](Runner& r) { r.desktop().clipboard.Preset(c); };
}

Action ParseViewer(Args& a) {
  const std::wstring what = a.Word();
  const std::wstring name = a.String();
  a.End();
  if (what == L"join") {
    return [name](Runner& r) {
      if (!r.desktop().clipboard.JoinViewer(name))
        r.Abort(L"viewer " + name + L" is in the chain already");
    };
  }
  if (what == L"leave") {
    return [name](Runner& r) {
      if (!r.desktop().clipboard.LeaveViewer(name))
        r.Abort(L"no viewer " + name + L" in the chain");
    };
  }
  if (what == L"hang") {
    return [name](Runner& r) {
      if (!r.desktop().clipboard.HangViewer(name)) r.Abort(L"no viewer " + name + L" in the chain");
    };
  }
  throw StatementError(L"viewer join|leave|hang \"NAME\" expected");
}

// Hooked: the hook's state says installed and the hooked window runs a procedure of the
// program's in place of its own. Unhooked: the state says not installed and the hooked window,
// when it still exists, has its own procedure back.
std::wstring HookLook(Runner& r) {
  app::Program* program = r.program();
  if (program == nullptr) return L"unhooked";
  const auto& hook = program->hook;
  const SimWindow* w = r.desktop().windows.Find(hook.HookedWnd);
  const bool replaced = w != nullptr && w->proc != kDefaultProc;
  if (hook.OldWndProc != 0) {
    if (w == nullptr) return L"hooked state on a window that does not exist";
    return replaced ? L"hooked" : L"hooked state, but the window runs its own procedure";
  }
  return replaced ? L"unhooked state, but the window still runs another procedure" : L"unhooked";
}

Action ParseHooked(Args& a, bool hooked) {
  a.End();
  return [hooked](Runner& r) {
    const std::wstring want = hooked ? L"hooked" : L"unhooked";
    const std::wstring got = HookLook(r);
    if (got != want) r.Fail(want, got);
  };
}

Action ParseExpectViewer(Args& a) {
  const std::wstring name = a.String();
  if (a.Word() != L"notified") throw StatementError(L"expect viewer \"NAME\" notified N expected");
  const int n = a.Int();
  a.End();
  return [name, n](Runner& r) {
    ForeignViewer* v = r.desktop().clipboard.FindViewer(name);
    if (v == nullptr) r.Abort(L"no viewer " + name);
    if (v->notified != n) {
      r.Fail(L"viewer " + Quote(name) + L" notified " + std::to_wstring(n),
             std::to_wstring(v->notified));
    }
  };
}

// The chain as each window knows it: other viewers remember their successor, the program's
// hooked window its NextViewer.
Action ParseExpectChain(Args& a) {
  std::vector<std::wstring> names;
  while (!a.done()) names.push_back(a.String());
  return [names](Runner& r) {
    auto& clip = r.desktop().clipboard;
    std::vector<std::wstring> got;
    platform::WindowHandle h = clip.head();
    for (int guard = 0; h != 0 && guard < 64; ++guard) {
      if (ForeignViewer* v = clip.FindViewer(h)) {
        got.push_back(v->name);
        h = v->next;
        continue;
      }
      SimWindow* w = r.desktop().windows.Find(h);
      if (w == nullptr) {
        got.push_back(L"(a window that is gone)");
        break;
      }
      got.push_back(w->model->name());
      h = (r.program() && r.program()->hook.HookedWnd == h) ? r.program()->hook.NextViewer : 0;
    }
    std::wstring want, have;
    for (const auto& n : names) want += (want.empty() ? L"" : L" ") + Quote(n);
    for (const auto& n : got) have += (have.empty() ? L"" : L" ") + Quote(n);
    if (want != have) r.Fail(L"chain " + want, have.empty() ? L"an empty chain" : have);
  };
}

}  // namespace

void RegisterClipboardStatements(Registry& reg) {
  reg.verbs[L"copy"] = Verb{Category::kWorld, ParseCopy};
  reg.verbs[L"clipboard"] = Verb{Category::kSetup, ParseClipboardSetup};
  reg.verbs[L"viewer"] = Verb{Category::kWorld, ParseViewer};
  reg.expect_subjects[L"hooked"] = [](Args& a) { return ParseHooked(a, true); };
  reg.expect_subjects[L"unhooked"] = [](Args& a) { return ParseHooked(a, false); };
  reg.expect_subjects[L"viewer"] = ParseExpectViewer;
  reg.expect_subjects[L"chain"] = ParseExpectChain;
}

}  // namespace harumado::sim::scenario
