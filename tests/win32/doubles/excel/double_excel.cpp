#include "double_excel.h"

#include <cwchar>

#include "../common/class_factory.h"
#include "../common/com_registration.h"
#include "../common/log_file.h"
#include "automation/model/model.h"
#include "automation/model/model_support.h"
#include "real_world.h"
#include "runtime/automation_error.h"
#include "runtime/conversions.h"
#include "sim/excel/adapters.h"
#include "value_types.h"

namespace harumado::doubles {

// {6A1C3E52-1B7F-4D0A-9E2B-3C8D5F4A7B01} and {...B02}: the double's own classes.
const CLSID kApplicationClass = {
    0x6A1C3E52, 0x1B7F, 0x4D0A, {0x9E, 0x2B, 0x3C, 0x8D, 0x5F, 0x4A, 0x7B, 0x01}};
const CLSID kGlobalClass = {
    0x6A1C3E52, 0x1B7F, 0x4D0A, {0x9E, 0x2B, 0x3C, 0x8D, 0x5F, 0x4A, 0x7B, 0x02}};

namespace {

// A double that nobody quits ends by itself after this long.
constexpr UINT kLifeLimitMs = 180000;
constexpr UINT_PTR kLifeTimer = 1;

std::wstring Folder() {
  const std::wstring program = ModuleFile(nullptr);
  return program.substr(0, program.rfind(L'\\'));
}

// A busy Excel turns calls away. (Under wine the channel passes a call that is to be retried
// later straight through, so the double refuses outright; the client then gets 0x80010001.)
class BusyFilter final : public ProcessObject<IMessageFilter> {
 public:
  explicit BusyFilter(DoubleExcel& excel) : excel_(excel) {}
  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override {
    if (::GetTickCount64() < excel_.busy_until) {
      ++excel_.rejected_calls;
      return SERVERCALL_REJECTED;
    }
    return SERVERCALL_ISHANDLED;
  }
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override {
    return static_cast<DWORD>(-1);
  }
  DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override {
    return PENDINGMSG_WAITDEFPROCESS;
  }

