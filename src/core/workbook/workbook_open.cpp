// The workbook open step Command8_Click: opens the workbook named in Text3 from the Desktop in
// a visible Excel, or first creates it there, and records Excel's window in ExcelHwnd and
// whether its title shows the workbook in TitleMatch.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/ui/layouts.h"
#include "core/workbook/name_refusal.h"
#include "core/workbook/run_excel.h"
#include "core/workbook/save_format.h"
#include "core/workbook/texts.h"
#include "core/workbook/workbook_path.h"
#include "platform/spreadsheet_host.h"
#include "runtime/automation_error.h"

namespace harumado::app {
namespace {

constexpr int kBusyTimeoutMs = 1000;
constexpr int kFirstAttachWaitMs = 800;
constexpr int kRetryWaitMs = 1000;
constexpr int kRejectionsThatEndTheRun = 5;
constexpr int kTitleBufferChars = 255;

// Every single operation of the open step, in the order it is written. The error trap resumes
// with the operation that follows a failed one in this order, or runs the failed one again.
enum class Step {
  // Start of every run.
  kReadDesktopFolder,
  kClearMessage,
  kCheckName,
  kTestFile,
  // Open an existing workbook.
  kShowOpenMessage,
  kEndWhenUnloading,
  kSetBusyPolicy,
  kAttach,
  kFirstAttachWait,
  kDisarmTrap,
  kShowExcel,
  kOpenWorkbook,
  kReadName,
  kReadWindowHandle,
  kReadTitle,
  kMatchTitle,
  // Create a missing workbook.
  kShowNotFound,
  kStartHidden,
  kAddWorkbook,
  kEmptyNameCheck,
  kAlertsOff,
  kSave,
  kAlertsOn,
  kCloseWorkbook,
  kQuitInstance,
  kReleaseInstance,
  kShowCreated,
  kStartSecondHidden,
  kAddSecondWorkbook,
  kSecondNameCheck,
  kCloseSecondWorkbook,
  kQuitSecondInstance,
  kReleaseSecondInstance,
  kPressStartStop,
  kSwitchPastingBackOn,
  kEnd,
};

Step Following(Step step) { return static_cast<Step>(static_cast<int>(step) + 1); }

// The operations of the create branch after its first message.
bool Creates(Step step) { return step > Step::kShowNotFound && step < Step::kEnd; }

// What the trap does after handling an error.
enum class Resume { kRetry, kNext, kEndRun };

// One run of the open step. It holds the Excel objects of the run; they are released where the
// run lets them go and, whatever happens, when the run object goes out of scope (a hidden
// instance the run started is quit then, see RunExcel).
class OpenRun {
 public:
  explicit OpenRun(Form1& form) : form_(form), os_(form.program.os) {}
  void Execute();

 private:
  Step Perform(Step step);
  Resume Trap(std::int32_t number);
  void StartVisibleInstance();
  // The object, or error 91 when the run holds none.
  platform::ExcelApplication& App();
  platform::ExcelWorkbook& Workbook();
  std::wstring Path() const { return workbook::WorkbookPath(desktop_folder_, Typed()); }
  std::wstring Typed() const { return form_.Text3().text(); }
  bool EmptyNameShown() const { return form_.Text2().text() == workbook::kEmptyNameMessage; }
  void ShowCreatedMessage();
  // The typed name may have changed while a retry waited; true when it is refused now.
  bool NameRefused() { return workbook::RefuseUnusableName(form_, desktop_folder_); }

