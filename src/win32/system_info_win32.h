#pragma once
// The running system: the version queries, the single-instance mutex and the end of the program.
#include <functional>

#include "platform/system_info.h"
#include "win32/scoped.h"

namespace harumado::win32 {

class SystemInfoWin32 final : public platform::SystemInfo {
 public:
  // end_program ends the main loop once control returns to it.
  explicit SystemInfoWin32(std::function<void()> end_program);

  std::int32_t VersionBuildNumber() override;
  std::vector<std::wstring> WmiBuildNumbers() override;
  bool AnotherInstanceRuns() override;
  void Exit() override;

 private:
  std::function<void()> end_program_;
  UniqueHandle instance_mutex_;
};

// The name of the mutex that marks a running instance of this program file.
std::wstring InstanceMutexName(const std::wstring& program_path);

}  // namespace harumado::win32
