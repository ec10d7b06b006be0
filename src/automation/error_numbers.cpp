#include "automation/error_numbers.h"

#include "runtime/automation_error.h"

namespace harumado::automation {
namespace {

constexpr std::uint32_t kFacilityMask = 0xFFFF0000u;

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
      return rt::err::kCannotCreateObject;
    case hresult::kNoInterface:
      return rt::err::kNoAutomationInterface;
    case hresult::kMemberNotFound:
    case hresult::kUnknownName:
      return rt::err::kMemberNotSupported;
    case hresult::kTypeMismatch:
      return rt::err::kTypeMismatch;
    case hresult::kOverflow:
      return rt::err::kOverflow;
    case hresult::kBadIndex:
      return rt::err::kSubscriptOutOfRange;
    case hresult::kBadParamCount:
      return rt::err::kWrongArgumentCount;
    case hresult::kParamNotOptional:
      return rt::err::kArgumentNotOptional;
    default:
      return static_cast<std::int32_t>(hr);
  }
}

std::uint32_t HresultFor(std::int32_t number) {
  switch (number) {
    case rt::err::kTypeMismatch:
      return hresult::kTypeMismatch;
    case rt::err::kOverflow:
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
  switch (number) {
    case rt::err::kServerUnavailable:
    case rt::err::kUnknownInterface:
    case rt::err::kDisconnected:
    case rt::err::kServerDied:
    case rt::err::kServerDiedDne:
    case rt::err::kCallFailed:
    case rt::err::kCallFailedDne:
      return true;
    default:
      return false;
  }
}

}  // namespace harumado::automation
