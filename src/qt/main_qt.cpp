// The Linux program: Qt's application, the platform services, the program and the main loop.
//
// The program's spreadsheet is LibreOffice Calc (the Calc host, over the pipe "harumado") when
// the program is built with it. Without it, and when HARUMADO_SIM_REPORT names a file (the
// program's tests ask for the simulated application's report), the spreadsheet host is the
// simulated one, in the program's own process, with the machine's clipboard and workbook files;
// what it holds is written to that file after each of its operations and when the program ends;
// when HARUMADO_WINDOWS_REPORT names one, what the program's windows show is written there whenever
// it changes (looked at every few milliseconds, also while the program waits), with how many paste
// loops run and how many cycles they have done. Both are for the tests of the program.
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "core/app/program.h"
#include "core/paste/engine_state.h"
#include "qt/clipboard_qt.h"
#include "qt/files_qt.h"
#include "qt/native_path.h"
#include "qt/shell_qt.h"
#include "qt/system_info_qt.h"
#include "qt/voice_speechd.h"
#include "qt/window_system_qt.h"
#include "sim/desktop.h"
#include "sim/excel/report.h"
#include "sim/machine_host.h"
#ifdef HARUMADO_HAVE_CALC
#include "calc/calc_host.h"
#include "calc/connection_lifetime.h"
#endif

using namespace harumado;

namespace {

constexpr double kPointsPerPixel = 0.75;

// The clipboard as the simulated application sees it: text first, as it offers text first, then
// a picture (its size in points at 96 dpi), something else, or nothing.
sim::ClipContent ReadClipboard() {
  sim::ClipContent content;
  const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
  if (data == nullptr || data->formats().isEmpty()) return content;
  if (data->hasText()) {
    content.kind = sim::ClipKind::kText;
    content.text = data->text().toStdWString();
  } else if (data->hasImage()) {
    const QImage image = qvariant_cast<QImage>(data->imageData());
    content.kind = sim::ClipKind::kPicture;
    content.picture_width = image.width() * kPointsPerPixel;
    content.picture_height = image.height() * kPointsPerPixel;
  } else {
    content.kind = sim::ClipKind::kOther;
  }
  return content;
}

std::optional<std::string> ReadFile(const std::wstring& path) {
  std::ifstream in(qt::NativePath(path), std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(qt::NativePath(path), std::ios::binary | std::ios::trunc);
  out << bytes;
}

const char* ReportName(const char* variable) {
  const char* name = std::getenv(variable);
  return name != nullptr && *name != '\0' ? name : nullptr;
}

// A report is written beside its name and renamed over it, so that a reader never sees half.
void WriteReport(const char* name, const std::wstring& text) {
  const std::string temporary = std::string(name) + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << qt::Utf8(text);
  }
  std::error_code ignored;
  std::filesystem::rename(temporary, name, ignored);
}

void WriteWorkbookReport(const sim::SimExcel& excel) {
  if (const char* name = ReportName("HARUMADO_SIM_REPORT")) {
    WriteReport(name, sim::DescribeWorkbooks(excel));
  }
}

constexpr int kWindowReportIntervalMs = 20;

// The paste loops' activity in the windows report, so that the tests wait for a loop's end or
// for its cycles instead of for time; with the time the last change was pasted and the cursor
// moved after it (the system's monotonic clock in microseconds, which the harness's copier
// prints too), for the benchmark of copy to cursor moved.
std::wstring DescribeActivity(const paste::LoopActivity& activity, std::int64_t last_paste_at) {
  return L"Program.paste-loops=" + std::to_wstring(activity.loops_running) +
         L"\nProgram.paste-cycles=" + std::to_wstring(activity.cycles_done) +
         L"\nProgram.paste-changes=" + std::to_wstring(activity.changes_pasted) +
         L"\nProgram.paste-last-at=" + std::to_wstring(last_paste_at) + L"\n";
}

std::int64_t MonotonicMicroseconds() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

#ifdef HARUMADO_HAVE_CALC
// The clipboard as the Calc host reads it: its text, and a picture as the bytes of a PNG file.
class QtClipboardSource final : public calc::ClipboardSource {
 public:
  std::optional<std::wstring> Text() override {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (data == nullptr || !data->hasText()) return std::nullopt;
    return data->text().toStdWString();
  }
  std::optional<std::vector<std::uint8_t>> Picture() override {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (data == nullptr || !data->hasImage()) return std::nullopt;
    const QImage image = qvariant_cast<QImage>(data->imageData());
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG")) return std::nullopt;
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
  }
};

// What the paste loop does to Excel's window (its title, bringing it forward, Escape), done to
// LibreOffice's window.
void BindForeignWindows(qt::WindowSystemQt& windows, calc::CalcHost& host) {
  windows.foreign_title = [&host](platform::WindowHandle window, std::wstring& title) {
    auto found = host.WindowTitle(window);
    if (found) title = std::move(*found);
    return found.has_value();
  };
  windows.on_foreign_foreground = [&host](platform::WindowHandle window) {
    host.BringToFront(window);
  };
  windows.on_foreign_message = [&host](platform::WindowHandle window, std::uint32_t message,
                                       std::uintptr_t key) {
    if (message == platform::kWmKeyDown && key == platform::kVkEscape) host.EndCellEdit(window);
  };
}
#endif

}  // namespace

