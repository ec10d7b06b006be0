#pragma once
// A cell or automation value: empty, number, text, logical, date or error.
#include <cstdint>
#include <string>
#include <variant>

namespace harumado::rt {

struct Empty {
  bool operator==(const Empty&) const = default;
};
struct Date {
  double serial = 0;  // days since 1899-12-30, fraction = time of day
  bool operator==(const Date&) const = default;
};
struct ErrorValue {
  std::int32_t code = 0;  // e.g. 2007 for #DIV/0!
  bool operator==(const ErrorValue&) const = default;
};

class Value {
 public:
  enum class Kind { kEmpty, kNumber, kText, kLogical, kDate, kError };

  Value() = default;
  static Value Number(double d) { return Value(Storage{d}); }
  static Value Text(std::wstring s) { return Value(Storage{std::move(s)}); }
  static Value Logical(bool b) { return Value(Storage{b}); }
  static Value FromDate(double serial) { return Value(Storage{Date{serial}}); }
  static Value Error(std::int32_t code) { return Value(Storage{ErrorValue{code}}); }

  Kind kind() const { return static_cast<Kind>(v_.index()); }
  bool is_empty() const { return kind() == Kind::kEmpty; }
  bool is_number() const { return kind() == Kind::kNumber; }
  bool is_text() const { return kind() == Kind::kText; }
  bool is_logical() const { return kind() == Kind::kLogical; }
  bool is_date() const { return kind() == Kind::kDate; }
  bool is_error() const { return kind() == Kind::kError; }

  double number() const { return std::get<double>(v_); }
  const std::wstring& text() const { return std::get<std::wstring>(v_); }
  bool logical() const { return std::get<bool>(v_); }
  double date_serial() const { return std::get<Date>(v_).serial; }
  std::int32_t error_code() const { return std::get<ErrorValue>(v_).code; }

  bool operator==(const Value&) const = default;

 private:
  using Storage = std::variant<Empty, double, std::wstring, bool, Date, ErrorValue>;
  explicit Value(Storage s) : v_(std::move(s)) {}
  Storage v_;
};

}  // namespace harumado::rt
