#pragma once
// The error numbers of automation failures, as the program sees them, and back.
#include <cstdint>

namespace harumado::automation {

// The HRESULTs that the runtime turns into numbers of its own (rt::err); every other one reaches
// the program as it is and stands in rt::err under its own name.
namespace hresult {
inline constexpr std::uint32_t kExcelError = 0x800A03ECu;          // Excel's 1004
inline constexpr std::uint32_t kControlFacility = 0x800A0000u;     // FACILITY_CONTROL
inline constexpr std::uint32_t kMonikerUnavailable = 0x800401E3u;  // MK_E_UNAVAILABLE
inline constexpr std::uint32_t kClassString = 0x800401F3u;         // CO_E_CLASSSTRING
inline constexpr std::uint32_t kClassNotRegistered = 0x80040154u;  // REGDB_E_CLASSNOTREG
inline constexpr std::uint32_t kNoInterface = 0x80004002u;         // E_NOINTERFACE
inline constexpr std::uint32_t kMemberNotFound = 0x80020003u;      // DISP_E_MEMBERNOTFOUND
inline constexpr std::uint32_t kParamNotFound = 0x80020004u;       // DISP_E_PARAMNOTFOUND
inline constexpr std::uint32_t kTypeMismatch = 0x80020005u;        // DISP_E_TYPEMISMATCH
inline constexpr std::uint32_t kUnknownName = 0x80020006u;         // DISP_E_UNKNOWNNAME
inline constexpr std::uint32_t kOverflow = 0x8002000Au;            // DISP_E_OVERFLOW
inline constexpr std::uint32_t kBadIndex = 0x8002000Bu;            // DISP_E_BADINDEX
inline constexpr std::uint32_t kBadParamCount = 0x8002000Eu;       // DISP_E_BADPARAMCOUNT
inline constexpr std::uint32_t kParamNotOptional = 0x8002000Fu;    // DISP_E_PARAMNOTOPTIONAL
inline constexpr std::uint32_t kNotImplemented = 0x80004001u;      // E_NOTIMPL
inline constexpr std::uint32_t kUnexpected = 0x8000FFFFu;          // E_UNEXPECTED
}  // namespace hresult

// The number a failed automation call reports: the server's own errors (FACILITY_CONTROL,
// 0x800Axxxx, Excel's 0x800A03EC among them) by their low word, the failures of the dispatch
// layer by the runtime's numbers (13, 6, 9, 430, 438, 449, 450), a class that cannot be found
// or created and a missing active object as 429, and every other HRESULT (0x80010001,
// 0x80080005, 0x800706BA, ...) as it is.
std::int32_t ErrorNumberFor(std::uint32_t hr);

// What a server raises for an error number of the program's runtime: the plain numbers in the
// control facility (1004 -> 0x800A03EC), HRESULTs as they are. ErrorNumberFor turns it back.
std::uint32_t HresultFor(std::int32_t number);

// Failures after which the server is gone: the objects of its process can no longer be used.
bool IsServerGone(std::int32_t number);

}  // namespace harumado::automation
