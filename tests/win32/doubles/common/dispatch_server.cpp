#include "dispatch_server.h"

#include <atomic>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "automation/error_numbers.h"
#include "query_interface.h"
#include "runtime/automation_error.h"
#include "win32/automation/com_values.h"

namespace harumado::doubles {
namespace {

// Every member name of the served object model has a fixed identifier, the same in every
// process, as a type library gives Excel's members theirs; a client may keep them across
// servers. Names compare without regard to ASCII case; an unknown name has none.
class NameTable {
 public:
  NameTable() {
    static constexpr const wchar_t* kNames[] = {
        // Application, Global, Workbooks, Workbook, Window
        L"Visible", L"DisplayAlerts", L"Workbooks", L"Quit", L"Hwnd", L"ClipboardFormats",
        L"ActiveSheet", L"ActiveCell", L"ActiveWindow", L"Application", L"Open", L"Add", L"Name",
        L"SaveAs", L"Close", L"RangeSelection",
        // Worksheet, Pictures, Shapes, Shape
        L"Paste", L"Pictures", L"Shapes", L"Cells", L"Range", L"Rows", L"Columns", L"Count",
        L"Item", L"LockAspectRatio", L"Placement", L"Left", L"Top", L"Width", L"Height",
        // Range
        L"Value", L"Text", L"NumberFormatLocal", L"Formula", L"Row", L"Column", L"Offset",
        L"Select", L"End", L"ColumnWidth", L"AutoFit", L"Value2",
        // the double's test members
        L"HarumadoReport", L"HarumadoBusy", L"HarumadoEnter", L"HarumadoFormat", L"HarumadoWidth",
        L"HarumadoFill"};
    for (const wchar_t* name : kNames) {
      ids_.emplace(Key(name), static_cast<DISPID>(kFirstId + names_.size()));
      names_.emplace_back(name);
    }
  }
  std::optional<DISPID> IdOf(std::wstring_view name) const {
    const auto it = ids_.find(Key(name));
    if (it == ids_.end()) return std::nullopt;
    return it->second;
  }
  const std::wstring* NameOf(DISPID id) const {
    const auto i = static_cast<std::size_t>(id - kFirstId);
    return id >= kFirstId && i < names_.size() ? &names_[i] : nullptr;
  }

 private:
  static std::wstring Key(std::wstring_view name) {
    std::wstring key(name);
    for (auto& c : key) {
      if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - 32);
    }
    return key;
  }
  static constexpr DISPID kFirstId = 1000;
  std::map<std::wstring, DISPID> ids_;
  std::vector<std::wstring> names_;
};

NameTable& Names() {
  static NameTable table;
  return table;
}

class ServedObject;
std::set<const ServedObject*>& Live() {
  static std::set<const ServedObject*> live;
  return live;
}

class ServedObject final : public IDispatch {
 public:
  ServedObject(automation::model::ModelRef model, ServerHooks& hooks)
      : model_(std::move(model)), hooks_(hooks) {
    Live().insert(this);
  }

