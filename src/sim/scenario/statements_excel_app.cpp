// Scenario statements on Excel's instances and workbooks. (Not built yet: each fails its scenario.)
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

void RegisterExcelAppStatements(Registry& reg) {
  for (const wchar_t* verb : {L"running", L"start", L"quit", L"busy", L"fail", L"global"}) {
    reg.excel_verbs[verb] = NotYet(std::wstring(L"excel ") + verb);
  }
  reg.verbs[L"workbook"] = Verb{Category::kSetup, NotYet(L"workbook")};
  reg.verbs[L"file"] = Verb{Category::kWorld, NotYet(L"file")};
  for (const wchar_t* subject : {L"excel", L"workbook", L"desktop", L"calls"}) {
    reg.expect_subjects[subject] = NotYet(std::wstring(L"expect ") + subject);
  }
}

}  // namespace harumado::sim::scenario
