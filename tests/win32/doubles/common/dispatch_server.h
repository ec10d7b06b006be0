#pragma once
// Excel's object model (the served model objects) as COM automation objects: IDispatch by
// member name, for a client in another process. Hooks see every call, may answer it instead
// of the model, and learn when the last object is released.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "automation/model/model.h"
#include "win32/scoped.h"

namespace harumado::doubles {

// The type in which a number (or a date) of a result goes to the client: Double, Currency
// (four decimals) or Date.
enum class NumberType { kDouble, kCurrency, kDate };

class ServerHooks {
 public:
  virtual ~ServerHooks() = default;
  // Before the model: a result answers the call instead.
  virtual std::optional<automation::Variant> Before(std::wstring_view type, std::wstring_view name,
                                                    automation::CallKind kind,
                                                    automation::Arguments args) = 0;
  // After the model answered (not after a failure).
  virtual void After(std::wstring_view type, std::wstring_view name, automation::CallKind kind,
                     automation::Arguments args) = 0;
  // The last served object was released by its clients.
  virtual void AllReleased() = 0;
  // The types of the numbers of a cell-value result that the model gave: one for a value, one
  // per item (row by row) for an array. Only asked for Value reads of a Range.
  virtual std::vector<NumberType> ValueTypes(automation::model::ModelObject& range,
                                             const automation::Variant& answer) = 0;
};

// A new COM object for the model object, with one reference for the caller.
IDispatch* Serve(automation::model::ModelRef model, ServerHooks& hooks);

// Served objects still referenced.
int LiveServedObjects();

}  // namespace harumado::doubles