  const automation::model::ModelRef& model() const { return model_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    return QueryOneInterface<IDispatch>(this, iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) {
      ServerHooks& hooks = hooks_;
      Live().erase(this);
      delete this;
      if (Live().empty()) hooks.AllReleased();
    }
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count != nullptr) *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override {
    return DISP_E_BADINDEX;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    if (count != 1 || names == nullptr || ids == nullptr) return DISP_E_UNKNOWNNAME;
    const auto id = Names().IdOf(names[0]);
    if (!id) {
      ids[0] = DISPID_UNKNOWN;
      return DISP_E_UNKNOWNNAME;
    }
    ids[0] = *id;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT*) override {
    const std::wstring* name = Names().NameOf(id);
    if (name == nullptr) return DISP_E_MEMBERNOTFOUND;
    try {
      const automation::CallKind kind =
          (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0
              ? automation::CallKind::kPut
          : (flags & DISPATCH_PROPERTYGET) != 0 ? automation::CallKind::kGet
                                                : automation::CallKind::kMethod;
      const std::vector<automation::Variant> args = Arguments(params);
      std::optional<automation::Variant> answer =
          hooks_.Before(model_->type_name(), *name, kind, args);
      // Value2 is the cell value without the currency and date types.
      const bool cell_value =
          model_->type_name() == L"Range" && (*name == L"Value" || *name == L"Value2");
      if (!answer) {
        answer = model_->Handle(cell_value ? std::wstring_view(L"Value") : *name, kind, args);
        hooks_.After(model_->type_name(), *name, kind, args);
      }
      if (result == nullptr) return S_OK;
      if (cell_value && kind != automation::CallKind::kPut) {
        const std::vector<NumberType> types =
            *name == L"Value" ? hooks_.ValueTypes(*model_, *answer) : std::vector<NumberType>();
        PutCellValues(*answer, types, *name == L"Value2", result);
      } else if (const auto type = MeasureType(model_->type_name(), *name);
                 type != VT_EMPTY && answer->is_value() && answer->value().is_number()) {
        ::VariantInit(result);
        result->vt = type;
        if (type == VT_R4) {
          result->fltVal = static_cast<float>(answer->value().number());
        } else {
          result->dblVal = answer->value().number();
        }
      } else {
        Put(*answer, result);
      }
      return S_OK;
    } catch (const rt::AutomationError& e) {
      const auto hr = static_cast<HRESULT>(automation::HresultFor(e.number()));
      if (exception == nullptr) return hr;
      win32::ExceptionInfo(hr, L"Harumado test Excel", e.description()).HandOver(exception);
      return DISP_E_EXCEPTION;
    } catch (const std::exception&) {
      return E_UNEXPECTED;
    }
  }

 private:
  // Positional arguments come last to first; a property write's value is the named
  // DISPID_PROPERTYPUT argument, which goes last.
  static std::vector<automation::Variant> Arguments(const DISPPARAMS* params) {
    std::vector<automation::Variant> args;
    if (params == nullptr) return args;
    const UINT named = params->cNamedArgs;
    for (UINT i = params->cArgs; i > named; --i) args.push_back(In(params->rgvarg[i - 1]));
    for (UINT i = 0; i < named; ++i) args.push_back(In(params->rgvarg[i]));
    return args;
  }

  static automation::Variant In(const VARIANT& v) {
    if ((v.vt & VT_BYREF) != 0) {
      win32::Variant copy;
      if (FAILED(::VariantCopyInd(copy.get(), const_cast<VARIANT*>(&v)))) {
        throw rt::AutomationError(rt::err::kTypeMismatch);
      }
      return In(*copy.get());
    }
    if ((v.vt & VT_ARRAY) != 0) {
      return win32::ArrayOfSafeArray(v.parray, static_cast<VARTYPE>(v.vt & VT_TYPEMASK));
    }
    if (v.vt == VT_NULL) return automation::Variant::Null();
    if (v.vt == VT_DISPATCH || v.vt == VT_UNKNOWN) {
      if (v.punkVal == nullptr) return automation::Variant::Nothing();
      // Only this server's own objects are taken as arguments.
      for (const ServedObject* served : Live()) {
        if (static_cast<const IDispatch*>(served) == v.pdispVal) return served->model();
      }
      throw rt::AutomationError(rt::err::kTypeMismatch);
    }
    return win32::ValueOfVariant(v);
  }

  void Put(const automation::Variant& answer, VARIANT* out) {
    ::VariantInit(out);
    switch (answer.kind()) {
      case automation::Variant::Kind::kValue:
        win32::PutValue(answer.value(), out);
        return;
      case automation::Variant::Kind::kNull:
        out->vt = VT_NULL;
        return;
      case automation::Variant::Kind::kArray:
        out->vt = VT_ARRAY | VT_VARIANT;
        out->parray = win32::SafeArrayOf(answer.array()).release();
        return;
      case automation::Variant::Kind::kObject: {
        out->vt = VT_DISPATCH;
        out->pdispVal = nullptr;
        if (answer.is_nothing()) return;
        auto model = std::dynamic_pointer_cast<automation::model::ModelObject>(answer.object());
        if (!model) throw rt::AutomationError(rt::err::kTypeMismatch);
        out->pdispVal = Serve(std::move(model), hooks_);
        return;
      }
    }
  }

  // A cell value, or an array of them, as Excel gives it: a number as Double, as Currency or as
  // Date by its type (the types given, one per item, or Double for all), a date as Date unless
  // every number is to be a Double; other values as their VARIANT type.
  void PutCellValues(const automation::Variant& answer, const std::vector<NumberType>& types,
                     bool doubles_only, VARIANT* out) {
    auto type_of = [&](std::size_t i, const rt::Value& v) {
      if (doubles_only) return NumberType::kDouble;
      if (i < types.size()) return types[i];
      return v.is_date() ? NumberType::kDate : NumberType::kDouble;
    };
    if (answer.is_value()) {
      PutCellValue(answer.value(), type_of(0, answer.value()), out);
      return;
    }
    if (!answer.is_array()) {
      Put(answer, out);
      return;
    }
    const automation::Array& array = answer.array();
    SAFEARRAYBOUND bounds[2];
    bounds[0].lLbound = 1;
    bounds[0].cElements = static_cast<ULONG>(array.rows);
    bounds[1].lLbound = 1;
    bounds[1].cElements = static_cast<ULONG>(array.columns);
    win32::SafeArray sa(::SafeArrayCreate(VT_VARIANT, array.dimensions == 2 ? 2 : 1, bounds));
    if (!sa.get()) throw rt::AutomationError(7);
    {
      win32::SafeArrayData data(sa.get());
      if (!data.ok()) throw rt::AutomationError(rt::err::kTypeMismatch);
      // The leftmost index (the row) changes fastest in the data.
      for (std::int32_t r = 0; r < array.rows; ++r) {
        for (std::int32_t c = 0; c < array.columns; ++c) {
          const std::size_t item = static_cast<std::size_t>(r) * array.columns + c;
          PutCellValue(array.items[item], type_of(item, array.items[item]),
                       &data.as<VARIANT>()[static_cast<std::size_t>(c) * array.rows + r]);
        }
      }
    }
    ::VariantInit(out);
    out->vt = VT_ARRAY | VT_VARIANT;
    out->parray = sa.release();
  }

  // Currency is rounded to four decimals as the automation runtime rounds (half to even); a
  // number too large for it, or a date outside the calendar (before 1899/12/30 or after
  // 9999/12/31), goes as a Double.
  static void PutCellValue(const rt::Value& value, NumberType type, VARIANT* out) {
    if (!value.is_number() && !value.is_date()) {
      win32::PutValue(value, out);
      return;
    }
    constexpr double kLastDate = 2958465.99999;
    const double d = value.is_number() ? value.number() : value.date_serial();
    ::VariantInit(out);
    if (type == NumberType::kCurrency && SUCCEEDED(::VarCyFromR8(d, &out->cyVal))) {
      out->vt = VT_CY;
      return;
    }
    if (type == NumberType::kDate && d >= 0 && d <= kLastDate) {
      out->vt = VT_DATE;
      out->date = d;
      return;
    }
    out->vt = VT_R8;
    out->dblVal = d;
  }

  // Members that Excel types as Double (a range's position and size, a column's width) or as
  // Single (a shape's); VT_EMPTY for the others, whose whole numbers go as Long.
  static VARTYPE MeasureType(std::wstring_view type, std::wstring_view name) {
    const bool measure = name == L"Left" || name == L"Top" || name == L"Width" || name == L"Height";
    if (type == L"Range" && (measure || name == L"ColumnWidth")) return VT_R8;
    if (type == L"Shape" && measure) return VT_R4;
    return VT_EMPTY;
  }

  automation::model::ModelRef model_;
  ServerHooks& hooks_;
  std::atomic<ULONG> references_{1};
};

}  // namespace

IDispatch* Serve(automation::model::ModelRef model, ServerHooks& hooks) {
  return new ServedObject(std::move(model), hooks);
}

int LiveServedObjects() { return static_cast<int>(Live().size()); }

}  // namespace harumado::doubles
