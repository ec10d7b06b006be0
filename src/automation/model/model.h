#pragma once
// Excel's object model served over the host interface: Application, Workbooks, Workbook,
// Worksheet, Range, Shapes, Shape, Pictures, Window and the Global object, each an automation
// object reached by member name. Over the simulated spreadsheet it is the server that the
// late-bound host talks to, in process (tests, scenarios) or across processes (the test double).
//
// Member names compare without regard to ASCII case, as IDispatch names do. A member an object
// does not have fails with 438, a wrong number of arguments with 450; the host's own errors
// pass through with their numbers.
#include <memory>
#include <string_view>

#include "automation/dispatch.h"
#include "platform/spreadsheet_host.h"

namespace harumado::automation::model {

class ModelObject : public Object {
 public:
  // The object model class, e.g. "Range".
  virtual std::wstring_view type_name() const = 0;
  // The member, called by its name; the interface named by the caller is not looked at.
  virtual Variant Handle(std::wstring_view name, CallKind kind, Arguments args) = 0;

  Variant Invoke(const Member& member, CallKind kind, Arguments args) final {
    return Handle(member.name, kind, args);
  }
};

using ModelRef = std::shared_ptr<ModelObject>;

// The application object over a host application (shared: the served objects keep it alive).
ModelRef ServeApplication(std::shared_ptr<platform::ExcelApplication> application);
// Excel's Global object, whose Application is the given one.
ModelRef ServeGlobal(std::shared_ptr<platform::ExcelApplication> application);

}  // namespace harumado::automation::model
