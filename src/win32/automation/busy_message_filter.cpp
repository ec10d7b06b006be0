#include "win32/automation/busy_message_filter.h"

#include "automation/busy_retry.h"

namespace harumado::win32 {
namespace {

constexpr DWORD kGiveUp = static_cast<DWORD>(-1);

}  // namespace

HRESULT BusyMessageFilter::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IMessageFilter) {
    *out = static_cast<IMessageFilter*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG BusyMessageFilter::AddRef() { return ++references_; }

// The filter lives as long as the runtime that owns it; COM's references only count.
ULONG BusyMessageFilter::Release() { return --references_; }

// The program serves no calls of its own; whatever arrives is taken.
DWORD BusyMessageFilter::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) {
  return SERVERCALL_ISHANDLED;
}

DWORD BusyMessageFilter::RetryRejectedCall(HTASK, DWORD tick_count, DWORD reject_type) {
  return RetryAnswer(tick_count, reject_type, timeout_ms_);
}

// A server that asks to be called later (SERVERCALL_RETRYLATER) is busy; one that refuses the
// call (SERVERCALL_REJECTED) is not tried again.
DWORD BusyMessageFilter::RetryAnswer(DWORD tick_count, DWORD reject_type, int timeout_ms) {
  const auto wait =
      automation::BusyRetryWait(tick_count, reject_type == SERVERCALL_RETRYLATER, timeout_ms);
  return wait ? static_cast<DWORD>(*wait) : kGiveUp;
}

// Window messages that arrive during a call wait; painting and activation go on as usual.
DWORD BusyMessageFilter::MessagePending(HTASK, DWORD, DWORD) { return PENDINGMSG_WAITDEFPROCESS; }

MessageFilterRegistration::MessageFilterRegistration(BusyMessageFilter& filter) {
  registered_ = SUCCEEDED(::CoRegisterMessageFilter(&filter, previous_.put()));
}

MessageFilterRegistration::~MessageFilterRegistration() {
  if (!registered_) return;
  IMessageFilter* none = nullptr;
  ::CoRegisterMessageFilter(previous_.get(), &none);
  if (none != nullptr) none->Release();
}

}  // namespace harumado::win32
