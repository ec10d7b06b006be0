// LibreOffice with windows, on a virtual display of the test's own: the window handle the
// program brings forward and reads the title of, and a cell edit in progress when the program
// pastes.
#include <gtest/gtest.h>

#include <chrono>
#include <com/sun/star/awt/XWindow2.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XFrames.hpp>
#include <thread>

#include "calc_fixture.h"

namespace harumado::calc::testing {
namespace {

class CalcWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    display_ = new VirtualDisplay();
    office_ = new Office(UniquePipeName(), false);
  }
  static void TearDownTestSuite() {
    delete office_;
    office_ = nullptr;
    delete display_;
    display_ = nullptr;
  }
  static VirtualDisplay* display_;
  static Office* office_;
  TestClipboard clipboard_;
};
VirtualDisplay* CalcWindowTest::display_ = nullptr;
Office* CalcWindowTest::office_ = nullptr;

// Hwnd is the X window of the workbook's frame, whose title holds the workbook's name.
TEST_F(CalcWindowTest, HwndIsTheTopLevelWindowTitledWithTheWorkbook) {
  TempDir folder;
  CalcHost host(office_->Options(), clipboard_);
  auto application = host.GetActiveObject();
  auto workbook = application->AddWorkbook();
  workbook->SaveAs((std::filesystem::path(folder.path()) / "window.xlsx").wstring(),
                   platform::file_format::kXlsx);
  application->SetVisible(true);
  const platform::WindowHandle window = host.GlobalApplication().Hwnd();
  ASSERT_NE(window, 0);
  const std::string title = CommandOutput("xdotool getwindowname " + std::to_string(window));
  EXPECT_NE(title.find("window.xlsx"), std::string::npos) << title;
  // The same title through the host, for the program's window system.
  const auto host_title = host.WindowTitle(window);
  ASSERT_TRUE(host_title.has_value());
  EXPECT_NE(host_title->find(L"window.xlsx"), std::wstring::npos);
  EXPECT_FALSE(host.WindowTitle(window + 1).has_value());
  host.BringToFront(window);
  workbook->Close(false);
}

// A workbook that CreateObject's application adds stays hidden until the application is made
// visible, also in a LibreOffice that was running already (as in a new hidden Excel).
TEST_F(CalcWindowTest, WorkbooksOfCreateObjectStayHiddenUntilShown) {
  CalcHost host(office_->Options(), clipboard_);
  auto created = host.CreateObject();
  auto workbook = created->AddWorkbook();
  const auto desktop = css::frame::Desktop::create(office_->Context());
  auto visible_frames = [&] {
    int shown = 0;
    const auto frames = desktop->getFrames();
    for (sal_Int32 i = 0; i < frames->getCount(); ++i) {
      Reference<css::frame::XFrame> frame(frames->getByIndex(i), css::uno::UNO_QUERY_THROW);
      Reference<css::awt::XWindow2> window(frame->getContainerWindow(), css::uno::UNO_QUERY);
      if (window.is() && window->isVisible()) ++shown;
    }
    return shown;
  };
  EXPECT_EQ(visible_frames(), 0);
  created->SetVisible(true);
  EXPECT_EQ(visible_frames(), 1);
  workbook->Close(false);
}

// Escape to the window, as the paste loop posts it before a paste, ends a cell edit in progress:
// committing it afterwards would overwrite the pasted cell.
TEST_F(CalcWindowTest, CellEditInProgressIsEndedBeforeThePaste) {
  CalcHost host(office_->Options(), clipboard_);
  auto application = host.GetActiveObject();
  auto workbook = application->AddWorkbook();
  application->SetVisible(true);
  const std::string window = std::to_string(host.GlobalApplication().Hwnd());
  ASSERT_EQ(CommandOutput("xdotool windowfocus --sync " + window + " && echo ok"), "ok");
  ASSERT_EQ(CommandOutput("xdotool type --delay 20 abc && echo ok"), "ok");
  host.EndCellEdit(host.GlobalApplication().Hwnd());
  clipboard_.text = L"5";
  auto sheet = application->ActiveSheet();
  sheet->Paste();
  // Return would commit an edit still open; with none open it only moves the cursor down.
  ASSERT_EQ(CommandOutput("xdotool key --window " + window + " Return && echo ok"), "ok");
  // The key reaches Calc through the X server; a call over the pipe is served after it.
  for (int tries = 0;
       tries < 50 && application->GetActiveCell(platform::ActiveCellProperty::kRow) == 1; ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_EQ(sheet->GetCell(1, 1, platform::CellProperty::kValue), rt::Value::Number(5));
  workbook->Close(false);
}

}  // namespace
}  // namespace harumado::calc::testing
