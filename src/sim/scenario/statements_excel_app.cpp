// Scenario statements on Excel's instances and workbooks, the Desktop's files, the faults of
// the host and the count of its calls.
#include <cmath>
#include <cstdint>

#include "runtime/automation_error.h"
#include "sim/excel/call_gate.h"
#include "sim/excel/instance.h"
#include "sim/scenario/registry.h"
#include "sim/scenario/runner.h"

namespace harumado::sim::scenario {
namespace {

// A bare file name stands in the Desktop folder.
std::wstring FullPath(Runner& r, const std::wstring& path) {
  if (path.find_first_of(L"\\/:") != std::wstring::npos) return path;
  return r.desktop().files.desktop + L"\\" + path;
}

// An error number as written: decimal, or an HRESULT in hex (0x80080005).
std::int32_t ErrorNumber(double d) {
  if (d != std::floor(d) || d < -2147483648.0 || d > 4294967295.0) {
    throw StatementError(L"an error number expected");
  }
  if (d > 2147483647.0) return static_cast<std::int32_t>(static_cast<std::uint32_t>(d));
  return static_cast<std::int32_t>(d);
}

std::wstring RequireOperation(Args& a) {
  std::wstring op = a.Word();
  if (!CallGate::IsOperation(op)) throw StatementError(L"unknown host operation '" + op + L"'");
  return op;
}

// ---- excel WHAT ------------------------------------------------------------------------------

Action ParseRunning(Args& a) {
  a.End();
  return [](Runner& r) {
    if (r.desktop().excel.instances().empty()) r.desktop().excel.StartInstance(true);
  };
}

Action ParseStart(Args& a) {
  a.End();
  return [](Runner& r) { r.desktop().excel.StartInstance(true); };
}

Action ParseQuit(Args& a) {
  a.End();
  return [](Runner& r) { r.desktop().excel.QuitAll(); };
}

Action ParseBusy(Args& a) {
  const int n = a.Int();
  a.End();
  if (n < 0) throw StatementError(L"excel busy needs a count of 0 or more");
  return [n](Runner& r) { r.desktop().excel.gate().SetBusy(n); };
}

Action ParseFail(Args& a) {
  const std::wstring op = RequireOperation(a);
  const std::int32_t error = ErrorNumber(a.Number());
  int times = 1;
  if (a.TakeWord(L"always")) {
    times = -1;
  } else if (!a.done()) {
    times = a.Int();
    if (times < 0) throw StatementError(L"a count of 0 or more, or always, expected");
  }
  a.End();
  return [op, error, times](Runner& r) { r.desktop().excel.gate().FailNext(op, error, times); };
}

Action ParseGlobal(Args& a) {
  if (a.Word() != L"other") throw StatementError(L"excel global other expected");
  a.End();
  return [](Runner& r) { r.desktop().excel.StartGlobalOther(); };
}

// ---- workbook, file --------------------------------------------------------------------------

// A workbook file on the Desktop, saved in the format its extension calls for; with `open` it is
// also the active workbook of the running Excel (started when none runs).
Action ParseWorkbook(Args& a) {
  const std::wstring name = a.String();
  const bool open = a.TakeWord(L"open");
  a.End();
  return [name, open](Runner& r) {
    auto& files = r.desktop().files;
    auto& excel = r.desktop().excel;
    const std::wstring path = files.desktop + L"\\" + name;
    const int format = FileFormatForName(name);
    if (files.Find(path) == nullptr) files.Put(path, SimFile{"PK\x03\x04", format, false});
    if (!open) return;
    ExcelInstance* instance = excel.ActiveInstance();
    if (instance == nullptr) instance = excel.StartInstance(true).get();
    try {
      instance->Open(path, files);
    } catch (const rt::AutomationError&) {
      r.Abort(L"workbook " + Quote(name) + L" cannot be opened");
    }
  };
}

Action ParseFile(Args& a) {
  const std::wstring path = a.String();
  if (a.TakeWord(L"absent")) {
    a.End();
    return [path](Runner& r) { r.desktop().files.Remove(FullPath(r, path)); };
  }
  const std::string bytes = ScenarioBytes(a.String());
  a.End();
  return [path, bytes](Runner& r) {
    r.desktop().files.Put(FullPath(r, path), SimFile{bytes, std::nullopt, false});
  };
}

// ---- expectations ----------------------------------------------------------------------------

// expect excel instances N|objects N|visible|hidden, several in one line.
Action ParseExpectExcel(Args& a) {
  std::vector<Action> checks;
  if (a.done()) throw StatementError(L"expect excel instances N|objects N|visible|hidden expected");
  while (!a.done()) {
    const std::wstring what = a.Word();
    if (what == L"instances" || what == L"objects") {
      const int n = a.Int();
      checks.push_back([what, n](Runner& r) {
        auto& excel = r.desktop().excel;
        const int got =
            what == L"instances" ? static_cast<int>(excel.instances().size()) : excel.live_objects;
        ExpectEqual(r, L"excel " + what, std::to_wstring(n), std::to_wstring(got));
      });
    } else if (what == L"visible" || what == L"hidden") {
      checks.push_back([what](Runner& r) {
        const ExcelInstance* i = r.desktop().excel.ActiveInstance();
        ExpectEqual(r, L"excel", what,
                    i == nullptr   ? L"no Excel running"
                    : i->visible() ? L"visible"
                                   : L"hidden");
      });
    } else {
      throw StatementError(L"expect excel instances N|objects N|visible|hidden expected");
    }
  }
  return [checks](Runner& r) {
    for (const auto& c : checks) c(r);
  };
}

Action ParseExpectWorkbook(Args& a) {
  const std::wstring name = a.String();
  const std::wstring state = a.Word();
  if (state != L"open" && state != L"closed") throw StatementError(L"open or closed expected");
  a.End();
  return [name, state](Runner& r) {
    const bool open = r.desktop().excel.IsWorkbookOpen(name);
    ExpectEqual(r, L"workbook " + Quote(name), state, open ? L"open" : L"closed");
  };
}

Action ParseExpectDesktop(Args& a) {
  const std::wstring name = a.String();
  std::optional<int> format;
  if (!a.TakeWord(L"absent")) {
    if (a.Word() != L"format") throw StatementError(L"format F or absent expected");
    format = a.Int();
  }
  a.End();
  return [name, format](Runner& r) {
    auto& files = r.desktop().files;
    const SimFile* f = files.Find(files.desktop + L"\\" + name);
    const std::wstring got = f == nullptr      ? L"absent"
                             : f->excel_format ? L"format " + std::to_wstring(*f->excel_format)
                                               : L"a file that is no workbook";
    ExpectEqual(r, L"desktop " + Quote(name),
                format ? L"format " + std::to_wstring(*format) : L"absent", got);
  };
}

// expect calls OP N [OP N]...
Action ParseExpectCalls(Args& a) {
  std::vector<std::pair<std::wstring, int>> counts;
  do {
    const std::wstring op = RequireOperation(a);
    counts.emplace_back(op, a.Int());
  } while (!a.done());
  return [counts](Runner& r) {
    for (const auto& [op, n] : counts) {
      ExpectEqual(r, L"calls " + op, std::to_wstring(n),
                  std::to_wstring(r.desktop().excel.gate().calls(op)));
    }
  };
}

}  // namespace

void RegisterExcelAppStatements(Registry& reg) {
  auto& x = reg.excel_verbs;
  x[L"running"] = ParseRunning;
  x[L"start"] = ParseStart;
  x[L"quit"] = ParseQuit;
  x[L"busy"] = ParseBusy;
  x[L"fail"] = ParseFail;
  x[L"global"] = ParseGlobal;
  reg.verbs[L"workbook"] = Verb{Category::kSetup, ParseWorkbook};
  reg.verbs[L"file"] = Verb{Category::kWorld, ParseFile};
  auto& e = reg.expect_subjects;
  e[L"excel"] = ParseExpectExcel;
  e[L"workbook"] = ParseExpectWorkbook;
  e[L"desktop"] = ParseExpectDesktop;
  e[L"calls"] = ParseExpectCalls;
}

}  // namespace harumado::sim::scenario
