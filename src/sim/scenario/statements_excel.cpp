// Scenario statements of the spreadsheet application. (Not built yet: each fails its scenario.)
#include "sim/scenario/registry.h"
#include "sim/scenario/runner.h"

namespace harumado::sim::scenario {
namespace {

std::function<Action(Args&)> NotYet(const std::wstring& what) {
  return [what](Args&) -> Action {
    return [what](Runner& r) { r.Abort(what + L": not supported yet"); };
  };
}

}  // namespace

void RegisterExcelStatements(Registry& reg) {
  reg.verbs[L"excel"] = Verb{Category::kWorld, NotYet(L"excel")};
  reg.verbs[L"workbook"] = Verb{Category::kSetup, NotYet(L"workbook")};
  reg.verbs[L"file"] = Verb{Category::kWorld, NotYet(L"file")};
  for (const wchar_t* subject : {L"cell", L"active", L"shapes", L"shape", L"column", L"excel",
                                 L"workbook", L"desktop", L"calls"}) {
    reg.expect_subjects[subject] = NotYet(std::wstring(L"expect ") + subject);
  }
}

}  // namespace harumado::sim::scenario
