// What the paste loop costs on the simulated desktop: the host operations (Excel calls, by the
// simulated Excel's call counters) of one text paste and one picture paste, and the platform
// calls the loop makes per virtual second while it waits for a change.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <string>

#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/paste/module1.h"
#include "sim/desktop.h"
#include "sim/excel/sheet.h"

namespace harumado {
namespace {

// Counts every call by name and passes it on.
struct CallCounter {
  std::map<std::string, std::int64_t> calls;
  void Count(const char* name) { ++calls[name]; }
  std::int64_t total() const {
    std::int64_t n = 0;
    for (const auto& [name, count] : calls) n += count;
    return n;
  }
};

class CountingClipboard : public platform::Clipboard {
 public:
  CountingClipboard(platform::Clipboard& inner, CallCounter& counter)
      : inner_(inner), counter_(counter) {}
  std::uint32_t SequenceNumber() override {
    counter_.Count("GetClipboardSequenceNumber");
    return inner_.SequenceNumber();
  }
  bool HasText() override {
    counter_.Count("HasText");
    return inner_.HasText();
  }
  std::wstring GetText() override {
    counter_.Count("GetText");
    return inner_.GetText();
  }
  bool IsExcludedFromMonitors() override {
    counter_.Count("IsExcludedFromMonitors");
    return inner_.IsExcludedFromMonitors();
  }
  platform::WindowHandle SetClipboardViewer(platform::WindowHandle w) override {
    counter_.Count("SetClipboardViewer");
    return inner_.SetClipboardViewer(w);
  }
  void ChangeClipboardChain(platform::WindowHandle remove, platform::WindowHandle next) override {
    counter_.Count("ChangeClipboardChain");
    inner_.ChangeClipboardChain(remove, next);
  }
  std::intptr_t SendMessage(platform::WindowHandle w, std::uint32_t m, std::uintptr_t wp,
                            std::intptr_t lp) override {
    counter_.Count("SendMessage");
    return inner_.SendMessage(w, m, wp, lp);
  }
  std::optional<std::intptr_t> SendMessageTimeout(platform::WindowHandle w, std::uint32_t m,
                                                  std::uintptr_t wp, std::intptr_t lp,
                                                  int timeout_ms) override {
    counter_.Count("SendMessageTimeout");
    return inner_.SendMessageTimeout(w, m, wp, lp, timeout_ms);
  }
  std::uintptr_t SetWindowProc(platform::WindowHandle w, platform::WindowProc proc) override {
    counter_.Count("SetWindowProc");
    return inner_.SetWindowProc(w, proc);
  }
  void RestoreWindowProc(platform::WindowHandle w, std::uintptr_t previous) override {
    counter_.Count("RestoreWindowProc");
    inner_.RestoreWindowProc(w, previous);
  }
  std::intptr_t CallWindowProc(std::uintptr_t previous, platform::WindowHandle w, std::uint32_t m,
                               std::uintptr_t wp, std::intptr_t lp) override {
    counter_.Count("CallWindowProc");
    return inner_.CallWindowProc(previous, w, m, wp, lp);
  }

 private:
  platform::Clipboard& inner_;
  CallCounter& counter_;
};

class CountingWindows : public platform::WindowSystem {
 public:
  CountingWindows(platform::WindowSystem& inner, CallCounter& counter)
      : inner_(inner), counter_(counter) {}
  platform::WindowHandle Create(ui::Window& model) override {
    counter_.Count("Create");
    return inner_.Create(model);
  }
  void Destroy(platform::WindowHandle w) override {
    counter_.Count("Destroy");
    inner_.Destroy(w);
  }
  void Show(platform::WindowHandle w) override {
    counter_.Count("Show");
    inner_.Show(w);
  }
  void Hide(platform::WindowHandle w) override {
    counter_.Count("Hide");
    inner_.Hide(w);
  }
  platform::Rect GetWindowRect(platform::WindowHandle w) override {
    counter_.Count("GetWindowRect");
    return inner_.GetWindowRect(w);
  }
  void MoveWindow(platform::WindowHandle w, int l, int t, int width, int height,
                  bool repaint) override {
    counter_.Count("MoveWindow");
    inner_.MoveWindow(w, l, t, width, height, repaint);
  }
  void SetTopmost(platform::WindowHandle w, bool topmost) override {
    counter_.Count("SetWindowPos");
    inner_.SetTopmost(w, topmost);
  }
  void SetForegroundWindow(platform::WindowHandle w) override {
    counter_.Count("SetForegroundWindow");
    inner_.SetForegroundWindow(w);
  }
  void PostMessage(platform::WindowHandle w, std::uint32_t m, std::uintptr_t wp,
                   std::intptr_t lp) override {
    counter_.Count("PostMessage");
    inner_.PostMessage(w, m, wp, lp);
  }
  std::wstring GetWindowText(platform::WindowHandle w, int max_chars) override {
    counter_.Count("GetWindowText");
    return inner_.GetWindowText(w, max_chars);
  }
  void MessageBox(const std::wstring& text, const std::wstring& title) override {
    counter_.Count("MessageBox");
    inner_.MessageBox(text, title);
  }
  void DoEvents() override {
    counter_.Count("DoEvents");
    inner_.DoEvents();
  }
  void Sleep(int ms) override {
    counter_.Count("Sleep");
    inner_.Sleep(ms);
  }
  std::vector<platform::Rect> Monitors() override {
    counter_.Count("Monitors");
    return inner_.Monitors();
  }
  int Dpi(platform::WindowHandle w) override {
    counter_.Count("Dpi");
    return inner_.Dpi(w);
  }

