#include "calc_fixture.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <csignal>
#include <cstdlib>

#include "calc/office_connection.h"

namespace harumado::calc::testing {

namespace {
// A first start of a fresh profile restarts LibreOffice once; allow for a slow machine.
constexpr int kStartTimeoutMs = 90000;
}  // namespace

std::string FolderUrl(const TempDir& folder) { return "file://" + folder.path(); }

std::string UniquePipeName() {
  static std::atomic<int> next{0};
  return "harumado-test-" + std::to_string(getpid()) + "-" + std::to_string(next++);
}

namespace {

// What was started and not yet ended, as kill() takes it (a process group as its negative id):
// a test process that crashes ends them on its way out, so that no LibreOffice or X server
// outlives it.
constexpr int kMaxTracked = 16;
volatile sig_atomic_t g_tracked[kMaxTracked] = {};

void EndTrackedAndDie(int signal_number) {
  for (int i = 0; i < kMaxTracked; ++i) {
    if (g_tracked[i] != 0) kill(static_cast<pid_t>(g_tracked[i]), SIGKILL);
  }
  std::signal(signal_number, SIG_DFL);
  raise(signal_number);
}

bool Prepare() {
  for (int s : {SIGSEGV, SIGBUS, SIGABRT, SIGFPE, SIGILL, SIGTERM, SIGINT}) {
    std::signal(s, EndTrackedAndDie);
  }
  return prctl(PR_SET_CHILD_SUBREAPER, 1) == 0;
}
const bool kPrepared = Prepare();

void Register(pid_t target) {
  (void)kPrepared;
  for (int i = 0; i < kMaxTracked; ++i) {
    if (g_tracked[i] == 0) {
      g_tracked[i] = target;
      return;
    }
  }
}

void Unregister(pid_t target) {
  for (int i = 0; i < kMaxTracked; ++i) {
    if (g_tracked[i] == target) g_tracked[i] = 0;
  }
}

}  // namespace

void TrackGroup(pid_t group) { Register(-group); }

// The test process is the subreaper of what it starts: the office process, orphaned when its
// launcher is killed, comes back to it and is collected here too.
void KillGroup(pid_t group) {
  if (group <= 0) return;
  Unregister(-group);
  kill(-group, SIGKILL);
  int status = 0;
  while (waitpid(-group, &status, 0) > 0) {
  }
}

StartedOffices::~StartedOffices() {
  for (pid_t group : host_.started_process_groups()) KillGroup(group);
}

std::size_t StartedOffices::Track() {
  for (pid_t group : host_.started_process_groups()) TrackGroup(group);
  return host_.started_process_groups().size();
}

Office::Office(std::string pipe, bool headless) : pipe_(std::move(pipe)) {
  const auto started = StartOffice(
      OfficeLaunch{HARUMADO_LO_PROGRAM_DIR "/soffice", pipe_, FolderUrl(profile_), headless});
  if (!started) throw std::runtime_error("soffice could not be started");
  group_ = *started;
  TrackGroup(group_);
  if (!WaitForPipe(pipe_, group_, kStartTimeoutMs).is()) {
    KillGroup(group_);
    group_ = 0;
    throw std::runtime_error("soffice did not answer on its pipe in time");
  }
}

Office::~Office() { Kill(); }

void Office::Kill() {
  KillGroup(group_);
  group_ = 0;
}

VirtualDisplay::VirtualDisplay() { Register(server_.pid()); }

VirtualDisplay::~VirtualDisplay() { Unregister(server_.pid()); }

CalcHostOptions Office::Options() const {
  CalcHostOptions options;
  options.pipe_name = pipe_;
  options.profile_url = FolderUrl(profile_);
  options.headless = true;
  options.start_timeout_ms = kStartTimeoutMs;
  return options;
}

Reference<css::uno::XComponentContext> Office::Context() {
  auto context = ConnectToPipe(pipe_);
  if (!context.is()) throw std::runtime_error("the test's soffice does not answer");
  return context;
}

Office* CalcSuite::office_ = nullptr;

void CalcSuite::SetUpTestSuite() { office_ = new Office(); }

void CalcSuite::TearDownTestSuite() {
  delete office_;
  office_ = nullptr;
}

void CalcSuite::SetUp() {
  host_ = std::make_unique<CalcHost>(office_->Options(), clipboard_);
  application_ = host_->GetActiveObject();
  workbook_ = application_->AddWorkbook();
  sheet_ = application_->ActiveSheet();
  ASSERT_NE(sheet_, nullptr);
}

void CalcSuite::TearDown() {
  sheet_.reset();
  if (workbook_) workbook_->Close(false);
}

// The test's workbook is the last one made: LibreOffice lists its documents in that order.
Reference<css::sheet::XSpreadsheetDocument> CalcSuite::UnoDocument() {
  const auto desktop = css::frame::Desktop::create(office_->Context());
  Reference<css::sheet::XSpreadsheetDocument> document(desktop->getCurrentComponent(),
                                                       css::uno::UNO_QUERY);
  if (!document.is()) {
    const auto components = desktop->getComponents()->createEnumeration();
    while (components->hasMoreElements()) {
      Reference<css::sheet::XSpreadsheetDocument> candidate(components->nextElement(),
                                                            css::uno::UNO_QUERY);
      if (candidate.is()) document = candidate;
    }
  }
  if (!document.is()) throw std::runtime_error("no workbook is open");
  return document;
}

Reference<css::sheet::XSpreadsheet> CalcSuite::UnoSheet() {
  Reference<css::container::XIndexAccess> sheets(UnoDocument()->getSheets(),
                                                 css::uno::UNO_QUERY_THROW);
  return Reference<css::sheet::XSpreadsheet>(sheets->getByIndex(0), css::uno::UNO_QUERY_THROW);
}

Reference<css::table::XCell> CalcSuite::UnoCell(std::int32_t row, std::int32_t column) {
  return UnoSheet()->getCellByPosition(column - 1, row - 1);
}

Reference<css::lang::XComponent> LoadHidden(Office& office, const std::filesystem::path& file) {
  const auto desktop = css::frame::Desktop::create(office.Context());
  Reference<css::frame::XComponentLoader> loader(desktop, css::uno::UNO_QUERY_THROW);
  return loader->loadComponentFromURL(FileUrl(file.wstring()), "_blank", 0,
                                      SequenceOf({Argument("Hidden", css::uno::Any(true))}));
}

}  // namespace harumado::calc::testing
