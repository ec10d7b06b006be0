// Attaching to and starting LibreOffice, an ended LibreOffice, and the Global application that
// binds to the next one.
#include <gtest/gtest.h>

#include "calc/calc_host.h"
#include "calc_fixture.h"
#include "support/error_of.h"

namespace harumado::calc::testing {
namespace {

using test_support::ErrorOf;

TEST(CalcConnectionTest, GetActiveObjectWithNothingOnThePipeFailsWith429) {
  TestClipboard clipboard;
  CalcHostOptions options;
  options.pipe_name = UniquePipeName();
  CalcHost host(options, clipboard);
  EXPECT_EQ(ErrorOf([&] { host.GetActiveObject(); }), rt::err::kCannotCreateObject);
  EXPECT_FALSE(host.IsRunning());
}

// A machine without LibreOffice: nothing can be started, as when Excel is not installed.
TEST(CalcConnectionTest, CreateObjectWithoutLibreOfficeFailsWith429) {
  TestClipboard clipboard;
  CalcHostOptions options;
  options.pipe_name = UniquePipeName();
  options.program = "/nonexistent/libreoffice/program/soffice";
  CalcHost host(options, clipboard);
  EXPECT_EQ(ErrorOf([&] { host.CreateObject(); }), rt::err::kCannotCreateObject);
  EXPECT_TRUE(host.started_process_groups().empty());
  EXPECT_FALSE(host.IsRunning());
}

TEST(CalcConnectionTest, CreateObjectStartsOneThatGetActiveObjectThenFindsAndQuitEnds) {
  TestClipboard clipboard;
  TempDir profile;
  CalcHostOptions options;
  options.pipe_name = UniquePipeName();
  options.profile_url = FolderUrl(profile);
  options.headless = true;
  CalcHost host(options, clipboard);
  StartedOffices started(host);

  auto created = host.CreateObject();
  ASSERT_EQ(started.Track(), 1u);
  auto workbook = created->AddWorkbook();
  EXPECT_NE(created->ActiveSheet(), nullptr);

  // A second application reaches the same LibreOffice (its workbook is there) without starting
  // another one.
  auto attached = host.GetActiveObject();
  ASSERT_NE(attached->ActiveSheet(), nullptr);
  attached->ActiveSheet()->SetCell(2, 3, platform::CellProperty::kValue, rt::Value::Number(7));
  EXPECT_EQ(created->ActiveSheet()->GetCell(2, 3, platform::CellProperty::kValue),
            rt::Value::Number(7));
  auto again = host.CreateObject();
  EXPECT_EQ(host.started_process_groups().size(), 1u);

  // Quit through an application that attached leaves the LibreOffice running; through the one
  // that started it, ends it.
  workbook->Close(false);
  attached->Quit();
  again->Quit();
  EXPECT_TRUE(host.IsRunning());
  created->Quit();
  EXPECT_EQ(ErrorOf([&] { host.GetActiveObject(); }), rt::err::kCannotCreateObject);
}

// The user's LibreOffice runs already, not listening on the program's pipe: the LibreOffice that
// CreateObject starts hands its arguments over to it and ends, and the running one listens on
// the pipe from then on. The program works in the user's LibreOffice, not in a second one.
TEST(CalcConnectionTest, CreateObjectWithALibreOfficeRunningOffThePipeMakesThatOneListen) {
  Office running;  // the user's, on a pipe of its own
  TestClipboard clipboard;
  CalcHostOptions options = running.Options();
  options.pipe_name = UniquePipeName();
  CalcHost host(options, clipboard);
  StartedOffices started(host);

  auto application = host.CreateObject();
  ASSERT_EQ(started.Track(), 1u);
  auto workbook = application->AddWorkbook();
  application->ActiveSheet()->SetCell(1, 1, platform::CellProperty::kValue, rt::Value::Number(42));
  // The workbook is in the running LibreOffice: reached over its own pipe, it holds the value.
  CalcHostOptions own = running.Options();
  CalcHost other(own, clipboard);
  auto theirs = other.GetActiveObject();
  ASSERT_NE(theirs->ActiveSheet(), nullptr);
  EXPECT_EQ(theirs->ActiveSheet()->GetCell(1, 1, platform::CellProperty::kValue),
            rt::Value::Number(42));
  workbook->Close(false);
}

class CalcEndedTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { office_ = new Office(); }
  static void TearDownTestSuite() {
    delete office_;
    office_ = nullptr;
  }
  static Office* office_;
  TestClipboard clipboard_;
};
Office* CalcEndedTest::office_ = nullptr;

// Every object of an ended LibreOffice answers 0x800706BA; the Global application fails the same
// way, then binds to the next LibreOffice on the pipe.
TEST_F(CalcEndedTest, KilledOfficeAnswers800706BAAndTheGlobalApplicationRebinds) {
  CalcHost host(office_->Options(), clipboard_);
  auto application = host.GetActiveObject();
  auto workbook = application->AddWorkbook();
  auto sheet = application->ActiveSheet();
  ASSERT_NE(sheet, nullptr);
  auto& global = host.GlobalApplication();
  EXPECT_NE(global.ActiveSheet(), nullptr);

  office_->Kill();
  EXPECT_EQ(ErrorOf([&] { sheet->GetCell(1, 1, platform::CellProperty::kValue); }),
            rt::err::kServerUnavailable);
  EXPECT_EQ(ErrorOf([&] { application->GetActiveCell(platform::ActiveCellProperty::kRow); }),
            rt::err::kServerUnavailable);
  EXPECT_EQ(ErrorOf([&] { workbook->Name(); }), rt::err::kServerUnavailable);
  EXPECT_EQ(ErrorOf([&] { global.ActiveSheet(); }), rt::err::kServerUnavailable);
  // Nothing listens now: binding again fails as a call to an ended one does.
  EXPECT_EQ(ErrorOf([&] { global.ActiveSheet(); }), rt::err::kServerUnavailable);

  // A LibreOffice started again on the pipe: the Global application binds to it.
  const std::string pipe = office_->pipe();
  delete office_;
  office_ = new Office(pipe);
  host.GetActiveObject()->AddWorkbook();
  EXPECT_NE(global.ActiveSheet(), nullptr);
  EXPECT_EQ(global.GetActiveCell(platform::ActiveCellProperty::kRow), 1);
}

}  // namespace
}  // namespace harumado::calc::testing
