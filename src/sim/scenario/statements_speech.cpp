// Scenario statements of the speech service.
#include "sim/scenario/registry.h"
#include "sim/scenario/runner.h"

namespace harumado::sim::scenario {
namespace {

Action ParseVoices(Args& a) {
  std::vector<std::wstring> names;
  if (a.TakeWord(L"none")) {
    a.End();
  } else {
    while (!a.done()) names.push_back(a.String());
  }
  return [names](Runner& r) { r.desktop().speech.voices = names; };
}

Action ParseSpeech(Args& a) {
  if (a.Word() != L"unavailable") throw StatementError(L"speech unavailable expected");
  a.End();
  return [](Runner& r) { r.desktop().speech.available = false; };
}

Action ParseSpoken(Args& a) {
  const std::wstring text = a.String();
  a.End();
  return [text](Runner& r) {
    auto& s = r.desktop().speech;
    const std::wstring got = s.last ? Quote(s.last->text) : L"nothing spoken";
    if (!s.last || s.last->text != text) r.Fail(L"spoken " + Quote(text), got);
  };
}

Action ParseUtterances(Args& a) {
  const int n = a.Int();
  a.End();
  return [n](Runner& r) {
    const int got = r.desktop().speech.utterances;
    if (got != n) r.Fail(L"utterances " + std::to_wstring(n), std::to_wstring(got));
  };
}

Action ParseSilent(Args& a) {
  a.End();
  return [](Runner& r) {
    auto& s = r.desktop().speech;
    if (s.Speaking()) r.Fail(L"silent", L"speaking " + Quote(s.last ? s.last->text : L""));
  };
}

Action ParseSpeaking(Args& a) {
  a.End();
  return [](Runner& r) {
    if (!r.desktop().speech.Speaking()) r.Fail(L"speaking", L"silent");
  };
}

// expect voice rate N volume N name "V", in any order.
Action ParseVoice(Args& a) {
  std::vector<Action> checks;
  if (a.done()) throw StatementError(L"voice rate|volume|name expected");
  while (!a.done()) {
    const std::wstring what = a.Word();
    if (what == L"name") {
      const std::wstring name = a.String();
      checks.push_back([name](Runner& r) {
        auto* v = r.desktop().speech.current;
        if (v == nullptr)
          r.Fail(L"voice name " + Quote(name), L"no voice object");
        else if (v->name != name)
          r.Fail(L"voice name " + Quote(name), Quote(v->name));
      });
      continue;
    }
    if (what != L"rate" && what != L"volume")
      throw StatementError(L"voice rate|volume|name expected, got '" + what + L"'");
    const int n = a.Int();
    checks.push_back([what, n](Runner& r) {
      auto* v = r.desktop().speech.current;
      if (v == nullptr) {
        r.Fail(L"voice " + what + L" " + std::to_wstring(n), L"no voice object");
        return;
      }
      const int got = what == L"rate" ? v->rate : v->volume;
      if (got != n) r.Fail(L"voice " + what + L" " + std::to_wstring(n), std::to_wstring(got));
    });
  }
  return [checks](Runner& r) {
    for (const auto& c : checks) c(r);
  };
}

}  // namespace

void RegisterSpeechStatements(Registry& reg) {
  reg.verbs[L"voices"] = Verb{Category::kSetup, ParseVoices};
  reg.verbs[L"speech"] = Verb{Category::kSetup, ParseSpeech};
  reg.expect_subjects[L"spoken"] = ParseSpoken;
  reg.expect_subjects[L"utterances"] = ParseUtterances;
  reg.expect_subjects[L"silent"] = ParseSilent;
  reg.expect_subjects[L"speaking"] = ParseSpeaking;
  reg.expect_subjects[L"voice"] = ParseVoice;
}

}  // namespace harumado::sim::scenario
