// What one paste costs against a real LibreOffice Calc: the host operations that the program's
// paste steps (text in both number modes, a picture fitted to its cell) make, each step's wall
// time, and the time of single host operations. Starts a headless LibreOffice with a profile of
// its own and ends it (with its process group) before it returns.
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "../calc/bitmap.h"
#include "calc/calc_host.h"
#include "calc/office_connection.h"
#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/paste/module1.h"
#include "runtime/skip_mode.h"
#include "sim/desktop.h"

namespace harumado {
namespace {

using Clock = std::chrono::steady_clock;
std::map<std::string, int> g_calls;

void Count(const char* operation) { ++g_calls[operation]; }

class CountingSheet final : public platform::ExcelSheet {
 public:
  explicit CountingSheet(std::unique_ptr<platform::ExcelSheet> inner) : inner_(std::move(inner)) {}
  void Paste() override { Count("Paste"), inner_->Paste(); }
  void PastePicture() override { Count("Pictures.Paste"), inner_->PastePicture(); }
  int ShapeCount() override { return Count("Shapes.Count"), inner_->ShapeCount(); }
  void SetShapeProperty(int i, platform::ShapeProperty p, double v) override {
    Count("Shapes(n).property"), inner_->SetShapeProperty(i, p, v);
  }
  rt::Value GetCell(std::int32_t r, std::int32_t c, platform::CellProperty p) override {
    return Count("Cells get"), inner_->GetCell(r, c, p);
  }
  void SetCell(std::int32_t r, std::int32_t c, platform::CellProperty p,
               const rt::Value& v) override {
    Count("Cells put"), inner_->SetCell(r, c, p, v);
  }
  std::vector<rt::Value> GetColumnCells(std::int32_t c, std::int32_t f, std::int32_t l,
                                        platform::CellProperty p) override {
    return Count("ReadCells"), inner_->GetColumnCells(c, f, l, p);
  }
  void EmptyColumnCells(std::int32_t c, std::int32_t f, std::int32_t l) override {
    Count("EmptyCells"), inner_->EmptyColumnCells(c, f, l);
  }
  void SetColumnCells(std::int32_t c, std::int32_t f, platform::CellProperty p,
                      std::span<const rt::Value> v) override {
    Count("WriteCells"), inner_->SetColumnCells(c, f, p, v);
  }
  std::int32_t RowCount() override { return Count("Rows.Count"), inner_->RowCount(); }
  std::int32_t EndUpRow(std::int32_t r, std::int32_t c) override {
    return Count("End"), inner_->EndUpRow(r, c);
  }
  void SetColumnWidth(std::int32_t c, double w) override {
    Count("ColumnWidth"), inner_->SetColumnWidth(c, w);
  }
  void AutoFitColumn(std::int32_t c) override { Count("AutoFit"), inner_->AutoFitColumn(c); }

 private:
  std::unique_ptr<platform::ExcelSheet> inner_;
};

class CountingApplication final : public platform::ExcelApplication {
 public:
  explicit CountingApplication(platform::ExcelApplication& inner) : inner_(inner) {}
  void SetVisible(bool v) override { Count("Visible"), inner_.SetVisible(v); }
  void SetDisplayAlerts(bool d) override { Count("DisplayAlerts"), inner_.SetDisplayAlerts(d); }
  std::unique_ptr<platform::ExcelWorkbook> OpenWorkbook(const std::wstring& p) override {
    return Count("Workbooks.Open"), inner_.OpenWorkbook(p);
  }
  std::unique_ptr<platform::ExcelWorkbook> AddWorkbook() override {
    return Count("Workbooks.Add"), inner_.AddWorkbook();
  }
  void Quit() override { Count("Quit"), inner_.Quit(); }
  platform::WindowHandle Hwnd() override { return Count("Hwnd"), inner_.Hwnd(); }
  std::vector<int> ClipboardFormats() override {
    return Count("ClipboardFormats"), inner_.ClipboardFormats();
  }
  std::unique_ptr<platform::ExcelSheet> ActiveSheet() override {
    Count("ActiveSheet");
    auto sheet = inner_.ActiveSheet();
    return sheet ? std::make_unique<CountingSheet>(std::move(sheet)) : nullptr;
  }
  double GetActiveCell(platform::ActiveCellProperty p) override {
    return Count("ActiveCell"), inner_.GetActiveCell(p);
  }
  void SelectOffset(std::int16_t r, const rt::Value& c) override {
    Count("Offset"), inner_.SelectOffset(r, c);
  }
  std::unique_ptr<platform::ExcelRange> RangeSelection() override {
    return Count("ActiveWindow"), inner_.RangeSelection();
  }

 private:
  platform::ExcelApplication& inner_;
};

class CountingHost final : public platform::SpreadsheetHost {
 public:
  explicit CountingHost(calc::CalcHost& inner)
      : inner_(inner), global_(inner.GlobalApplication()) {}
  std::unique_ptr<platform::ExcelApplication> GetActiveObject() override {
    return Count("GetActiveObject"), inner_.GetActiveObject();
  }
  std::unique_ptr<platform::ExcelApplication> CreateObject() override {
    return Count("CreateObject"), inner_.CreateObject();
  }
  platform::ExcelApplication& GlobalApplication() override { return global_; }
  void SetBusyPolicy(int t) override { inner_.SetBusyPolicy(t); }

