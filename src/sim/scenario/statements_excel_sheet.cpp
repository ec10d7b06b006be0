// Scenario statements on Excel's active sheet: what the user does in it (select, type, format,
// widths, protection, formulas) and the expectations on cells, selection, shapes and columns.
#include <functional>

#include "runtime/automation_error.h"
#include "runtime/conversions.h"
#include "runtime/number_format.h"
#include "sim/excel/sheet.h"
#include "sim/scenario/registry.h"
#include "sim/scenario/runner.h"

namespace harumado::sim::scenario {
namespace {

CellRef ToRef(const std::pair<int, int>& cell) { return CellRef{cell.first, cell.second}; }

int ColumnLetters(Args& a) {
  const std::wstring letters = a.Word();
  auto cell = letters.find_first_not_of(L"ABCDEFGHIJKLMNOPQRSTUVWXYZ") == std::wstring::npos
                  ? ParseCell(letters + L"1")
                  : std::nullopt;
  if (!cell) throw StatementError(L"a column such as C expected, got '" + letters + L"'");
  return cell->second;
}

SimSheet& ActiveSheet(Runner& r) {
  SimSheet* sheet = r.desktop().excel.ActiveSheet();
  if (sheet == nullptr) r.Abort(L"Excel has no workbook open");
  return *sheet;
}

// A user action in the sheet; one that Excel refuses (a protected sheet) ends the scenario.
Action InSheet(std::wstring what, std::function<void(SimSheet&)> act) {
  return [what, act](Runner& r) {
    SimSheet& sheet = ActiveSheet(r);
    try {
      act(sheet);
    } catch (const rt::AutomationError& e) {
      r.Abort(what + L": Excel refuses it (error " + std::to_wstring(e.number()) + L")");
    }
  };
}

// A cell value as written in a scenario: a number, a string, TRUE/FALSE or empty.
rt::Value ValueToken(Args& a) {
  const Token& t = a.Any();
  if (t.kind == Token::Kind::kNumber) return rt::Value::Number(t.number);
  if (t.kind == Token::Kind::kString) return rt::Value::Text(t.text);
  if (t.text == L"TRUE") return rt::Value::Logical(true);
  if (t.text == L"FALSE") return rt::Value::Logical(false);
  if (t.text == L"empty") return rt::Value();
  throw StatementError(L"a value expected (a number, \"text\", TRUE, FALSE or empty), got '" +
                       t.text + L"'");
}

std::wstring Describe(const rt::Value& v) {
  switch (v.kind()) {
    case rt::Value::Kind::kEmpty:
      return L"empty";
    case rt::Value::Kind::kNumber:
      return NumberText(v.number());
    case rt::Value::Kind::kText:
      return Quote(v.text());
    case rt::Value::Kind::kLogical:
      return v.logical() ? L"TRUE" : L"FALSE";
    case rt::Value::Kind::kDate:
      return NumberText(v.date_serial()) + L" (a date)";
    case rt::Value::Kind::kError:
      return rt::ErrorValueText(v.error_code());
  }
  return L"?";
}

// A number matches a number, or a date by its serial.
bool Matches(const rt::Value& expected, const rt::Value& got) {
  if (expected.is_number() && got.is_date()) return expected.number() == got.date_serial();
  return expected == got;
}

// ---- excel WHAT ------------------------------------------------------------------------------

Action ParseSelect(Args& a) {
  const CellRef cell = ToRef(a.Cell());
  a.End();
  return InSheet(L"excel select", [cell](SimSheet& s) { s.Select(cell); });
}

Action ParseCellEntry(Args& a) {
  const CellRef cell = ToRef(a.Cell());
  const std::wstring text = a.String();
  a.End();
  return InSheet(L"excel cell", [cell, text](SimSheet& s) { s.Enter(cell, text); });
}

Action ParseFormat(Args& a) {
  const CellRef cell = ToRef(a.Cell());
  const std::wstring code = a.String();
  a.End();
  if (!rt::IsValidFormatCode(code)) throw StatementError(L"not a format code: " + Quote(code));
  return InSheet(L"excel format", [cell, code](SimSheet& s) { s.SetFormat(cell, code); });
}

Action ParseColumn(Args& a) {
  const int column = ColumnLetters(a);
  if (a.Word() != L"width") throw StatementError(L"excel column C width W expected");
  const double width = a.Number();
  a.End();
  if (width < 0 || width > SimSheet::kMaxColumnWidth) {
    throw StatementError(L"a column width from 0 to 255 expected");
  }
  return InSheet(L"excel column",
                 [column, width](SimSheet& s) { s.SetColumnWidth(column, width); });
}

Action ParseRow(Args& a) {
  const int row = a.Int();
  if (a.Word() != L"height") throw StatementError(L"excel row N height H expected");
  const double height = a.Number();
  a.End();
  if (row < 1 || row > SimSheet::kRows) throw StatementError(L"a row from 1 to 1048576 expected");
  if (height < 0 || height > SimSheet::kMaxRowHeight) {
    throw StatementError(L"a row height from 0 to 409.5 expected");
  }
  return InSheet(L"excel row", [row, height](SimSheet& s) { s.SetRowHeight(row, height); });
}

Action ParseProtect(Args& a) {
  a.End();
  return [](Runner& r) { ActiveSheet(r).Protect(); };
}

Action ParseFormula(Args& a) {
  const CellRef cell = ToRef(a.Cell());
  const std::wstring formula = a.String();
  if (formula.empty() || formula[0] != L'=') throw StatementError(L"a formula starts with =");
  if (a.Word() != L"value") throw StatementError(L"excel formula C3 \"F\" value V expected");
  const rt::Value result = ValueToken(a);
  a.End();
  return InSheet(L"excel formula",
                 [cell, formula, result](SimSheet& s) { s.EnterFormula(cell, formula, result); });
}

// ---- expectations ----------------------------------------------------------------------------

using SheetCheck = std::function<void(Runner&, SimSheet&)>;

Action OnSheet(std::vector<SheetCheck> checks) {
  return [checks](Runner& r) {
    SimSheet* sheet = r.desktop().excel.ActiveSheet();
    if (sheet == nullptr) {
      r.Fail(L"an active sheet", L"no workbook open");
      return;
    }
    for (const auto& c : checks) c(r, *sheet);
  };
}

Action ParseExpectCell(Args& a) {
  const CellRef cell = ToRef(a.Cell());
  const std::wstring name = CellName(cell.row, cell.column);
  std::vector<SheetCheck> checks;
  if (a.done()) throw StatementError(L"value, text, format or formula expected");
  while (!a.done()) {
    const std::wstring prop = a.Word();
    if (prop == L"value") {
      const rt::Value v = ValueToken(a);
      checks.push_back([cell, name, v](Runner& r, SimSheet& s) {
        const rt::Value got = s.Value(cell);
        if (!Matches(v, got)) r.Fail(L"cell " + name + L" value " + Describe(v), Describe(got));
      });
    } else if (prop == L"text" || prop == L"format" || prop == L"formula") {
      const std::wstring text = a.String();
      checks.push_back([cell, name, prop, text](Runner& r, SimSheet& s) {
        const std::wstring got = prop == L"text"     ? s.Text(cell)
                                 : prop == L"format" ? s.Format(cell)
                                                     : s.Formula(cell);
        ExpectEqual(r, L"cell " + name + L" " + prop, Quote(text), Quote(got));
      });
    } else {
      throw StatementError(L"unknown cell property '" + prop + L"'");
    }
  }
  return OnSheet(checks);
}

Action ParseExpectActive(Args& a) {
  const CellRef cell = ToRef(a.Cell());
  a.End();
  return OnSheet({[cell](Runner& r, SimSheet& s) {
    ExpectEqual(r, L"active", CellName(cell.row, cell.column),
                CellName(s.active().row, s.active().column));
  }});
}

Action ParseExpectShapes(Args& a) {
  const int n = a.Int();
  a.End();
  return OnSheet({[n](Runner& r, SimSheet& s) {
    ExpectEqual(r, L"shapes", std::to_wstring(n), std::to_wstring(s.shapes().size()));
  }});
}

Action ParseExpectShape(Args& a) {
  const int index = a.Int();
  if (index < 1) throw StatementError(L"shapes are numbered from 1");
  std::vector<SheetCheck> checks;
  checks.push_back([index](Runner& r, SimSheet& s) {
    if (index > static_cast<int>(s.shapes().size())) {
      r.Fail(L"shape " + std::to_wstring(index), std::to_wstring(s.shapes().size()) + L" shapes");
    }
  });
  if (a.done()) throw StatementError(L"a shape property expected");
  while (!a.done()) {
    const std::wstring prop = a.Word();
    std::function<double(const SimShape&)> read;
    if (prop == L"left")
      read = [](const SimShape& x) { return x.left; };
    else if (prop == L"top")
      read = [](const SimShape& x) { return x.top; };
    else if (prop == L"width")
      read = [](const SimShape& x) { return x.width; };
    else if (prop == L"height")
      read = [](const SimShape& x) { return x.height; };
    else if (prop == L"placement")
      read = [](const SimShape& x) { return x.placement; };
    else if (prop == L"lock")
      read = [](const SimShape& x) { return x.lock_aspect_ratio; };
    else
      throw StatementError(L"unknown shape property '" + prop + L"'");
    const double want = a.Number();
    checks.push_back([index, prop, read, want](Runner& r, SimSheet& s) {
      if (index > static_cast<int>(s.shapes().size())) return;
      const double got = read(s.shapes()[static_cast<std::size_t>(index - 1)]);
      ExpectEqual(r, L"shape " + std::to_wstring(index) + L" " + prop, NumberText(want),
                  got == want ? NumberText(want) : NumberText(got));
    });
  }
  return OnSheet(checks);
}

Action ParseExpectColumn(Args& a) {
  const int column = ColumnLetters(a);
  if (a.Word() != L"width") throw StatementError(L"expect column C width W expected");
  const double width = a.Number();
  a.End();
  return OnSheet({[column, width](Runner& r, SimSheet& s) {
    const double got = s.ColumnWidth(column);
    ExpectEqual(r, L"column width", NumberText(width),
                got == width ? NumberText(width) : NumberText(got));
  }});
}

}  // namespace

void RegisterExcelSheetStatements(Registry& reg) {
  auto& x = reg.excel_verbs;
  x[L"select"] = ParseSelect;
  x[L"cell"] = ParseCellEntry;
  x[L"format"] = ParseFormat;
  x[L"column"] = ParseColumn;
  x[L"row"] = ParseRow;
  x[L"protect"] = ParseProtect;
  x[L"formula"] = ParseFormula;
  auto& e = reg.expect_subjects;
  e[L"cell"] = ParseExpectCell;
  e[L"active"] = ParseExpectActive;
  e[L"shapes"] = ParseExpectShapes;
  e[L"shape"] = ParseExpectShape;
  e[L"column"] = ParseExpectColumn;
}

}  // namespace harumado::sim::scenario