 private:
  platform::WindowSystem& inner_;
  CallCounter& counter_;
};

// The program on a simulated desktop with nobody at it: waits take their virtual time at once,
// pending events run at every dispatch, and pasting stops when the clock reaches stop_at.
class Session : public sim::PointHandler {
 public:
  Session() {
    desktop.world.set_handler(this);
    program.Start();
  }
  ~Session() override { desktop.world.set_handler(nullptr); }

  void AtDispatchPoint() override {
    while (desktop.world.RunOnePending()) {
    }
  }
  void AtWaitPoint(sim::Millis until) override {
    if (copy_pending) {
      desktop.clipboard.Set(copy);
      copy_pending = false;
    }
    desktop.world.set_now(until);
    if (until >= stop_at) program.form1().state.PasteActive = 0;
  }

  // Runs the loop as a start press leaves it, for `ms` of virtual time.
  void RunLoopFor(sim::Millis ms) {
    stop_at = desktop.world.now() + ms;
    program.form1().state.PasteActive = 1;
    paste::PasteLoop(program);
  }

  // Excel runs with a new workbook, and the loop knows its window.
  void OpenWorkbook() {
    auto instance = desktop.excel.StartInstance(true);
    instance->Add();
    program.form1().state.ExcelHwnd = instance->window();
  }

  // One run of the loop in which another program copies once, during its first sleep.
  void RunWithOneCopy(const sim::ClipContent& content) {
    copy = content;
    copy_pending = true;
    RunLoopFor(1000);
  }

  sim::Desktop desktop;
  CallCounter counter;
  CountingClipboard clipboard{desktop.clipboard, counter};
  CountingWindows windows{desktop.windows, counter};
  platform::Services services{desktop.excel, windows,        clipboard,    desktop.speech,
                              desktop.files, desktop.system, desktop.files};
  app::Program program{services};
  sim::Millis stop_at = 0;
  sim::ClipContent copy;
  bool copy_pending = false;
};

std::map<std::wstring, int> HostCalls(sim::Desktop& desktop) {
  std::map<std::wstring, int> calls;
  for (auto op : sim::CallGate::Operations()) {
    const std::wstring name(op);
    calls[name] = desktop.excel.gate().calls(name);
  }
  return calls;
}

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

// One paste of `content` through the loop, repeated; the counters give the host operations of
// one paste (the loop touches Excel only for a change), split into the paste step and the
// cursor step (Offset).
void MeasurePaste(benchmark::State& state, const sim::ClipContent& content, int mode_flag) {
  Session session;
  session.OpenWorkbook();
  session.program.form1().state.ModeFlag = mode_flag;
  std::map<std::wstring, std::int64_t> total;
  std::int64_t pastes = 0;
  for (auto _ : state) {
    const auto before = HostCalls(session.desktop);
    session.RunWithOneCopy(content);
    for (const auto& [op, n] : HostCalls(session.desktop)) total[op] += n - before.at(op);
    ++pastes;
  }
  std::int64_t all = 0;
  for (const auto& [op, n] : total) {
    if (n == 0) continue;
    state.counters[Narrow(op)] = static_cast<double>(n) / static_cast<double>(pastes);
    all += n;
  }
  state.counters["host ops/paste"] = static_cast<double>(all) / static_cast<double>(pastes);
}

sim::ClipContent Text(const std::wstring& text) {
  sim::ClipContent c;
  c.kind = sim::ClipKind::kText;
  c.text = text;
  return c;
}

sim::ClipContent Picture() {
  sim::ClipContent c;
  c.kind = sim::ClipKind::kPicture;
  c.picture_width = 400;
  c.picture_height = 300;
  return c;
}

// A text that is not numeric: the step ends after reading the cell.
void BM_PasteText_NotNumeric(benchmark::State& state) { MeasurePaste(state, Text(L"Smith"), 1); }
BENCHMARK(BM_PasteText_NotNumeric)->Iterations(500);

// A number with a comma in mode 数値: every step runs, every format write included.
void BM_PasteText_NumberWithComma(benchmark::State& state) {
  MeasurePaste(state, Text(L"1,234"), 0);
}
BENCHMARK(BM_PasteText_NumberWithComma)->Iterations(500);

void BM_PastePicture_OriginalSize(benchmark::State& state) { MeasurePaste(state, Picture(), 1); }
BENCHMARK(BM_PastePicture_OriginalSize)->Iterations(500);

void BM_PastePicture_FittedToCell(benchmark::State& state) { MeasurePaste(state, Picture(), 0); }
BENCHMARK(BM_PastePicture_FittedToCell)->Iterations(500);

// The loop waiting for a change, with Excel running: per cycle one sequence query, one dispatch
// and one 500 ms sleep (one more query at each entry), and no host operation.
void BM_LoopWhileWaiting(benchmark::State& state) {
  constexpr sim::Millis kVirtualMs = 60000;
  Session session;
  session.OpenWorkbook();
  const auto host_before = HostCalls(session.desktop);
  session.counter.calls.clear();
  std::int64_t runs = 0;
  for (auto _ : state) {
    session.RunLoopFor(kVirtualMs);
    ++runs;
  }
  const double seconds = static_cast<double>(runs * kVirtualMs) / 1000.0;
  for (const auto& [name, count] : session.counter.calls) {
    state.counters[name + "/virtual s"] = static_cast<double>(count) / seconds;
  }
  state.counters["platform calls/virtual s"] =
      static_cast<double>(session.counter.total()) / seconds;
  std::int64_t host = 0;
  for (const auto& [op, n] : HostCalls(session.desktop)) host += n - host_before.at(op);
  state.counters["host ops/virtual s"] = static_cast<double>(host) / seconds;
  state.counters["waiting cycles/wall s"] =
      benchmark::Counter(static_cast<double>(runs * kVirtualMs / 500), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LoopWhileWaiting)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace harumado

BENCHMARK_MAIN();