 private:
  DoubleExcel& excel_;
};

std::int64_t Now() {
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  return now.QuadPart;
}

}  // namespace

void Log(const std::wstring& line) {
  AppendLine(Folder() + L"\\excel-double.log", L"[" + std::to_wstring(::GetCurrentProcessId()) +
                                                   L"] " + line + L" @" +
                                                   std::to_wstring(::GetTickCount64()));
}

DoubleExcel::DoubleExcel(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &DoubleExcel::WindowProc;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kWindowClass;
  ::RegisterClassExW(&wc);
  window_ = ::CreateWindowExW(0, kWindowClass, L"Excel", WS_OVERLAPPEDWINDOW, 400, 300, 600, 400,
                              nullptr, nullptr, instance, this);
  instance_ = desktop_.excel.StartInstance(false);
  application_ = sim::MakeApplicationObject(desktop_.excel, instance_, false);
  SyncTitle();
  Log(L"start");
}

DoubleExcel::~DoubleExcel() {
  if (window_ != nullptr) ::DestroyWindow(window_);
}

IDispatch* DoubleExcel::NewApplication() {
  return Serve(automation::model::ServeApplication(application_), *this);
}

IDispatch* DoubleExcel::NewGlobal() {
  return Serve(automation::model::ServeGlobal(application_), *this);
}

// From now on a new CreateObject starts another process, as with Excel.
void DoubleExcel::ApplicationHandedOut() {
  handed_out_ = true;
  if (application_cookie_ != 0) {
    ::CoRevokeClassObject(application_cookie_);
    application_cookie_ = 0;
  }
}

int DoubleExcel::Run() {
  ClassFactory application([this] { return NewApplication(); }, [this] { ApplicationHandedOut(); });
  ClassFactory global([this] { return NewGlobal(); });
  BusyFilter filter(*this);
  IMessageFilter* previous = nullptr;
  ::CoRegisterMessageFilter(&filter, &previous);
  ::CoRegisterClassObject(kApplicationClass, &application, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                          &application_cookie_);
  ::CoRegisterClassObject(kGlobalClass, &global, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                          &global_cookie_);
  ::SetTimer(window_, kLifeTimer, kLifeLimitMs, nullptr);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  if (running_cookie_ != 0) ::RevokeActiveObject(running_cookie_, nullptr);
  if (application_cookie_ != 0) ::CoRevokeClassObject(application_cookie_);
  if (global_cookie_ != 0) ::CoRevokeClassObject(global_cookie_);
  ::CoRegisterMessageFilter(previous, nullptr);
  Log(L"exit");
  return 0;
}

// The test members of the application: HarumadoReport (what the double holds), HarumadoBusy =
// ms (refuse calls for that long), and HarumadoEnter, HarumadoFormat, HarumadoWidth,
// HarumadoFill to prepare the active sheet (see TestMember). Hwnd is the real window; the
// clipboard and workbook files are read from the machine just before Excel uses them.
std::optional<automation::Variant> DoubleExcel::Before(std::wstring_view type,
                                                       std::wstring_view name,
                                                       automation::CallKind kind,
                                                       automation::Arguments args) {
  const bool application = type == L"Application";
  if (application && name == L"HarumadoReport") return rt::Value::Text(Report());
  if (!name.starts_with(L"Harumado")) ++served_calls;
  if (application && name == L"ClipboardFormats") last_formats_at = Now();
  if (application && name.starts_with(L"Harumado") && name != L"HarumadoBusy") {
    TestMember(name, args);
    return automation::Variant();
  }
  if (application && name == L"HarumadoBusy" && kind == automation::CallKind::kPut) {
    busy_until = ::GetTickCount64() + static_cast<std::uint64_t>(automation::LongOf(args[0]));
    Log(L"busy " + std::to_wstring(automation::LongOf(args[0])) + L" ms");
    return automation::Variant();
  }
  if (application && name == L"Hwnd") {
    desktop_.excel.gate().Enter(L"Hwnd", instance_.get());
    return rt::Value::Number(static_cast<double>(reinterpret_cast<std::intptr_t>(window_)));
  }
  if ((application && name == L"ClipboardFormats") || name == L"Paste") {
    desktop_.clipboard.Preset(ReadClipboard());
  }
  if (((type == L"Workbooks" && name == L"Open") || (type == L"Workbook" && name == L"SaveAs")) &&
      !args.empty() && args[0].is_value()) {
    desktop_.files.Remove(rt::TextForm(args[0].value()));
    LoadWorkbookFile(rt::TextForm(args[0].value()), desktop_.files);
  }
  return std::nullopt;
}

void DoubleExcel::After(std::wstring_view type, std::wstring_view name, automation::CallKind kind,
                        automation::Arguments args) {
  if (type == L"Workbook" && name == L"SaveAs") {
    const std::wstring path = rt::TextForm(args[0].value());
    WriteWorkbookFile(path, desktop_.files.Find(path));
    Log(L"saved " + path);
  }
  if (type == L"Application" && name == L"Visible" && kind == automation::CallKind::kPut) {
    Show(instance_->visible());
  }
  if (type == L"Application" && name == L"Quit") Quit();
  if (type == L"Range" && name == L"Select") last_select_at = Now();
  SyncTitle();
}

// HarumadoEnter(cell, typed text), HarumadoFormat(cell, local format), HarumadoWidth(column
// letters, width in characters), HarumadoFill(column letters, rows, first number[, every]): the
// last enters the numbers first, first + 1, ... down the column, a text in every row whose number
// is a multiple of `every` (10 unless given; 1: texts only, 0: numbers only).
void DoubleExcel::TestMember(std::wstring_view name, automation::Arguments args) {
  const auto& workbook = instance_->active_workbook();
  if (!workbook || args.size() < 2) throw rt::AutomationError(rt::err::kApplicationDefined);
  sim::SimSheet& sheet = workbook->active_sheet();
  auto text = [&](std::size_t i) { return rt::TextForm(args[i].value()); };
  auto cell = [&](const std::wstring& ref) {
    const auto block = automation::model::ParseAddress(ref);
    if (!block) throw rt::AutomationError(rt::err::kApplicationDefined);
    return sim::CellRef{block->first_row, block->first_column};
  };
  if (name == L"HarumadoEnter") {
    sheet.Enter(cell(text(0)), text(1));
  } else if (name == L"HarumadoFormat") {
    sheet.SetFormat(cell(text(0)), text(1));
  } else if (name == L"HarumadoWidth") {
    sheet.SetColumnWidth(cell(text(0) + L"1").column, automation::NumberOf(args[1]));
  } else if (name == L"HarumadoFill" && args.size() >= 3) {
    const std::int32_t column = cell(text(0) + L"1").column;
    const std::int32_t rows = automation::LongOf(args[1]);
    const std::int32_t first = automation::LongOf(args[2]);
    const std::int32_t every = args.size() >= 4 ? automation::LongOf(args[3]) : 10;
    for (std::int32_t row = 1; row <= rows; ++row) {
      sheet.Enter({row, column}, every > 0 && row % every == 0 ? L"メモ" + std::to_wstring(row)
                                                               : std::to_wstring(first + row - 1));
    }
  } else {
    throw rt::AutomationError(438);
  }
}

// A hidden Excel that nobody refers to any more ends, as Excel started for automation does.
void DoubleExcel::AllReleased() {
  if (handed_out_ && !instance_->visible() && !quitting_) {
    Log(L"released");
    Quit();
  }
}

// Each value's type by its cell's number format. The range lies on the active sheet (the only
// one whose values the program reads); its cells are looked at on the sheet itself, so that the
// typing is no call of the model's (nothing counted, nothing refused).
std::vector<NumberType> DoubleExcel::ValueTypes(automation::model::ModelObject& range,
                                                const automation::Variant& answer) {
  const auto& workbook = instance_->active_workbook();
  if (!workbook) return {};
  const sim::SimSheet& sheet = workbook->active_sheet();
  std::int32_t first_row = 0;
  std::int32_t first_column = 0;
  try {
    first_row = automation::LongOf(range.Handle(L"Row", automation::CallKind::kGet, {}));
    first_column = automation::LongOf(range.Handle(L"Column", automation::CallKind::kGet, {}));
  } catch (const rt::AutomationError&) {
    return {};
  }
  const std::int32_t rows = answer.is_array() ? answer.array().rows : 1;
  const std::int32_t columns = answer.is_array() ? answer.array().columns : 1;
  std::vector<NumberType> types;
  types.reserve(static_cast<std::size_t>(rows) * columns);
  for (std::int32_t r = 0; r < rows; ++r) {
    for (std::int32_t c = 0; c < columns; ++c) {
      types.push_back(NumberTypeOfFormat(sheet.Format({first_row + r, first_column + c})));
    }
  }
  return types;
}

// A visible Excel is the running one that GetObject finds.
void DoubleExcel::Show(bool visible) {
  ::ShowWindow(window_, visible ? SW_SHOWNOACTIVATE : SW_HIDE);
  if (visible && running_cookie_ == 0) {
    IDispatch* app = NewApplication();
    ::RegisterActiveObject(app, kApplicationClass, ACTIVEOBJECT_STRONG, &running_cookie_);
    app->Release();
    Log(L"visible");
  } else if (!visible && running_cookie_ != 0) {
    ::RevokeActiveObject(running_cookie_, nullptr);
    running_cookie_ = 0;
  }
}

// The instance ends; the process follows once the call that asked for it has returned.
void DoubleExcel::Quit() {
  if (quitting_) return;
  quitting_ = true;
  if (instance_->running()) desktop_.excel.Quit(*instance_);
  if (running_cookie_ != 0) {
    ::RevokeActiveObject(running_cookie_, nullptr);
    running_cookie_ = 0;
  }
  ::ShowWindow(window_, SW_HIDE);
  Log(L"quit");
  ::PostQuitMessage(0);
}

void DoubleExcel::SyncTitle() {
  const std::wstring title = instance_->running() ? instance_->Title() : std::wstring();
  if (title != title_) {
    title_ = title;
    ::SetWindowTextW(window_, title.c_str());
  }
}

// Closing the main window is the user quitting Excel.
LRESULT CALLBACK DoubleExcel::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<DoubleExcel*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self != nullptr) {
    if (message == WM_CLOSE) {
      Log(L"closed by the user");
      self->Quit();
      return 0;
    }
    if (message == WM_TIMER && wparam == kLifeTimer) {
      Log(L"time limit");
      self->Quit();
      return 0;
    }
  }
  return ::DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace harumado::doubles
