#pragma once
// The running system: version query, WMI, single instance, process end.
#include <cstdint>
#include <string>
#include <vector>

namespace harumado::platform {

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  // GetVersionExA's build number.
  virtual std::int32_t VersionBuildNumber() = 0;
  // BuildNumber of every Win32_OperatingSystem instance through WMI, as texts; throws
  // rt::AutomationError when WMI is not available.
  virtual std::vector<std::wstring> WmiBuildNumbers() = 0;
  // True when another instance of the same program file already runs.
  virtual bool AnotherInstanceRuns() = 0;
  // Ends the process once control returns to the top (no window is shown any more).
  virtual void Exit() = 0;
};

}  // namespace harumado::platform
