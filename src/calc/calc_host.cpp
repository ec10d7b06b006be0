#include "calc/calc_host.h"

#include <signal.h>

#include <com/sun/star/frame/Desktop.hpp>

#include "calc/calc_global_application.h"
#include "calc/calc_objects.h"
#include "calc/office_connection.h"

namespace harumado::calc {
namespace {

OfficeRef OfficeOn(Reference<css::uno::XComponentContext> context, bool started,
                   const std::string& pipe_name, ClipboardSource& clipboard) {
  auto office = std::make_shared<Office>();
  office->pipe_name = pipe_name;
  office->desktop = Uno([&] { return css::frame::Desktop::create(context); });
  office->context = std::move(context);
  office->started = started;
  office->clipboard = &clipboard;
  return office;
}

}  // namespace

// A LibreOffice that ends closes the pipe under the bridge; writing to it then raises SIGPIPE,
// which would end the program. The failed write reaches the host as an error of the call
// instead (0x800706BA).
CalcHost::CalcHost(CalcHostOptions options, ClipboardSource& clipboard)
    : options_(std::move(options)), clipboard_(clipboard) {
  signal(SIGPIPE, SIG_IGN);
  if (options_.program.empty()) options_.program = HARUMADO_LO_PROGRAM_DIR "/soffice";
}

CalcHost::~CalcHost() {
  global_.reset();
  for (pid_t group : started_) ReapEnded(group);
}

bool CalcHost::IsRunning() { return ConnectToPipe(options_.pipe_name).is(); }

std::unique_ptr<platform::ExcelApplication> CalcHost::GetActiveObject() {
  auto context = ConnectToPipe(options_.pipe_name);
  if (!context.is()) throw rt::AutomationError(rt::err::kCannotCreateObject);
  return MakeCalcApplication(OfficeOn(std::move(context), false, options_.pipe_name, clipboard_),
                             true);
}

// LibreOffice serves its documents from one process per profile: with one listening on the
// pipe, the new application is that one (and Quit leaves it running).
std::unique_ptr<platform::ExcelApplication> CalcHost::CreateObject() {
  for (pid_t group : started_) ReapEnded(group);
  if (auto context = ConnectToPipe(options_.pipe_name); context.is()) {
    return MakeCalcApplication(OfficeOn(std::move(context), false, options_.pipe_name, clipboard_),
                               false);
  }
  const auto process = StartOffice(
      OfficeLaunch{options_.program, options_.pipe_name, options_.profile_url, options_.headless});
  if (!process) throw rt::AutomationError(rt::err::kCannotCreateObject);
  started_.push_back(*process);
  auto context = WaitForPipe(options_.pipe_name, *process, options_.start_timeout_ms);
  if (!context.is()) throw rt::AutomationError(rt::err::kServerExecFailed);
  return MakeCalcApplication(OfficeOn(std::move(context), true, options_.pipe_name, clipboard_),
                             false);
}

platform::ExcelApplication& CalcHost::GlobalApplication() {
  if (!global_) global_ = std::make_unique<CalcGlobalApplication>(*this);
  return *global_;
}

bool CalcHost::CanSaveFileFormat(int file_format) {
  return FilterOfFileFormat(file_format) != nullptr;
}

void CalcHost::SetBusyPolicy(int) {}

}  // namespace harumado::calc
