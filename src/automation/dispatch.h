#pragma once
// Late-bound automation calls: an object is reached by member name, as a script reaches it
// through IDispatch. The Windows binding implements Object over COM; the object model of the
// simulated spreadsheet implements it too, so that the same calls run against either.
//
// Errors: every failure is thrown as rt::AutomationError with the number the program tests
// (see error_numbers.h).
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "runtime/value.h"

namespace harumado::automation {

class Object;
using ObjectRef = std::shared_ptr<Object>;

// How a member is called: a property read (or a method whose result is used), a property
// write, or a method called as a statement.
enum class CallKind { kGet, kPut, kMethod };

// A member of an interface. The interface name tells which object model class the member
// belongs to; a binding may cache the member's identifier per interface and name.
struct Member {
  std::wstring_view interface_name;
  std::wstring_view name;
};

// An array of values, as a range of cells or a list gives it: rows x columns, row by row.
// A list has one dimension (rows items, one column).
struct Array {
  int dimensions = 1;
  std::int32_t rows = 0;
  std::int32_t columns = 1;
  std::vector<rt::Value> items;

  const rt::Value& at(std::int32_t row, std::int32_t column) const {
    return items[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) +
                 static_cast<std::size_t>(column)];
  }
};

// What crosses the boundary: a value, an object (a null object is Nothing), an array, or Null.
class Variant {
 public:
  struct NullTag {
    bool operator==(const NullTag&) const = default;
  };
  enum class Kind { kValue, kObject, kArray, kNull };

  Variant() = default;
  Variant(rt::Value v) : v_(std::move(v)) {}  // NOLINT: values convert implicitly
  template <typename T>
  requires std::is_base_of_v<Object, T> Variant(std::shared_ptr<T> o)
      : v_(ObjectRef(std::move(o))) {}    // NOLINT
  Variant(Array a) : v_(std::move(a)) {}  // NOLINT
  static Variant Null() { return Variant(NullTag{}); }
  static Variant Nothing() { return Variant(ObjectRef()); }

  Kind kind() const { return static_cast<Kind>(v_.index()); }
  bool is_value() const { return kind() == Kind::kValue; }
  bool is_object() const { return kind() == Kind::kObject; }
  bool is_nothing() const { return is_object() && !std::get<ObjectRef>(v_); }
  bool is_array() const { return kind() == Kind::kArray; }
  bool is_null() const { return kind() == Kind::kNull; }

  // The value; 94 for Null, 13 for an object or an array.
  const rt::Value& value() const;
  // The object; 91 for Nothing, 424 for anything that is not an object.
  const ObjectRef& object() const;
  // The array; 13 for anything else.
  const Array& array() const;

 private:
  explicit Variant(NullTag n) : v_(n) {}
  std::variant<rt::Value, ObjectRef, Array, NullTag> v_;
};

using Arguments = std::span<const Variant>;

class Object {
 public:
  virtual ~Object() = default;
  // Calls the member; the arguments are given in their written order.
  virtual Variant Invoke(const Member& member, CallKind kind, Arguments args) = 0;

  // Shorthands.
  Variant Get(const Member& member, std::initializer_list<Variant> args = {});
  void Put(const Member& member, const Variant& value);
  Variant Call(const Member& member, std::initializer_list<Variant> args = {});
  // A member whose result must be an object (91 when it is Nothing).
  ObjectRef GetObject(const Member& member, std::initializer_list<Variant> args = {});
};

// Value conversions as the automation runtime applies them to a result.
double NumberOf(const Variant& v);
std::int32_t LongOf(const Variant& v);

}  // namespace harumado::automation
