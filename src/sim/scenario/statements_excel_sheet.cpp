// Scenario statements on the active sheet. (Not built yet: each fails its scenario.)
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

void RegisterExcelSheetStatements(Registry& reg) {
  for (const wchar_t* verb :
       {L"select", L"cell", L"format", L"column", L"row", L"protect", L"formula"}) {
    reg.excel_verbs[verb] = NotYet(std::wstring(L"excel ") + verb);
  }
  for (const wchar_t* subject : {L"cell", L"active", L"shapes", L"shape", L"column"}) {
    reg.expect_subjects[subject] = NotYet(std::wstring(L"expect ") + subject);
  }
}

}  // namespace harumado::sim::scenario
