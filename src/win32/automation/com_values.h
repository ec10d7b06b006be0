#pragma once
// Values between the automation layer and COM: rt::Value and arrays to and from VARIANT and
// SAFEARRAY. Objects are handled by ComObject.
#include "automation/dispatch.h"
#include "win32/automation/safe_array.h"
#include "win32/scoped.h"

namespace harumado::win32 {

// A value as an argument: whole numbers that fit go as Long, others as Double; texts as BSTR,
// logicals as Boolean, dates as Date, cell errors as Error.
void PutValue(const rt::Value& value, VARIANT* out);
// A scalar result as a value; 13 for a type that has none.
rt::Value ValueOfVariant(const VARIANT& v);
// An array result (one or two dimensions, any lower bounds) as an array of values.
automation::Array ArrayOfSafeArray(const SAFEARRAY* array, VARTYPE element_type);
// An array of values as a SAFEARRAY of VARIANT, 1-based.
SafeArray SafeArrayOf(const automation::Array& array);

}  // namespace harumado::win32
