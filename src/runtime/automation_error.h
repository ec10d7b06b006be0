#pragma once
// The one error type of the automation layer. Every failure of the spreadsheet host, the
// automation runtime's conversions and the platform objects reaches the core as this type,
// carrying the number that the program branches on: 6, 13, 91, 429 and 1004 as plain numbers,
// other automation failures as their HRESULT (0x80010001, 0x80080005, 0x800706BA, ...).
#include <cstdint>
#include <stdexcept>
#include <string>

namespace harumado::rt {

// The one table of the error numbers the program and its platform layers raise and test.
namespace err {
// Run-time errors, as plain numbers.
inline constexpr std::int32_t kOverflow = 6;
inline constexpr std::int32_t kSubscriptOutOfRange = 9;
inline constexpr std::int32_t kTypeMismatch = 13;
inline constexpr std::int32_t kFileNotFound = 53;
inline constexpr std::int32_t kPermissionDenied = 70;
inline constexpr std::int32_t kPathFileAccessError = 75;
inline constexpr std::int32_t kObjectNotSet = 91;
inline constexpr std::int32_t kCannotCreateObject = 429;
inline constexpr std::int32_t kNoAutomationInterface = 430;
inline constexpr std::int32_t kMemberNotSupported = 438;
inline constexpr std::int32_t kArgumentNotOptional = 449;
inline constexpr std::int32_t kWrongArgumentCount = 450;
inline constexpr std::int32_t kApplicationDefined = 1004;
// Automation failures that reach the program as their HRESULT.
inline constexpr std::int32_t kCallRejected = static_cast<std::int32_t>(0x80010001u);
inline constexpr std::int32_t kServerDied = static_cast<std::int32_t>(0x80010007u);
inline constexpr std::int32_t kServerDiedDne = static_cast<std::int32_t>(0x80010012u);
// "The object invoked has disconnected from its clients": a closed workbook used again.
inline constexpr std::int32_t kDisconnected = static_cast<std::int32_t>(0x80010108u);
inline constexpr std::int32_t kServerExecFailed = static_cast<std::int32_t>(0x80080005u);
// E_INVALIDARG, as Excel raises it for a collection index out of bounds.
inline constexpr std::int32_t kInvalidArgument = static_cast<std::int32_t>(0x80070057u);
// RPC_S_UNKNOWN_IF: the server's process is ending and its objects' interfaces are gone.
inline constexpr std::int32_t kUnknownInterface = static_cast<std::int32_t>(0x800706B5u);
inline constexpr std::int32_t kServerUnavailable = static_cast<std::int32_t>(0x800706BAu);
inline constexpr std::int32_t kCallFailed = static_cast<std::int32_t>(0x800706BEu);
inline constexpr std::int32_t kCallFailedDne = static_cast<std::int32_t>(0x800706BFu);
}  // namespace err

class AutomationError : public std::runtime_error {
 public:
  explicit AutomationError(std::int32_t number, std::wstring description = {});
  std::int32_t number() const noexcept { return number_; }
  const std::wstring& description() const noexcept { return description_; }

 private:
  std::int32_t number_;
  std::wstring description_;
};

// The error number as the program shows it in messages: plain numbers in decimal, HRESULTs as
// the signed 32-bit decimal the automation runtime reports (e.g. -2147417848).
std::wstring ErrorNumberText(std::int32_t number);

}  // namespace harumado::rt
