#pragma once
// A real LibreOffice for the tests of the Calc host: one headless soffice per test suite with a
// profile and a pipe of its own, reached within a bounded wait and killed with its whole process
// group afterwards, so that nothing is left running.
#include <gtest/gtest.h>
#include <sys/types.h>

#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "calc/calc_host.h"
#include "calc/uno_support.h"
#include "support/linux/child_process.h"
#include "support/linux/scoped_environment.h"
#include "support/linux/xvfb_session.h"

namespace harumado::rt {
// Values as failures show them.
inline void PrintTo(const Value& v, std::ostream* out) {
  switch (v.kind()) {
    case Value::Kind::kEmpty:
      *out << "Empty";
      return;
    case Value::Kind::kNumber:
      *out << "Number(" << v.number() << ")";
      return;
    case Value::Kind::kText:
      *out << "Text(" << ::testing::PrintToString(v.text()) << ")";
      return;
    case Value::Kind::kLogical:
      *out << (v.logical() ? "True" : "False");
      return;
    case Value::Kind::kDate:
      *out << "Date(" << v.date_serial() << ")";
      return;
    case Value::Kind::kError:
      *out << "Error(" << v.error_code() << ")";
      return;
  }
}
}  // namespace harumado::rt

namespace harumado::calc::testing {

// The clipboard as a test sets it.
class TestClipboard final : public ClipboardSource {
 public:
  std::optional<std::wstring> text;
  std::optional<std::vector<std::uint8_t>> picture;
  std::optional<std::wstring> Text() override { return text; }
  std::optional<std::vector<std::uint8_t>> Picture() override { return picture; }
};

using test_support::CommandOutput;
using test_support::TempDir;

// A folder as LibreOffice takes it (a file URL).
std::string FolderUrl(const TempDir& folder);

// A pipe name no other test uses.
std::string UniquePipeName();

// Ends every process of the group and collects them.
void KillGroup(pid_t group);
// A group that a crash of the test process ends too (those the fixtures start are tracked).
void TrackGroup(pid_t group);

// Every LibreOffice that a host started, ended when the test ends (and, once tracked, when the
// test process crashes).
class StartedOffices {
 public:
  explicit StartedOffices(CalcHost& host) : host_(host) {}
  ~StartedOffices();
  StartedOffices(const StartedOffices&) = delete;
  StartedOffices& operator=(const StartedOffices&) = delete;
  // Tracks what the host has started so far; how many that is.
  std::size_t Track();

 private:
  CalcHost& host_;
};

// A headless LibreOffice of the suite's own.
class Office {
 public:
  // On a pipe of its own, or on the given one (a LibreOffice that follows an ended one);
  // headless, or with windows on the display of the environment.
  explicit Office(std::string pipe = UniquePipeName(), bool headless = true);
  ~Office();
  Office(const Office&) = delete;
  Office& operator=(const Office&) = delete;
  const std::string& pipe() const { return pipe_; }
  // A host attached to it (a new one per call), with the test's clipboard.
  CalcHostOptions Options() const;
  // Its desktop and context, for checking through UNO.
  Reference<css::uno::XComponentContext> Context();
  // Ends it at once, as a crash would.
  void Kill();

 private:
  TempDir profile_;
  std::string pipe_;
  pid_t group_ = 0;
};

// A suite with one LibreOffice; each test gets a host attached to it and a new workbook, closed
// after the test.
class CalcSuite : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;
  void TearDown() override;
  // A cell of the first sheet of the test's workbook, reached through UNO (1-based).
  Reference<css::table::XCell> UnoCell(std::int32_t row, std::int32_t column);
  Reference<css::sheet::XSpreadsheet> UnoSheet();
  Reference<css::sheet::XSpreadsheetDocument> UnoDocument();

  static Office* office_;
  TestClipboard clipboard_;
  std::unique_ptr<CalcHost> host_;
  std::unique_ptr<platform::ExcelApplication> application_;
  std::unique_ptr<platform::ExcelWorkbook> workbook_;
  std::unique_ptr<platform::ExcelSheet> sheet_;
};

// A virtual X display of the test's own (Xvfb), ready when constructed, ended afterwards;
// DISPLAY names it while it lives, and LibreOffice draws its windows there with its own X11
// toolkit.
class VirtualDisplay {
 public:
  VirtualDisplay();
  ~VirtualDisplay();
  VirtualDisplay(const VirtualDisplay&) = delete;
  VirtualDisplay& operator=(const VirtualDisplay&) = delete;
  const std::string& name() const { return server_.display(); }

 private:
  test_support::XvfbSession server_;
  test_support::ScopedEnvironment display_{"DISPLAY", server_.display()};
  test_support::ScopedEnvironment toolkit_{"SAL_USE_VCLPLUGIN", "gen"};
};

// Loads a file into the office (hidden) to check what was saved; the caller closes it.
Reference<css::lang::XComponent> LoadHidden(Office& office, const std::filesystem::path& file);

}  // namespace harumado::calc::testing
