#pragma once
// Reaches served objects in the same process the way a client reaches them across processes:
// every call crosses a boundary that checks the caller's interface against the object's class,
// passes objects by reference, and carries errors as the server raises them (HRESULTs) and the
// client's runtime reads them back.
#include <cstdint>
#include <string>
#include <vector>

#include "automation/model/model.h"

namespace harumado::automation::model {

struct WireStats {
  std::int64_t calls = 0;
  // "Interface.Member" of each call, when logging.
  bool logging = false;
  std::vector<std::wstring> log;
};

ObjectRef ConnectInProcess(ModelRef served, WireStats& stats);

}  // namespace harumado::automation::model