  Form1& form_;
  platform::Services& os_;
  bool armed_ = true;
  int rejections_ = 0;  // call-rejected errors in this run, over all its operations
  std::wstring desktop_folder_;
  workbook::RunExcel excel_;  // declared before the workbook, which is released first
  std::unique_ptr<platform::ExcelWorkbook> workbook_;
  std::wstring workbook_name_;
  std::wstring title_;
};

// The trap loop: each operation runs by itself, so that the trap can run it again or go on with
// the one after it. Once the trap is disarmed, an error leaves the run for the caller. The trap
// is handled outside the catch clause, because a retry dispatches pending events and the
// trap's own actions may fail in turn, which goes to the caller as well.
//
// Shutdown stops pasting through the button, which runs this step: then, as the open branch
// does, the create branch takes no Excel operation and makes no press, also when the close came
// while a retry of this run waited. A press from here would switch pasting on again inside the
// shutdown and keep the program running without its window.
void OpenRun::Execute() {
  Step step = Step::kReadDesktopFolder;
  while (step != Step::kEnd) {
    if (Creates(step) && form_.state.Unloading == 1) return;
    std::optional<std::int32_t> failed;
    try {
      step = Perform(step);
    } catch (const rt::AutomationError& e) {
      if (!armed_) throw;
      failed = e.number();
    }
    if (!failed) continue;
    switch (Trap(*failed)) {
      case Resume::kRetry:
        break;
      case Resume::kNext:
        step = Following(step);
        break;
      case Resume::kEndRun:
        return;
    }
  }
}

// One operation; returns the operation to run next. File existence is a service of the shell,
// so there is no file-system object to create or release.
Step OpenRun::Perform(Step step) {
  auto& state = form_.state;
  switch (step) {
    case Step::kReadDesktopFolder:
      desktop_folder_ = os_.shell.DesktopFolder();
      break;
    case Step::kClearMessage:
      form_.Text2().SetText(L"");
      break;
    case Step::kCheckName:
      // The cell-frame button and Command8 run this step without a press that checked the name.
      if (NameRefused()) return Step::kEnd;
      break;
    case Step::kTestFile:
      if (os_.shell.FileExists(Path())) return Step::kShowOpenMessage;
      // The cell-frame button and Command8 come here without the press that refuses a format
      // the spreadsheet cannot create.
      if (workbook::RefuseUncreatableFormat(form_, desktop_folder_)) return Step::kEnd;
      return Step::kShowNotFound;

    case Step::kShowOpenMessage:
      // The button's look tells the direction of the press that runs this step.
      if (form_.Command5().back_color() == ui::colors::kGreen) {
        form_.Text2().SetText(
            L"セルに貼り付けは[ファイル名開く]ボタンを押して[貼り付け開始]ボタンにします。" +
            Path());
      } else if (form_.Command5().back_color() == ui::colors::kYellow) {
        form_.Text2().SetText(workbook::CopyToPasteMessage(Path()));
      }
      break;
    case Step::kEndWhenUnloading:
      // Shutdown stops pasting through the button; Excel is left alone then.
      if (state.Unloading == 1) return Step::kEnd;
      break;
    case Step::kSetBusyPolicy:
      os_.host.SetBusyPolicy(kBusyTimeoutMs);
      break;
    case Step::kAttach:
      excel_.UseKept(os_.host.GetActiveObject());
      break;
    case Step::kFirstAttachWait:
      // Gives an Excel that has just been found or started time to settle, once per window.
      if (!form_.FirstAttachDone) {
        os_.windows.Sleep(kFirstAttachWaitMs);
        form_.FirstAttachDone = true;
      }
      break;
    case Step::kDisarmTrap:
      armed_ = false;
      break;
    case Step::kShowExcel:
      App().SetVisible(true);
      break;
    case Step::kOpenWorkbook:
      if (NameRefused()) return Step::kEnd;
      workbook_ = App().OpenWorkbook(Path());
      break;
    case Step::kReadName:
      workbook_name_ = Workbook().Name();
      break;
    case Step::kReadWindowHandle:
      // Excel's global object may resolve to another running Excel than the one that opened the
      // workbook; the title tells the two apart.
      state.ExcelHwnd = os_.host.GlobalApplication().Hwnd();
      break;
    case Step::kReadTitle:
      title_ = os_.windows.GetWindowText(state.ExcelHwnd, kTitleBufferChars);
      break;
    case Step::kMatchTitle:
      state.TitleMatch = title_.find(workbook_name_) != std::wstring::npos
                             ? workbook::kTitleMatchYes
                             : workbook::kTitleMatchNo;
      return Step::kEnd;

    case Step::kShowNotFound:
      form_.Text2().SetText(L"ファイルは存在しません: " + Path());
      break;
    case Step::kStartHidden:
    case Step::kStartSecondHidden:
      excel_.UseStarted(os_.host.CreateObject());
      break;
    case Step::kAddWorkbook:
    case Step::kAddSecondWorkbook:
      workbook_ = App().AddWorkbook();
      break;
    case Step::kEmptyNameCheck:
      if (Typed().empty()) {
        form_.Text2().SetText(workbook::kEmptyNameMessage);
        form_.Text3().SetFocus();
        return Step::kCloseWorkbook;
      }
      break;
    case Step::kAlertsOff:
      App().SetDisplayAlerts(false);
      break;
    case Step::kSave:
      // A name whose extension names no format saves nothing; the nested press refuses it.
      if (NameRefused()) return Step::kEnd;
      if (const auto format = workbook::SaveFileFormat(Typed())) {
        Workbook().SaveAs(Path(), *format);
      }
      break;
    case Step::kAlertsOn:
      App().SetDisplayAlerts(true);
      break;
    case Step::kCloseWorkbook:
    case Step::kCloseSecondWorkbook:
      Workbook().Close(false);
      break;
    case Step::kQuitInstance:
    case Step::kQuitSecondInstance:
      excel_.Quit();
      break;
    case Step::kReleaseInstance:
    case Step::kReleaseSecondInstance:
      workbook_.reset();
      excel_.Release();
      break;
    case Step::kShowCreated:
      if (!EmptyNameShown()) ShowCreatedMessage();
      break;
    case Step::kSecondNameCheck:
      // The second hidden instance only starts and quits; nothing is saved in it.
      if (Typed().empty()) {
        form_.Text2().SetText(workbook::kEmptyNameMessage);
        form_.Text3().SetFocus();
      } else {
        App().SetDisplayAlerts(false);
      }
      break;
    case Step::kPressStartStop:
      // The nested press flips pasting and opens the new workbook through the open branch.
      if (!EmptyNameShown()) {
        ShowCreatedMessage();
        form_.Command5_Click();
      }
      break;
    case Step::kSwitchPastingBackOn:
      // A start press for a missing workbook comes here with pasting switched off again by the
      // nested press; pasting goes on, and the outer press runs the paste loop.
      if (state.ToggledOff == 1) {
        state.PasteActive = 1;
        form_.ShowPastingLook();
        form_.Text2().SetText(workbook::CopyToPasteMessage(Path()));
      }
      break;
    case Step::kEnd:
      return Step::kEnd;
  }
  return Following(step);
}

// The error trap of the run. Excel missing or an object not set: a visible instance is started
// and the run goes on with it. A rejected call is tried again after a pause, up to four times.
// Every other error ends the run with a red message.
Resume OpenRun::Trap(std::int32_t number) {
  const std::wstring path = Path();
  switch (number) {
    case rt::err::kObjectNotSet:
      form_.Text2().SetText(L"91文字をコピーするとセルに貼り付けが出来ます。" + path);
      StartVisibleInstance();
      return Resume::kNext;
    case rt::err::kCannotCreateObject:
      form_.Text2().SetText(workbook::CopyToPasteMessage(path));
      StartVisibleInstance();
      return Resume::kNext;
    case rt::err::kServerExecFailed:
      form_.ShowError(workbook::PressOrderMessage(path));
      return Resume::kEndRun;
    case rt::err::kCallRejected:
      if (++rejections_ < kRejectionsThatEndTheRun) {
        form_.Text2().SetText(workbook::kRetryMessage);
        os_.windows.DoEvents();
        os_.windows.Sleep(kRetryWaitMs);
        return Resume::kRetry;
      }
      break;
    default:
      break;
  }
  form_.ShowError(L"開いている[ " + workbook::WorkbookName(Typed()) +
                  L" ]を閉じてから[貼り付け開始]ボタンを押して下さい。[" + path + L"]");
  return Resume::kEndRun;
}

// After this the trap stays disarmed for the rest of the run; an error here goes to the caller.
void OpenRun::StartVisibleInstance() {
  excel_.UseKept(os_.host.CreateObject());
  armed_ = false;
  App().SetVisible(true);
  App().SetDisplayAlerts(false);
}

platform::ExcelApplication& OpenRun::App() { return excel_.app(); }

platform::ExcelWorkbook& OpenRun::Workbook() {
  if (!workbook_) throw rt::AutomationError(rt::err::kObjectNotSet);
  return *workbook_;
}

// Names the file that was saved: the typed name, with ".xlsx" when it had no extension.
void OpenRun::ShowCreatedMessage() {
  form_.Text3().SetFocus();
  form_.Text2().SetText(L"デスクトップに[ " + workbook::WorkbookName(Typed()) +
                        L" ]を作成しました。");
}

}  // namespace

void Form1::Command8_Click() {
  OpenRun run(*this);
  run.Execute();
}

}  // namespace harumado::app
