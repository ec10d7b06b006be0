// A worksheet and its drawing collections: Paste, Pictures, Shapes and Shape, and the ways to
// its ranges (Cells, Range, Rows, Columns).
#include "automation/model/model_objects.h"
#include "automation/model/model_support.h"
#include "runtime/conversions.h"

namespace harumado::automation::model {
namespace {

class PicturesModel final : public ModelObject {
 public:
  explicit PicturesModel(SheetRef sheet) : sheet_(std::move(sheet)) {}
  std::wstring_view type_name() const override { return L"Pictures"; }

  Variant Handle(std::wstring_view name, CallKind kind, Arguments) override {
    if (SameName(name, L"Paste") && IsMethod(kind)) {
      sheet_->PastePicture();
      return {};
    }
    NotSupported();
  }

 private:
  SheetRef sheet_;
};

class ShapeModel final : public ModelObject {
 public:
  ShapeModel(SheetRef sheet, int index) : sheet_(std::move(sheet)), index_(index) {}
  std::wstring_view type_name() const override { return L"Shape"; }

  // The geometry and anchoring are written; LockAspectRatio takes msoTrue (-1) or msoFalse (0).
  Variant Handle(std::wstring_view name, CallKind kind, Arguments args) override {
    static constexpr std::pair<std::wstring_view, platform::ShapeProperty> kProperties[] = {
        {L"LockAspectRatio", platform::ShapeProperty::kLockAspectRatio},
        {L"Placement", platform::ShapeProperty::kPlacement},
        {L"Left", platform::ShapeProperty::kLeft},
        {L"Top", platform::ShapeProperty::kTop},
        {L"Width", platform::ShapeProperty::kWidth},
        {L"Height", platform::ShapeProperty::kHeight}};
    for (const auto& [property_name, property] : kProperties) {
      if (SameName(name, property_name) && IsWrite(kind, args)) {
        sheet_->SetShapeProperty(index_, property, NumberArgument(args, 0));
        return {};
      }
    }
    NotSupported();
  }

 private:
  SheetRef sheet_;
  int index_;
};

class ShapesModel final : public ModelObject {
 public:
  explicit ShapesModel(SheetRef sheet) : sheet_(std::move(sheet)) {}
  std::wstring_view type_name() const override { return L"Shapes"; }

  Variant Handle(std::wstring_view name, CallKind kind, Arguments args) override {
    if (SameName(name, L"Count") && IsRead(kind, args)) {
      return rt::Value::Number(sheet_->ShapeCount());
    }
    if (SameName(name, L"Item") && kind == CallKind::kGet) {
      RequireCount(args, 1);
      return ModelRef(std::make_shared<ShapeModel>(sheet_, LongArgument(args, 0)));
    }
    NotSupported();
  }

 private:
  SheetRef sheet_;
};

class WorksheetModel final : public ModelObject {
 public:
  explicit WorksheetModel(SheetRef sheet) : sheet_(std::move(sheet)) {}
  std::wstring_view type_name() const override { return L"Worksheet"; }

  // Cells, Shapes and Columns with arguments pass them on to the collection's Item.
  Variant Handle(std::wstring_view name, CallKind kind, Arguments args) override {
    if (SameName(name, L"Paste") && IsMethod(kind)) {
      sheet_->Paste();
      return {};
    }
    if (SameName(name, L"Pictures") && IsRead(kind, args)) {
      return ModelRef(std::make_shared<PicturesModel>(sheet_));
    }
    if (kind != CallKind::kGet) NotSupported();
    if (SameName(name, L"Shapes")) {
      if (args.empty()) return ModelRef(std::make_shared<ShapesModel>(sheet_));
      RequireCount(args, 1);
      return ModelRef(std::make_shared<ShapeModel>(sheet_, LongArgument(args, 0)));
    }
    if (SameName(name, L"Cells")) {
      if (args.empty()) return ServeCells(sheet_);
      RequireCount(args, 2);
      return ServeCell(sheet_, LongArgument(args, 0), LongArgument(args, 1));
    }
    if (SameName(name, L"Range")) {
      RequireCount(args, 1);
      return ServeRangeAddress(sheet_, rt::TextForm(ValueArgument(args, 0)));
    }
    if (SameName(name, L"Rows") && args.empty()) return ServeRows(sheet_);
    if (SameName(name, L"Columns")) {
      RequireCount(args, 1);
      return ServeColumn(sheet_, LongArgument(args, 0));
    }
    NotSupported();
  }

 private:
  SheetRef sheet_;
};

}  // namespace

ModelRef ServeWorksheet(SheetRef sheet) {
  return std::make_shared<WorksheetModel>(std::move(sheet));
}

}  // namespace harumado::automation::model