// Retired windows are dropped whenever the loop is idle at its top level; the loop ends when
// the program has ended (every window is gone by then).
int main(int argc, char** argv) {
  // The program lays its windows out itself at the screen's DPI and works in the screen's pixels,
  // as the Windows program does: Qt's own scaling to device-independent pixels stays off.
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  // Placing windows and keeping them above others needs X11 (XWayland under a Wayland session):
  // Wayland gives clients neither.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb;wayland");
  QApplication application(argc, argv);

  qt::WindowSystemQt windows;
  // Clipboard changes are told to the program at its dispatching points only, never while it
  // sleeps or inside a call.
  qt::ClipboardQt clipboard(
      [&windows](platform::WindowHandle window) { return windows.WidgetOf(window) != nullptr; },
      [&windows](std::function<void()> notify) { windows.PostProgramEvent(std::move(notify)); });
  windows.on_destroyed = [&clipboard](platform::WindowHandle window) {
    clipboard.WindowDestroyed(window);
  };
  qt::ShellQt shell;
  qt::FilesQt files;
  qt::SystemInfoQt system([&windows] { windows.Quit(0); });
  qt::SpeechDispatcherVoiceFactory voices;

  sim::Desktop desktop;
  sim::MachineHost host(desktop, sim::Machine{&ReadClipboard, &ReadFile, &WriteFile});
  host.changed = [&desktop] { WriteWorkbookReport(desktop.excel); };
  windows.foreign_title = [&desktop](platform::WindowHandle window, std::wstring& title) {
    return desktop.world.foreign_title && desktop.world.foreign_title(window, title);
  };

  QTimer window_report;
  std::wstring last_window_report;
  const paste::LoopActivity* paste_activity = nullptr;  // the program's, while it runs
  std::int64_t last_paste_at = 0;
  if (const char* name = ReportName("HARUMADO_WINDOWS_REPORT")) {
    QObject::connect(&window_report, &QTimer::timeout, [&, name] {
      std::wstring text = windows.DescribeWindows();
      if (paste_activity != nullptr) text += DescribeActivity(*paste_activity, last_paste_at);
      if (text == last_window_report) return;
      WriteReport(name, text);
      last_window_report = std::move(text);
    });
    window_report.start(kWindowReportIntervalMs);
  }

  platform::SpreadsheetHost* spreadsheet = &host;
#ifdef HARUMADO_HAVE_CALC
  // Ends after the host and the program, which hold objects reached over the pipe: the bridges
  // to LibreOffice are taken down before the process exits.
  calc::OfficeConnectionsScope office_connections;
  QtClipboardSource calc_clipboard;
  calc::CalcHost calc_host(calc::CalcHostOptions{}, calc_clipboard);
  if (ReportName("HARUMADO_SIM_REPORT") == nullptr) {
    spreadsheet = &calc_host;
    BindForeignWindows(windows, calc_host);
  }
#endif

  platform::Services services{*spreadsheet, windows, clipboard, voices, shell, system, files};
  int exit_code = 0;
  {
    app::Program program(services);
    paste_activity = &program.paste.activity;
    program.paste.activity.changed = [&activity = program.paste.activity, &last_paste_at,
                                      pasted = std::int64_t{0}]() mutable {
      if (activity.changes_pasted == pasted) return;
      pasted = activity.changes_pasted;
      last_paste_at = MonotonicMicroseconds();
    };
    program.Start();
    if (!program.exited()) exit_code = windows.Run([&program] { program.OnIdle(); });
    paste_activity = nullptr;
  }
  WriteWorkbookReport(desktop.excel);
  return exit_code;
}
