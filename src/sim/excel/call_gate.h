#pragma once
// The door every host operation passes: it counts the call by its operation name, and rejects
// it when its instance has gone, when the application is busy, or when a fault is due.
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>

#include "sim/world.h"

namespace harumado::sim {

class ExcelInstance;

class CallGate {
 public:
  explicit CallGate(World& world) : world_(world) {}

  // Counts the attempt, then fails it with 0x800706BA when the instance (if any) no longer
  // runs, with 0x80010001 after the busy wait while busy, or with an injected error. A call
  // that goes through is traced unless its caller traces it with its details (quiet).
  void Enter(std::wstring_view operation, const ExcelInstance* instance, bool quiet = false);

  // The next n operations are rejected as busy.
  void SetBusy(int n) { busy_ = n; }
  int busy() const { return busy_; }
  // The next `times` calls of the operation fail with the error; times < 0: every call.
  void FailNext(const std::wstring& operation, std::int32_t error, int times);
  int calls(const std::wstring& operation) const;

  // The operation names of the spreadsheet host interface.
  static bool IsOperation(std::wstring_view operation);
  static std::span<const std::wstring_view> Operations();

  // How long a rejected call is retried before it fails (the client's busy policy).
  int busy_wait_ms = 0;
  static constexpr int kDefaultBusyWaitMs = 1000;

 private:
  struct Fault {
    std::int32_t error = 0;
    int remaining = 0;  // < 0: always
  };
  World& world_;
  int busy_ = 0;
  std::map<std::wstring, int, std::less<>> calls_;
  std::map<std::wstring, Fault, std::less<>> faults_;
};

}  // namespace harumado::sim
