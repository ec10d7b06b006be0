#pragma once
// The statements of scenario files: each verb parses its arguments into an action, so a
// malformed file fails before it runs. Subsystems register their verbs in their own files.
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/ui/control.h"
#include "sim/scenario/lexer.h"

namespace harumado::sim::scenario {

class Runner;

// A malformed statement (parse time) or an impossible one (run time), with its reason.
class StatementError : public std::runtime_error {
 public:
  explicit StatementError(const std::wstring& reason);
  std::wstring reason;
};

// The arguments after the verb.
class Args {
 public:
  Args(const std::vector<Token>& tokens, std::size_t first) : t_(tokens), pos_(first) {}
  bool done() const { return pos_ >= t_.size(); }
  std::size_t left() const { return t_.size() - pos_; }
  const Token& Peek() const;
  bool PeekWord(const std::wstring& w) const;
  bool TakeWord(const std::wstring& w);  // takes it when it is next
  std::wstring Word();
  std::wstring String();
  double Number();
  int Int();
  ui::Color Color();
  // A cell in A1 notation: row and column, 1-based.
  std::pair<int, int> Cell();
  // The next token as a value for expectations: number, string, or word.
  const Token& Any();
  void End();  // nothing may follow

 private:
  const std::vector<Token>& t_;
  std::size_t pos_;
};

using Action = std::function<void(Runner&)>;

enum class Category {
  kSetup,   // shapes the world; may stand before start
  kWorld,   // takes effect at once
  kUser,    // becomes a pending window event
  kExpect,  // checked at once
};

struct Verb {
  Category category;
  std::function<Action(Args&)> parse;
};

struct Registry {
  std::map<std::wstring, Verb> verbs;
  // expect SUBJECT ...: subjects other than control names.
  std::map<std::wstring, std::function<Action(Args&)>> expect_subjects;
  // excel WHAT ...: the world statements on the spreadsheet application.
  std::map<std::wstring, std::function<Action(Args&)>> excel_verbs;
};

void RegisterSetupStatements(Registry& r);       // the system before the program starts
void RegisterUserActionStatements(Registry& r);  // the user's actions on the windows
void RegisterExpectStatements(Registry& r);      // the expect verb; program, windows, settings
void RegisterExcelStatements(Registry& r);       // the excel verb, dispatching to excel_verbs
void RegisterExcelAppStatements(Registry& r);    // instances, workbooks, faults, desktop files
void RegisterExcelSheetStatements(Registry& r);  // cells, selection, columns, shapes
void RegisterClipboardStatements(Registry& r);   // copy, viewer chain
void RegisterSpeechStatements(Registry& r);      // voices, speech, spoken, utterances
void RegisterInvariantStatements(Registry& r);   // chain-intact, settings-intact

// Parses "C3" into row 3, column 3.
std::optional<std::pair<int, int>> ParseCell(const std::wstring& a1);
std::wstring CellName(int row, int column);
std::wstring ColorText(const ui::Color& c);
std::wstring Quote(const std::wstring& s);
std::wstring NumberText(double d);
// Bytes of a file from a scenario string: code units below 256 stand for themselves.
std::string ScenarioBytes(const std::wstring& s);
// The bytes of a file as a scenario string shows them, line ends escaped.
std::wstring EscapedBytes(const std::string& bytes);
// Fails the expectation "what expected" unless got is the same.
void ExpectEqual(Runner& r, const std::wstring& what, const std::wstring& expected,
                 const std::wstring& got);

}  // namespace harumado::sim::scenario
