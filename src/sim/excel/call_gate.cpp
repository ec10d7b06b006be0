#include "sim/excel/call_gate.h"

#include <array>
#include <cwchar>

#include "runtime/automation_error.h"
#include "sim/excel/instance.h"

namespace harumado::sim {
namespace {

constexpr std::array<std::wstring_view, 27> kOperations = {L"GetActiveObject",
                                                           L"CreateObject",
                                                           L"Visible",
                                                           L"DisplayAlerts",
                                                           L"Workbooks.Open",
                                                           L"Workbooks.Add",
                                                           L"SaveAs",
                                                           L"Close",
                                                           L"Quit",
                                                           L"Name",
                                                           L"Hwnd",
                                                           L"ClipboardFormats",
                                                           L"Paste",
                                                           L"Pictures.Paste",
                                                           L"Shapes",
                                                           L"ActiveCell",
                                                           L"Offset",
                                                           L"Cells",
                                                           L"Columns",
                                                           L"AutoFit",
                                                           L"ActiveSheet",
                                                           L"ActiveWindow",
                                                           L"Select",
                                                           L"Rows",
                                                           L"End",
                                                           L"EmptyCells",
                                                           L"WriteCells"};

std::wstring ErrorText(std::int32_t n) {
  if (n >= 0 && n < 0x10000) return std::to_wstring(n);
  wchar_t buf[16];
  std::swprintf(buf, 16, L"0x%08X", static_cast<unsigned>(n));
  return buf;
}

}  // namespace

std::span<const std::wstring_view> CallGate::Operations() { return kOperations; }

bool CallGate::IsOperation(std::wstring_view operation) {
  for (auto op : kOperations) {
    if (op == operation) return true;
  }
  return false;
}

void CallGate::FailNext(const std::wstring& operation, std::int32_t error, int times) {
  faults_[operation] = Fault{error, times};
}

int CallGate::calls(const std::wstring& operation) const {
  auto it = calls_.find(operation);
  return it == calls_.end() ? 0 : it->second;
}

// A busy server is retried for the client's busy wait, then the call fails as rejected. A busy
// rejection comes before the call is carried out, so it does not use up an injected fault.
void CallGate::Enter(std::wstring_view operation, const ExcelInstance* instance, bool quiet) {
  ++calls_[std::wstring(operation)];
  const std::wstring op(operation);
  if (instance != nullptr && !instance->running()) {
    world_.Trace(L"excel " + op + L" fails: the instance has gone (0x800706BA)");
    throw rt::AutomationError(rt::err::kServerUnavailable);
  }
  if (busy_ > 0) {
    --busy_;
    world_.Trace(L"excel " + op + L": busy");
    world_.Wait(busy_wait_ms > 0 ? busy_wait_ms : kDefaultBusyWaitMs);
    world_.Trace(L"excel " + op + L" fails: call rejected (0x80010001)");
    throw rt::AutomationError(rt::err::kCallRejected);
  }
  if (auto it = faults_.find(operation); it != faults_.end() && it->second.remaining != 0) {
    const std::int32_t error = it->second.error;
    if (it->second.remaining > 0) --it->second.remaining;
    world_.Trace(L"excel " + op + L" fails with " + ErrorText(error));
    throw rt::AutomationError(error);
  }
  if (!quiet) world_.Trace(L"excel " + op);
}

}  // namespace harumado::sim
