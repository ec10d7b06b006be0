#include "automation/error_numbers.h"

namespace harumado::automation {
namespace {

constexpr std::int32_t kSubscriptOutOfRange = 9;
constexpr std::int32_t kNoAutomationInterface = 430;
constexpr std::int32_t kMemberNotSupported = 438;
constexpr std::int32_t kArgumentNotOptional = 449;
constexpr std::int32_t kWrongArgumentCount = 450;
constexpr std::int32_t kOverflow = 6;
constexpr std::int32_t kTypeMismatch = 13;
constexpr std::int32_t kCannotCreateObject = 429;

constexpr std::uint32_t kFacilityMask = 0xFFFF0000u;
constexpr std::uint32_t kRpcCallFailed = 0x800706BEu;     // RPC_S_CALL_FAILED
constexpr std::uint32_t kRpcCallFailedDne = 0x800706BFu;  // RPC_S_CALL_FAILED_DNE

}  // namespace

// The runtime's table: FACILITY_CONTROL errors are the server's own run-time errors (Excel
// raises its "application-defined or object-defined error" as 0x800A03EC) and keep their low
// word; the dispatch layer's own failures become the runtime errors they stand for. Errors a
// server raises with a system code (E_INVALIDARG for a collection index out of bounds) stay
// as they are.
std::int32_t ErrorNumberFor(std::uint32_t hr) {
  if ((hr & kFacilityMask) == hresult::kControlFacility) {
    return static_cast<std::int32_t>(hr & 0xFFFFu);
  }
  switch (hr) {
    case hresult::kMonikerUnavailable:
    case hresult::kClassString:
    case hresult::kClassNotRegistered:
      return kCannotCreateObject;
    case hresult::kNoInterface:
      return kNoAutomationInterface;
    case hresult::kMemberNotFound:
    case hresult::kUnknownName:
      return kMemberNotSupported;
    case hresult::kTypeMismatch:
      return kTypeMismatch;
    case hresult::kOverflow:
      return kOverflow;
    case hresult::kBadIndex:
      return kSubscriptOutOfRange;
    case hresult::kBadParamCount:
      return kWrongArgumentCount;
    case hresult::kParamNotOptional:
      return kArgumentNotOptional;
    default:
      return static_cast<std::int32_t>(hr);
  }
}

std::uint32_t HresultFor(std::int32_t number) {
  switch (number) {
    case kTypeMismatch:
      return hresult::kTypeMismatch;
    case kOverflow:
      return hresult::kOverflow;
    default:
      break;
  }
  if (number > 0 && number <= 0xFFFF) {
    return hresult::kControlFacility | static_cast<std::uint32_t>(number);
  }
  if (number < 0) return static_cast<std::uint32_t>(number);
  return hresult::kUnexpected;
}

bool IsServerGone(std::int32_t number) {
  switch (static_cast<std::uint32_t>(number)) {
    case hresult::kServerUnavailable:
    case hresult::kDisconnected:
    case hresult::kServerDied:
    case hresult::kServerDiedDne:
    case kRpcCallFailed:
    case kRpcCallFailedDne:
      return true;
    default:
      return false;
  }
}

}  // namespace harumado::automation
