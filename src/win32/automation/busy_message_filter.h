#pragma once
// The busy policy of the automation client: a call that the server rejects as busy is tried
// again for the timeout, then fails with 0x80010001 (RPC_E_CALL_REJECTED); no busy dialog is
// ever shown.
#include <atomic>

#include "win32/scoped.h"

namespace harumado::win32 {

class BusyMessageFilter final : public IMessageFilter {
 public:
  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IMessageFilter
  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD call_type, HTASK caller, DWORD tick_count,
                                             LPINTERFACEINFO info) override;
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK callee, DWORD tick_count,
                                            DWORD reject_type) override;
  DWORD STDMETHODCALLTYPE MessagePending(HTASK callee, DWORD tick_count,
                                         DWORD pending_type) override;

  void set_timeout(int ms) { timeout_ms_ = ms; }
  int timeout() const { return timeout_ms_; }

  // What RetryRejectedCall answers after tick_count ms of a call rejected with reject_type:
  // the wait before the next try, or -1 to give up.
  static DWORD RetryAnswer(DWORD tick_count, DWORD reject_type, int timeout_ms);

 private:
  std::atomic<ULONG> references_{1};
  int timeout_ms_ = 0;
};

// The filter installed for the thread while this lives; the previous one comes back after.
class MessageFilterRegistration {
 public:
  explicit MessageFilterRegistration(BusyMessageFilter& filter);
  ~MessageFilterRegistration();
  MessageFilterRegistration(const MessageFilterRegistration&) = delete;
  MessageFilterRegistration& operator=(const MessageFilterRegistration&) = delete;

 private:
  ComPtr<IMessageFilter> previous_;
  bool registered_ = false;
};

}  // namespace harumado::win32
