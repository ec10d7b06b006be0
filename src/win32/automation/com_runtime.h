#pragma once
// The automation runtime over COM: classes by ProgID, the running object table, local servers,
// and the busy policy as the thread's message filter.
#include <memory>

#include "automation/runtime.h"
#include "win32/automation/busy_message_filter.h"
#include "win32/automation/com_object.h"

namespace harumado::win32 {

class ComRuntime final : public automation::AutomationRuntime {
 public:
  // Call on the user-interface thread after COM is initialised for it.
  ComRuntime();

  automation::ObjectRef GetActiveObject(std::wstring_view prog_id) override;
  automation::ObjectRef CreateObject(std::wstring_view prog_id) override;
  bool HasClass(std::wstring_view prog_id) override;
  bool IsRunning(std::wstring_view prog_id) override;
  void SetBusyTimeout(int timeout_ms) override { filter_.set_timeout(timeout_ms); }

  // Identifiers looked up so far (one per interface and member name).
  std::size_t known_members() const { return ids_->size(); }

 private:
  automation::ObjectRef Wrap(IUnknown* unknown);

  std::shared_ptr<DispatchIds> ids_ = std::make_shared<DispatchIds>();
  BusyMessageFilter filter_;
  MessageFilterRegistration registration_{filter_};
};

}  // namespace harumado::win32
