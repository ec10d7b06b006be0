#pragma once
// An automation object over IDispatch. A member's identifier is looked up once per interface
// and name (GetIDsOfNames) and kept for the program run.
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "automation/dispatch.h"
#include "win32/scoped.h"

namespace harumado::win32 {

class DispatchIds {
 public:
  // The member's identifier; asked of the object the first time the name is called on the
  // interface.
  DISPID Lookup(IDispatch* object, const automation::Member& member);
  std::size_t size() const { return ids_.size(); }

 private:
  std::map<std::pair<std::wstring, std::wstring>, DISPID, std::less<>> ids_;
};

class ComObject final : public automation::Object {
 public:
  ComObject(ComPtr<IDispatch> dispatch, std::shared_ptr<DispatchIds> ids)
      : dispatch_(std::move(dispatch)), ids_(std::move(ids)) {}

  automation::Variant Invoke(const automation::Member& member, automation::CallKind kind,
                             automation::Arguments args) override;
  IDispatch* dispatch() const { return dispatch_.get(); }
  // The items of a collection (through its _NewEnum), in the collection's order.
  std::vector<automation::Variant> Items();

 private:
  automation::Variant Result(const VARIANT& v) const;

  ComPtr<IDispatch> dispatch_;
  std::shared_ptr<DispatchIds> ids_;
};

// A failed call's error as the program sees it: the server's exception record first.
[[noreturn]] void ThrowCallFailure(HRESULT hr, ExceptionInfo* exception, std::wstring_view what);

}  // namespace harumado::win32