 private:
  calc::CalcHost& inner_;
  CountingApplication global_;
};

class BenchClipboard final : public calc::ClipboardSource {
 public:
  std::optional<std::wstring> text;
  std::optional<std::vector<std::uint8_t>> picture;
  std::optional<std::wstring> Text() override { return text; }
  std::optional<std::vector<std::uint8_t>> Picture() override { return picture; }
};

struct Figures {
  int pastes = 0;
  double seconds = 0;
  std::map<std::string, int> calls;
};

void Print(const char* what, const Figures& f) {
  int all = 0;
  for (const auto& [op, n] : f.calls) all += n;
  std::printf("%-34s %7.2f ms/paste  %5.1f host ops/paste:", what, f.seconds * 1000 / f.pastes,
              static_cast<double>(all) / f.pastes);
  for (const auto& [op, n] : f.calls) {
    std::printf(" %s %.1f", op.c_str(), static_cast<double>(n) / f.pastes);
  }
  std::printf("\n");
}

// Pastes `times` times in the given mode: the paste step, then the cursor step.
template <typename Step>
Figures Measure(app::Program& program, int mode_flag, int times, Step step) {
  program.form1().state.ModeFlag = mode_flag;
  std::int32_t row_cells = 0;
  g_calls.clear();
  const auto start = Clock::now();
  for (int i = 0; i < times; ++i) {
    rt::SkipMode skip;
    step(skip);
    paste::AdvanceCursor(program, row_cells);
  }
  Figures f;
  f.pastes = times;
  f.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  f.calls = g_calls;
  return f;
}

int Run() {
  prctl(PR_SET_CHILD_SUBREAPER, 1);
  const auto profile =
      std::filesystem::temp_directory_path() / ("harumado-calc-bench-" + std::to_string(getpid()));
  const std::string pipe = "harumado-bench-" + std::to_string(getpid());
  const auto office = calc::StartOffice(calc::OfficeLaunch{HARUMADO_LO_PROGRAM_DIR "/soffice", pipe,
                                                           "file://" + profile.string(), true});
  if (!office || !calc::WaitForPipe(pipe, *office, 90000).is()) {
    std::fprintf(stderr, "LibreOffice did not start\n");
    if (office) kill(-*office, SIGKILL);
    return 1;
  }
  int status = 0;
  {
    BenchClipboard clipboard;
    calc::CalcHostOptions options;
    options.pipe_name = pipe;
    calc::CalcHost calc_host(options, clipboard);
    calc_host.GetActiveObject()->AddWorkbook();
    CountingHost host(calc_host);
    sim::Desktop desktop;
    platform::Services services{host,          desktop.windows, desktop.clipboard, desktop.speech,
                                desktop.files, desktop.system,  desktop.files};
    app::Program program(services);
    program.Start();
    program.form1().state.WrapCount = 1;

    constexpr int kTimes = 50;
    const auto text = [&](app::Program& p) {
      return [&p](rt::SkipMode& skip) { paste::PasteText(p, skip); };
    };
    clipboard.text = L"1,234.5";
    Print("text \"1,234.5\", mode 数値", Measure(program, 0, kTimes, text(program)));
    Print("text \"1,234.5\", mode 整数", Measure(program, 1, kTimes, text(program)));
    clipboard.text = L"Smith, John";
    Print("text \"Smith, John\", mode 数値", Measure(program, 0, kTimes, text(program)));
    // A copied table: 200 lines of 5 fields (numbers, a text, a date), pasted as one block.
    std::wstring table;
    for (int row = 1; row <= 200; ++row) {
      table += std::to_wstring(row) + L"\t" + std::to_wstring(row * 1000 + 5) + L".25\t名前" +
               std::to_wstring(row) + L"\t2026/12/" + std::to_wstring(row % 28 + 1) + L"\t" +
               std::to_wstring(row * 7) + L"\r\n";
    }
    clipboard.text = table;
    Print("text block 200 x 5, mode 数値", Measure(program, 0, 3, text(program)));
    clipboard.text.reset();
    clipboard.picture = calc::testing::Bitmap(160, 120);
    Print("picture, mode 画像 (own size)",
          Measure(program, 1, 10, [&](rt::SkipMode& s) { paste::PastePicture(program, s); }));
    Print("picture, mode 画像□ (fitted)",
          Measure(program, 0, 10, [&](rt::SkipMode& s) { paste::PastePicture(program, s); }));

    // Single operations, for their cost by themselves.
    auto sheet = host.GlobalApplication().ActiveSheet();
    const auto time = [&](const char* what, int n, auto call) {
      const auto start = Clock::now();
      for (int i = 0; i < n; ++i) call();
      std::printf("%-34s %7.3f ms\n", what,
                  std::chrono::duration<double>(Clock::now() - start).count() * 1000 / n);
    };
    time("one Cells(r, c).Value read", 200,
         [&] { sheet->GetCell(1, 1, platform::CellProperty::kValue); });
    time("one Cells(r, c).Text read", 200,
         [&] { sheet->GetCell(1, 1, platform::CellProperty::kText); });
    time("one NumberFormatLocal write", 200, [&] {
      sheet->SetCell(1, 1, platform::CellProperty::kNumberFormatLocal, rt::Value::Text(L"###0"));
    });
    time("one ActiveCell.Offset(1, 0).Select", 200,
         [&] { host.GlobalApplication().SelectOffset(0, rt::Value::Number(0)); });
    time("column of 10,000 values in one call", 5,
         [&] { sheet->GetColumnCells(1, 1, 10000, platform::CellProperty::kValue); });
  }
  kill(-*office, SIGKILL);
  while (waitpid(-*office, &status, 0) > 0) {
  }
  std::error_code ignored;
  std::filesystem::remove_all(profile, ignored);
  return 0;
}

}  // namespace
}  // namespace harumado

int main() { return harumado::Run(); }
