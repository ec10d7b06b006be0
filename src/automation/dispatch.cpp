#include "automation/dispatch.h"

#include "runtime/automation_error.h"
#include "runtime/conversions.h"

namespace harumado::automation {
namespace {

constexpr std::int32_t kInvalidUseOfNull = 94;
constexpr std::int32_t kObjectRequired = 424;

}  // namespace

const rt::Value& Variant::value() const {
  if (const auto* v = std::get_if<rt::Value>(&v_)) return *v;
  if (is_null()) throw rt::AutomationError(kInvalidUseOfNull);
  throw rt::AutomationError(rt::err::kTypeMismatch);
}

const ObjectRef& Variant::object() const {
  if (const auto* o = std::get_if<ObjectRef>(&v_)) {
    if (!*o) throw rt::AutomationError(rt::err::kObjectNotSet);
    return *o;
  }
  throw rt::AutomationError(kObjectRequired);
}

const Array& Variant::array() const {
  if (const auto* a = std::get_if<Array>(&v_)) return *a;
  throw rt::AutomationError(rt::err::kTypeMismatch);
}

Variant Object::Get(const Member& member, std::initializer_list<Variant> args) {
  return Invoke(member, CallKind::kGet, Arguments(args.begin(), args.size()));
}

void Object::Put(const Member& member, const Variant& value) {
  Invoke(member, CallKind::kPut, Arguments(&value, 1));
}

Variant Object::Call(const Member& member, std::initializer_list<Variant> args) {
  return Invoke(member, CallKind::kMethod, Arguments(args.begin(), args.size()));
}

ObjectRef Object::GetObject(const Member& member, std::initializer_list<Variant> args) {
  return Get(member, args).object();
}

// A result used as a number: logicals are -1 and 0, an empty value 0, a text must read as a
// number (13 otherwise), as the runtime's implicit conversion does.
double NumberOf(const Variant& v) {
  const rt::Value& value = v.value();
  switch (value.kind()) {
    case rt::Value::Kind::kEmpty:
      return 0;
    case rt::Value::Kind::kNumber:
      return value.number();
    case rt::Value::Kind::kLogical:
      return value.logical() ? -1 : 0;
    case rt::Value::Kind::kDate:
      return value.date_serial();
    case rt::Value::Kind::kText:
      if (const auto n = rt::ReadNumber(value.text())) return *n;
      break;
    case rt::Value::Kind::kError:
      break;
  }
  throw rt::AutomationError(rt::err::kTypeMismatch);
}

std::int32_t LongOf(const Variant& v) { return rt::ToInt32(NumberOf(v)); }

}  // namespace harumado::automation
