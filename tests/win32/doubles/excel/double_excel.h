#pragma once
// One running Excel of the test double: the simulated spreadsheet application with one instance,
// served over COM as "Excel.Application" and "Excel.Global", with a real main window, the real
// clipboard and real workbook files.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "../common/dispatch_server.h"
#include "sim/desktop.h"
#include "win32/scoped.h"

namespace harumado::doubles {

// The classes the double registers for the two ProgIDs.
extern const CLSID kApplicationClass;
extern const CLSID kGlobalClass;
inline constexpr wchar_t kWindowClass[] = L"XLMAIN";

class DoubleExcel final : public ServerHooks {
 public:
  explicit DoubleExcel(HINSTANCE instance);
  ~DoubleExcel() override;
  DoubleExcel(const DoubleExcel&) = delete;
  DoubleExcel& operator=(const DoubleExcel&) = delete;

  // Registers the class objects and runs until Excel quits (or the time limit passes).
  int Run();

  // A new reference to the application (or Global) object, for the class objects.
  IDispatch* NewApplication();
  IDispatch* NewGlobal();
  // The application class hands out one application: each CreateObject starts a new Excel.
  void ApplicationHandedOut();

  // ServerHooks
  std::optional<automation::Variant> Before(std::wstring_view type, std::wstring_view name,
                                            automation::CallKind kind,
                                            automation::Arguments args) override;
  void After(std::wstring_view type, std::wstring_view name, automation::CallKind kind,
             automation::Arguments args) override;
  void AllReleased() override;
  std::vector<NumberType> ValueTypes(automation::model::ModelObject& range,
                                     const automation::Variant& answer) override;

  // The double refuses every call until this time (GetTickCount64), as a busy Excel does.
  std::uint64_t busy_until = 0;
  int rejected_calls = 0;
  // For the benchmark: the calls served (test members aside), and when (performance counter)
  // the last clipboard-format list was asked for and the last range was selected.
  std::int64_t served_calls = 0;
  std::int64_t last_formats_at = 0;
  std::int64_t last_select_at = 0;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  void Show(bool visible);
  void Quit();
  void SyncTitle();
  void TestMember(std::wstring_view name, automation::Arguments args);
  std::wstring Report();

  sim::Desktop desktop_;
  std::shared_ptr<sim::ExcelInstance> instance_;
  std::shared_ptr<platform::ExcelApplication> application_;
  HWND window_ = nullptr;
  std::wstring title_;
  DWORD application_cookie_ = 0;
  DWORD global_cookie_ = 0;
  DWORD running_cookie_ = 0;
  bool handed_out_ = false;
  bool quitting_ = false;
};

// Log lines of the double's life, beside its program file (excel-double.log).
void Log(const std::wstring& line);

}  // namespace harumado::doubles
