// The open step and the start/stop press against the simulated Excel: what no scenario can see,
// the release of every Excel object and the messages that are overwritten before the program
// reaches a waiting point.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/ui/layouts.h"
#include "runtime/automation_error.h"
#include "sim/desktop.h"
#include "support/desktop_workbooks.h"

namespace harumado::workbook {
namespace {

const std::wstring kDesktop = L"C:\\Users\\user\\Desktop";

struct Harness {
  sim::Desktop desktop;
  sim::SimExcel& excel = desktop.excel;
  platform::Services services = desktop.services();
  app::Program program{services};
  std::vector<std::wstring> messages;  // every text Text2 took, in order
  // Every call and event of the simulated Excel, in order, without its time ("SaveAs ...").
  std::vector<std::wstring> log;
  std::function<void(const std::wstring& line)> on_call;
  std::vector<std::shared_ptr<sim::ExcelInstance>> started;  // in start order

  Harness() {
    program.Start();
    desktop.world.tracing = true;
    desktop.world.trace_sink = [this](const std::wstring& full) {
      const auto time_end = full.find(L"] ");
      const std::wstring line = time_end == std::wstring::npos ? full : full.substr(time_end + 2);
      if (line.rfind(L"excel ", 0) != 0) return;
      log.push_back(line.substr(6));
      // Instances leave the simulated Excel's list when they end: every one is kept here.
      if (log.back().rfind(L"instance ", 0) == 0 &&
          log.back().find(L" starts") != std::wstring::npos) {
        started.push_back(excel.instances().back());
      }
      if (on_call) on_call(log.back());
    };
    form().Text2().on_change = [this] { messages.push_back(form().Text2().text()); };
  }
  app::Form1& form() { return program.form1(); }
  void PutWorkbook(const std::wstring& name) {
    test_support::PutDesktopWorkbook(desktop.files, name);
  }
  // An instance that runs visible, as the user would have started it.
  void StartVisible() { excel.StartInstance(true); }
  // The next `times` calls of the operation fail with the error.
  void Fail(const std::wstring& operation, std::int32_t error, int times = 1) {
    excel.gate().FailNext(operation, error, times);
  }
  // Instances started so far (ids 1 to this, in start order), running or not.
  int instance_count() const { return static_cast<int>(started.size()); }
  const sim::ExcelInstance& instance(int id) const {
    return *started.at(static_cast<std::size_t>(id - 1));
  }
  // The state a start press leaves before it runs the open step.
  void AsStartPressed() {
    form().state.PasteActive = 1;
    form().ShowPastingLook();
  }
};

std::ptrdiff_t IndexOf(const std::vector<std::wstring>& log, const std::wstring& line) {
  return std::find(log.begin(), log.end(), line) - log.begin();
}

// An operation's call as the log shows it: "Quit", "Workbooks.Add fails with 1004".
bool IsCallOf(const std::wstring& line, const std::wstring& operation) {
  return line == operation || line.rfind(operation + L" ", 0) == 0;
}

struct ReleaseCase {
  const char* what;
  std::function<void(Harness&)> arrange;
};

// The open step runs as a start press leaves it; afterwards no Excel object may be held, and
// when a nested press attaches to Excel the outer run must already have let its objects go.
TEST(OpenStep, ReleasesEveryExcelObjectOnEveryPath) {
  const ReleaseCase cases[] = {
      {"existing workbook, Excel running",
       [](Harness& h) {
         h.StartVisible();
         h.PutWorkbook(L"book.xlsx");
       }},
      {"existing workbook, no Excel running", [](Harness& h) { h.PutWorkbook(L"book.xlsx"); }},
      {"missing workbook", [](Harness& h) { h.StartVisible(); }},
      {"existing workbook, open fails with 1004",
       [](Harness& h) {
         h.StartVisible();
         h.PutWorkbook(L"book.xlsx");
         h.Fail(L"Workbooks.Open", rt::err::kApplicationDefined);
       }},
      {"existing workbook, reading the name fails with 91",
       [](Harness& h) {
         h.StartVisible();
         h.PutWorkbook(L"book.xlsx");
         h.Fail(L"Name", rt::err::kObjectNotSet);
       }},
      {"missing workbook, saving fails with server execution failed",
       [](Harness& h) { h.Fail(L"SaveAs", rt::err::kServerExecFailed); }},
      {"missing workbook, adding is rejected five times",
       [](Harness& h) { h.Fail(L"Workbooks.Add", rt::err::kCallRejected, 5); }},
      {"missing workbook, no instance can be started at first, quitting fails later",
       [](Harness& h) {
         h.StartVisible();
         h.Fail(L"CreateObject", rt::err::kCannotCreateObject);
         h.Fail(L"Quit", rt::err::kApplicationDefined);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Harness h;
    h.form().Text3().SetText(L"book");
    c.arrange(h);
    h.AsStartPressed();
    std::vector<int> held_at_attach;
    h.on_call = [&](const std::wstring& line) {
      if (IsCallOf(line, L"GetActiveObject")) held_at_attach.push_back(h.excel.live_objects);
    };
    try {
      h.form().Command8_Click();
    } catch (const rt::AutomationError&) {
      // Errors after the open step's trap is disarmed go to the caller.
    }
    EXPECT_EQ(h.excel.live_objects, 0);
    for (int held : held_at_attach) EXPECT_EQ(held, 0);
  }
}

// A stop press: the wait message and the stopped look come before any Excel operation, and the
// open step then shows the stopped-state message with the path.
TEST(StartStopPress, StopPressShowsWaitMessageAndStoppedLookBeforeTheOpenStep) {
  Harness h;
  h.StartVisible();
  h.PutWorkbook(L"book.xlsx");
  h.form().Text3().SetText(L"book");
  h.AsStartPressed();
  std::vector<std::wstring> captions_at_first_call;
  h.on_call = [&](const std::wstring&) {
    if (captions_at_first_call.empty()) {
      captions_at_first_call.push_back(h.form().Command5().text());
      EXPECT_EQ(h.form().Command5().back_color(), ui::colors::kGreen);
    }
  };
  h.form().Command5_Click();
  EXPECT_EQ(captions_at_first_call, std::vector<std::wstring>{L"    ファイル名  開く"});
  EXPECT_EQ(h.messages,
            (std::vector<std::wstring>{
                L"お待ち下さい", L"",
                L"セルに貼り付けは[ファイル名開く]ボタンを押して[貼り付け開始]ボタンにします。" +
                    kDesktop + L"\\book.xlsx"}));
  EXPECT_EQ(h.form().state.ToggledOff, 1);
  EXPECT_EQ(h.form().state.PasteActive, 0);
}

// Creating a missing workbook: every message in turn, including those of the nested press that
// the re-switch overwrites; the created message names the file saved.
TEST(OpenStep, MissingWorkbookShowsEveryMessageInTurn) {
  struct Case {
    const wchar_t* typed;
    const wchar_t* saved;
    const wchar_t* format;
  };
  for (const Case& c :
       {Case{L"book", L"book.xlsx", L"51"}, Case{L"book.xlsm", L"book.xlsm", L"52"}}) {
    SCOPED_TRACE(::testing::Message() << "saved as format " << c.format);
    Harness h;
    h.StartVisible();
    h.form().Text3().SetText(c.typed);
    h.form().Text2().SetText(L"お待ち下さい");
    h.messages.clear();
    h.AsStartPressed();
    h.form().Command8_Click();
    const std::wstring path = kDesktop + L"\\" + c.saved;
    const std::wstring created =
        std::wstring(L"デスクトップに[ ") + c.saved + L" ]を作成しました。";
    EXPECT_EQ(
        h.messages,
        (std::vector<std::wstring>{
            L"", L"ファイルは存在しません: " + path, created, L"お待ち下さい", L"",
            L"セルに貼り付けは[ファイル名開く]ボタンを押して[貼り付け開始]ボタンにします。" + path,
            L"文字をコピーするとセルに貼り付けが出来ます。" + path}));
    // Saved once by the first hidden instance; the second one only starts and quits.
    int saves = 0;
    for (const auto& line : h.log) {
      if (IsCallOf(line, L"SaveAs")) {
        ++saves;
        EXPECT_EQ(line, L"SaveAs " + path + L" format " + c.format);
        EXPECT_LT(IndexOf(h.log, L"instance 2 starts hidden"), IndexOf(h.log, line));
        EXPECT_LT(IndexOf(h.log, line), IndexOf(h.log, L"instance 2 ends"));
      }
    }
    EXPECT_EQ(saves, 1);
    ASSERT_NE(h.desktop.files.Find(path), nullptr);
    ASSERT_TRUE(h.desktop.files.Find(path)->excel_format.has_value());
    EXPECT_EQ(std::to_wstring(*h.desktop.files.Find(path)->excel_format), c.format);
    EXPECT_EQ(h.form().state.PasteActive, 1);
    EXPECT_EQ(h.form().Command5().text(), L"     貼り付け     開始");
  }
}

// Every way out of the create branch after it started a hidden instance: whatever fails, no
// hidden instance runs when the run is over, and no object is held.
TEST(OpenStep, NoHiddenInstanceOutlivesTheCreateBranch) {
  const ReleaseCase cases[] = {
      {"saving is refused with 1004",
       [](Harness& h) { h.Fail(L"SaveAs", rt::err::kApplicationDefined); }},
      {"saving fails with server execution failed",
       [](Harness& h) { h.Fail(L"SaveAs", rt::err::kServerExecFailed); }},
      {"adding the workbook fails with 1004",
       [](Harness& h) { h.Fail(L"Workbooks.Add", rt::err::kApplicationDefined); }},
      {"adding is rejected five times",
       [](Harness& h) { h.Fail(L"Workbooks.Add", rt::err::kCallRejected, 5); }},
      {"turning the alerts off fails",
       [](Harness& h) { h.Fail(L"DisplayAlerts", rt::err::kApplicationDefined); }},
      {"closing the new workbook fails",
       [](Harness& h) { h.Fail(L"Close", rt::err::kApplicationDefined); }},
      {"the first quit fails", [](Harness& h) { h.Fail(L"Quit", rt::err::kApplicationDefined); }},
      {"the second pass cannot add its workbook",
       [](Harness& h) {
         h.on_call = [&h](const std::wstring& line) {
           if (IsCallOf(line, L"SaveAs")) h.Fail(L"Workbooks.Add", rt::err::kApplicationDefined);
         };
       }},
      {"an object is missing after the hidden instance started (the trap starts a visible one)",
       [](Harness& h) { h.Fail(L"Workbooks.Add", rt::err::kObjectNotSet); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Harness h;
    h.StartVisible();  // the user's Excel, id 1
    h.form().Text3().SetText(L"book");
    c.arrange(h);
    h.AsStartPressed();
    try {
      h.form().Command8_Click();
    } catch (const rt::AutomationError&) {
      // Errors after the trap is disarmed go to the caller.
    }
    ASSERT_GE(h.instance_count(), 2);
    for (int id = 1; id <= h.instance_count(); ++id) {
      const auto& instance = h.instance(id);
      if (!instance.visible()) {
        EXPECT_FALSE(instance.running()) << "hidden instance #" << id;
      }
    }
    EXPECT_TRUE(h.instance(1).running());
    EXPECT_EQ(h.excel.live_objects, 0);
  }
}

// A hidden instance let go early is quit with its alerts off, so that its unsaved workbook is
// discarded instead of asking in a window nobody sees.
TEST(OpenStep, AFailedSaveQuitsTheHiddenInstanceWithItsAlertsOff) {
  Harness h;
  h.StartVisible();
  h.form().Text3().SetText(L"book");
  h.Fail(L"SaveAs", rt::err::kApplicationDefined);
  h.AsStartPressed();
  h.form().Command8_Click();
  ASSERT_GE(h.log.size(), 4u);
  const std::vector<std::wstring> tail(h.log.end() - 4, h.log.end());
  EXPECT_EQ(tail, (std::vector<std::wstring>{L"SaveAs fails with 1004", L"DisplayAlerts", L"Quit",
                                             L"instance 2 ends"}));
  EXPECT_FALSE(h.instance(2).display_alerts());
  EXPECT_EQ(h.form().Text2().fore_color(), ui::colors::kErrorRed);
  EXPECT_EQ(h.form().state.PasteActive, 1);
}

// Shutting down, the create branch shows that the file is missing and stops there: no Excel
// operation, no press. Also when the close came while a retry of the run waited: the instance
// the run had started is quit, and nothing else happens.
TEST(OpenStep, WhileShuttingDownTheCreateBranchTakesNoExcelOperationAndMakesNoPress) {
  {
    SCOPED_TRACE("unloading when the run starts");
    Harness h;
    h.StartVisible();
    h.form().Text3().SetText(L"book");
    h.form().state.Unloading = 1;
    h.form().state.ToggledOff = 1;  // as the shutdown's stop press leaves it
    h.log.clear();                  // start-up set the busy policy
    h.form().Command8_Click();
    EXPECT_TRUE(h.log.empty());
    EXPECT_EQ(h.form().Text2().text(), L"ファイルは存在しません: " + kDesktop + L"\\book.xlsx");
    EXPECT_EQ(h.form().state.PasteActive, 0);
    EXPECT_EQ(h.form().Command5().back_color(), ui::colors::kGreen);
  }
  {
    SCOPED_TRACE("the close comes during a retry wait");
    Harness h;
    h.StartVisible();
    h.form().Text3().SetText(L"book");
    h.Fail(L"Workbooks.Add", rt::err::kCallRejected);
    h.on_call = [&](const std::wstring& line) {
      if (IsCallOf(line, L"Workbooks.Add")) h.form().state.Unloading = 1;
    };
    h.AsStartPressed();
    h.log.clear();
    h.form().Command8_Click();
    EXPECT_EQ(h.log, (std::vector<std::wstring>{L"CreateObject", L"instance 2 starts hidden",
                                                L"Workbooks.Add fails with 0x80010001",
                                                L"DisplayAlerts", L"Quit", L"instance 2 ends"}));
    EXPECT_FALSE(h.instance(2).display_alerts());
    EXPECT_FALSE(h.instance(2).running());
    EXPECT_EQ(h.excel.live_objects, 0);
    EXPECT_EQ(h.desktop.files.Find(kDesktop + L"\\book.xlsx"), nullptr);
  }
}

// The ways a typed name reaches the checks before any host operation: the press (from either
// state) and the open step that the cell-frame button and Command8 run without a press.
struct NameCheckEntry {
  const char* what;
  bool pasting;
  void (*act)(app::Form1&);
};
const NameCheckEntry kStartPress{"start press", false, [](app::Form1& f) { f.Command5_Click(); }};
const NameCheckEntry kStopPress{"stop press", true, [](app::Form1& f) { f.Command5_Click(); }};
const NameCheckEntry kCommand8{"Command8", false, [](app::Form1& f) { f.Command8_Click(); }};
const NameCheckEntry kCellFrameWhilePasting{"cell-frame button while pasting", true,
                                            [](app::Form1& f) { f.Command1_Click(); }};

// A name that makes no file on the Desktop is refused before any Excel operation, by the press
// and by the open step that the cell-frame button and Command8 run without a press; the state
// stays as it was.
TEST(HostileNames, AreRefusedByThePressAndByTheOpenStep) {
  const std::wstring message =
      L"このファイル名は使えません。デスクトップに作れるファイル名を入力してください。";
  const NameCheckEntry entries[] = {kStartPress, kStopPress, kCommand8, kCellFrameWhilePasting};
  for (const auto& e : entries) {
    for (const wchar_t* typed : {L"..\\..\\book.xlsx", L"C:\\x.xlsx", L"aux.xlsx", L"a\tb"}) {
      SCOPED_TRACE(::testing::Message()
                   << e.what << ", name of " << std::wstring(typed).size() << " characters");
      Harness h;
      h.StartVisible();
      h.form().Text3().SetText(typed);
      if (e.pasting) h.AsStartPressed();
      h.form().Text2().SetForeColor(ui::colors::kErrorRed);
      h.form().Text1().SetFocus();
      h.messages.clear();
      h.log.clear();
      e.act(h.form());
      EXPECT_TRUE(h.log.empty());
      EXPECT_EQ(h.form().state.PasteActive, e.pasting ? 1 : 0);
      EXPECT_EQ(h.form().state.ToggledOff, 0);
      EXPECT_EQ(h.form().Command5().back_color(),
                e.pasting ? ui::colors::kYellow : ui::colors::kGreen);
      EXPECT_EQ(h.program.focused(), &h.form().Text3());
      // The open step empties Text2 first; the cell-frame button writes its own message after.
      EXPECT_NE(std::find(h.messages.begin(), h.messages.end(), message), h.messages.end());
      EXPECT_EQ(h.form().Text2().fore_color(), ui::colors::kBlue);
    }
  }
}

// A host that cannot write a format (LibreOffice Calc and xlsb): a missing workbook of that
// format is refused in blue by the press and by the open step, before any host operation, and
// nothing is created; an existing one opens as any other.
TEST(UncreatableFormat, MissingWorkbookIsRefusedInBlueAndAnExistingOneOpens) {
  const std::wstring message =
      L"[xlsb] のファイルはこの表計算ソフトでは新しく作成できません。[xlsx] [xlsm] [xls] "
      L"のどれかを使用してください。";
  const NameCheckEntry entries[] = {kStartPress, kCommand8, kCellFrameWhilePasting};
  for (const auto& e : entries) {
    SCOPED_TRACE(e.what);
    Harness h;
    h.StartVisible();
    h.excel.unsavable_formats = {platform::file_format::kXlsb};
    h.form().Text3().SetText(L"book.xlsb");
    if (e.pasting) h.AsStartPressed();
    h.form().Text2().SetForeColor(ui::colors::kErrorRed);
    h.log.clear();
    h.messages.clear();
    e.act(h.form());
    EXPECT_TRUE(h.log.empty());
    EXPECT_FALSE(h.desktop.files.FileExists(kDesktop + L"\\book.xlsb"));
    EXPECT_EQ(h.form().state.PasteActive, e.pasting ? 1 : 0);
    EXPECT_EQ(h.program.focused(), &h.form().Text3());
    EXPECT_NE(std::find(h.messages.begin(), h.messages.end(), message), h.messages.end());
    EXPECT_EQ(h.form().Text2().fore_color(), ui::colors::kBlue);
  }
  Harness h;
  h.StartVisible();
  h.excel.unsavable_formats = {platform::file_format::kXlsb};
  h.PutWorkbook(L"book.xlsb");
  h.form().Text3().SetText(L"book.xlsb");
  h.form().Command8_Click();
  EXPECT_NE(std::find(h.log.begin(), h.log.end(), L"Workbooks.Open " + kDesktop + L"\\book.xlsb"),
            h.log.end());
}

}  // namespace
}  // namespace harumado::workbook
