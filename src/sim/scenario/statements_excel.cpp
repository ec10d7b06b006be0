// The excel verb: its second word names the statement (excel running, excel cell C3 "T", ...).
#include "sim/scenario/registry.h"
#include "sim/scenario/runner.h"

namespace harumado::sim::scenario {

void RegisterExcelStatements(Registry& reg) {
  reg.verbs[L"excel"] = Verb{Category::kWorld, [&reg](Args& a) -> Action {
                               const std::wstring what = a.Word();
                               auto it = reg.excel_verbs.find(what);
                               if (it == reg.excel_verbs.end()) {
                                 throw StatementError(L"unknown statement 'excel " + what + L"'");
                               }
                               return it->second(a);
                             }};
  RegisterExcelAppStatements(reg);
  RegisterExcelSheetStatements(reg);
}

}  // namespace harumado::sim::scenario
