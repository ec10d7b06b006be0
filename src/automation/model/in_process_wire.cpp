#include "automation/model/in_process_wire.h"

#include <string>

#include "automation/error_numbers.h"
#include "runtime/automation_error.h"

namespace harumado::automation::model {
namespace {

class WireObject final : public Object {
 public:
  WireObject(ModelRef served, WireStats& stats) : served_(std::move(served)), stats_(stats) {}

  const ModelRef& served() const { return served_; }

  // A caller that names the wrong interface would get another member's identifier from a
  // binding that caches identifiers per interface; here it fails at once with 438.
  Variant Invoke(const Member& member, CallKind kind, Arguments args) override {
    ++stats_.calls;
    if (stats_.logging) {
      stats_.log.push_back(std::wstring(member.interface_name) + L"." + std::wstring(member.name));
    }
    if (member.interface_name != served_->type_name()) {
      throw rt::AutomationError(ErrorNumberFor(hresult::kMemberNotFound),
                                std::wstring(member.interface_name) + L"." +
                                    std::wstring(member.name) + L" called on " +
                                    std::wstring(served_->type_name()));
    }
    std::vector<Variant> inbound;
    inbound.reserve(args.size());
    for (const Variant& a : args) inbound.push_back(Inbound(a));
    try {
      return Outbound(served_->Handle(member.name, kind, inbound));
    } catch (const rt::AutomationError& e) {
      throw rt::AutomationError(ErrorNumberFor(HresultFor(e.number())), e.description());
    }
  }

 private:
  // An object argument reaches the server as the served object it stands for.
  static Variant Inbound(const Variant& v) {
    if (!v.is_object() || v.is_nothing()) return v;
    const auto* wire = dynamic_cast<const WireObject*>(v.object().get());
    if (wire == nullptr) throw rt::AutomationError(rt::err::kTypeMismatch);
    return wire->served();
  }

  Variant Outbound(Variant v) {
    if (!v.is_object() || v.is_nothing()) return v;
    auto served = std::dynamic_pointer_cast<ModelObject>(v.object());
    if (!served) throw rt::AutomationError(rt::err::kTypeMismatch);
    return ObjectRef(std::make_shared<WireObject>(std::move(served), stats_));
  }

  ModelRef served_;
  WireStats& stats_;
};

}  // namespace

ObjectRef ConnectInProcess(ModelRef served, WireStats& stats) {
  return std::make_shared<WireObject>(std::move(served), stats);
}

}  // namespace harumado::automation::model
