// The application: a LibreOffice reached over its pipe, with its documents and windows.
#include <unistd.h>

#include <com/sun/star/awt/SystemDependentXWindow.hpp>
#include <com/sun/star/awt/XSystemDependentWindowPeer.hpp>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XFrames.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/lang/SystemDependent.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>
#include <vector>

#include "calc/calc_objects.h"
#include "calc/office_connection.h"
#include "runtime/offset_argument.h"

namespace harumado::calc {
namespace {

// ActiveWindow.RangeSelection: the view's selection, selected again as it was.
class CalcRange final : public platform::ExcelRange {
 public:
  CalcRange(OfficeRef office, Reference<css::view::XSelectionSupplier> view,
            css::uno::Any selection)
      : office_(std::move(office)), view_(std::move(view)), selection_(std::move(selection)) {}
  void Select() override {
    Uno([&] { view_->select(selection_); });
  }

 private:
  OfficeRef office_;
  Reference<css::view::XSelectionSupplier> view_;
  css::uno::Any selection_;
};

class CalcApplication final : public platform::ExcelApplication {
 public:
  // An application that CreateObject gave opens its workbooks hidden until it is made visible,
  // as a started Excel is hidden (also when it reached a running LibreOffice: the workbooks of
  // the create step never show).
  CalcApplication(OfficeRef office, bool visible) : office_(std::move(office)), visible_(visible) {}

  // Shows or hides the windows of every open document; documents opened later follow.
  void SetVisible(bool visible) override {
    visible_ = visible;
    Uno([&] {
      const auto frames = office_->desktop->getFrames();
      for (sal_Int32 i = 0; i < frames->getCount(); ++i) {
        Reference<css::frame::XFrame> frame(frames->getByIndex(i), css::uno::UNO_QUERY);
        if (frame.is() && frame->getContainerWindow().is()) {
          frame->getContainerWindow()->setVisible(visible);
        }
      }
    });
  }

  // Calc's API never prompts (SaveAs overwrites): nothing to switch.
  void SetDisplayAlerts(bool) override {}

  // An open workbook is activated and left as it is; a missing or unreadable file fails with
  // 1004.
  std::unique_ptr<platform::ExcelWorkbook> OpenWorkbook(const std::wstring& path) override {
    const rtl::OUString url = FileUrl(path);
    if (url.isEmpty()) Refuse();
    if (Document open = OpenDocument(url); open.is()) {
      Activate(open);
      return MakeCalcWorkbook(office_, open);
    }
    return MakeCalcWorkbook(office_, Load(url));
  }

  std::unique_ptr<platform::ExcelWorkbook> AddWorkbook() override {
    return MakeCalcWorkbook(office_, Load("private:factory/scalc"));
  }

  // Ends the LibreOffice that the host started, and waits (bounded) until it no longer answers
  // on the pipe, so that the next CreateObject starts a new one instead of reaching the ending
  // one. One that was running before is the user's and stays: the workbooks this program added
  // to it were closed already.
  void Quit() override {
    if (!office_->started) return;
    try {
      office_->desktop->terminate();
    } catch (const css::lang::DisposedException&) {
      // The bridge went down with the office, which is what was asked for.
    } catch (const css::uno::RuntimeException& e) {
      auto error = ErrorOf(e);
      if (error.number() != rt::err::kServerUnavailable) throw error;
    }
    WaitUntilGone(office_->pipe_name, kQuitTimeoutMs);
  }

  // The X window of the active document's frame; 0 without one (headless, or no document).
  platform::WindowHandle Hwnd() override {
    return Uno([&]() -> platform::WindowHandle {
      const auto frame = office_->desktop->getCurrentFrame();
      if (!frame.is()) return 0;
      Reference<css::awt::XSystemDependentWindowPeer> peer(frame->getContainerWindow(),
                                                           css::uno::UNO_QUERY);
      if (!peer.is()) return 0;
      css::uno::Sequence<sal_Int8> process(16);
      const css::uno::Any handle =
          peer->getWindowHandle(process, css::lang::SystemDependent::SYSTEM_XWINDOW);
      css::awt::SystemDependentXWindow window;
      if (!(handle >>= window)) return 0;
      return static_cast<platform::WindowHandle>(window.WindowHandle);
    });
  }

  // Text first (code 0), then a picture as Excel lists a bitmap (9 and 2).
  std::vector<int> ClipboardFormats() override {
    std::vector<int> formats;
    if (office_->clipboard->Text()) formats.push_back(platform::kClipboardFormatText);
    if (office_->clipboard->Picture()) {
      formats.push_back(kClipboardFormatBitmap);
      formats.push_back(kClipboardFormatPicture);
    }
    return formats;
  }

  std::unique_ptr<platform::ExcelSheet> ActiveSheet() override {
    Document document = ActiveDocument(*office_);
    if (!document.is()) return nullptr;
    return MakeCalcSheet(office_, std::move(document));
  }

  double GetActiveCell(platform::ActiveCellProperty property) override {
    const Document document = RequireDocument();
    const CellPosition at = ActiveCellOf(document);
    switch (property) {
      case platform::ActiveCellProperty::kRow:
        return at.row + 1;
      case platform::ActiveCellProperty::kColumn:
        return at.column + 1;
      default:
        break;
    }
    const CellBox box = BoxOf(CellAt(ActiveSheetOf(document), at));
    switch (property) {
      case platform::ActiveCellProperty::kLeft:
        return box.left;
      case platform::ActiveCellProperty::kTop:
        return box.top;
      case platform::ActiveCellProperty::kWidth:
        return box.width;
      default:
        return box.height;
    }
  }

  // A target outside the sheet fails with 1004, as in Excel.
  void SelectOffset(std::int16_t rows, const rt::Value& columns) override {
    const Document document = RequireDocument();
    const CellPosition at = ActiveCellOf(document);
    const std::int64_t row = static_cast<std::int64_t>(at.row) + rows;
    const std::int64_t column = static_cast<std::int64_t>(at.column) + rt::OffsetArgument(columns);
    if (row < 0 || row >= kSheetRows || column < 0 || column >= kSheetColumns) Refuse();
    SelectCell(document,
               CellPosition{static_cast<std::int32_t>(column), static_cast<std::int32_t>(row)});
  }

  std::unique_ptr<platform::ExcelRange> RangeSelection() override {
    const Document document = ActiveDocument(*office_);
    if (!document.is()) return nullptr;
    return Uno([&]() -> std::unique_ptr<platform::ExcelRange> {
      Reference<css::frame::XModel> model(document, css::uno::UNO_QUERY_THROW);
      Reference<css::view::XSelectionSupplier> view(model->getCurrentController(),
                                                    css::uno::UNO_QUERY);
      if (!view.is()) return nullptr;
      return std::make_unique<CalcRange>(office_, view, view->getSelection());
    });
  }

 private:
  static constexpr int kQuitTimeoutMs = 20000;
  static constexpr int kClipboardFormatBitmap = 9;
  static constexpr int kClipboardFormatPicture = 2;

  // Without a workbook Excel has no active cell: error 91.
  Document RequireDocument() {
    Document document = ActiveDocument(*office_);
    if (!document.is()) throw rt::AutomationError(rt::err::kObjectNotSet);
    return document;
  }

  Document OpenDocument(const rtl::OUString& url) {
    return Uno([&] {
      const auto components = office_->desktop->getComponents()->createEnumeration();
      while (components->hasMoreElements()) {
        Reference<css::frame::XModel> model(components->nextElement(), css::uno::UNO_QUERY);
        if (model.is() && model->getURL() == url) {
          return Document(model, css::uno::UNO_QUERY);
        }
      }
      return Document();
    });
  }

  void Activate(const Document& document) {
    Uno([&] {
      Reference<css::frame::XModel> model(document, css::uno::UNO_QUERY_THROW);
      const auto controller = model->getCurrentController();
      if (!controller.is()) return;
      const auto frame = controller->getFrame();
      frame->activate();
      if (visible_ && frame->getContainerWindow().is()) {
        frame->getContainerWindow()->setVisible(true);
      }
    });
  }

  Document Load(const rtl::OUString& url) {
    return Uno([&] {
      Reference<css::frame::XComponentLoader> loader(office_->desktop, css::uno::UNO_QUERY_THROW);
      Document document(
          loader->loadComponentFromURL(url, "_blank", 0,
                                       SequenceOf({Argument("Hidden", css::uno::Any(!visible_))})),
          css::uno::UNO_QUERY);
      if (!document.is()) Refuse();
      return document;
    });
  }

  OfficeRef office_;
  bool visible_;
};

}  // namespace

std::unique_ptr<platform::ExcelApplication> MakeCalcApplication(OfficeRef office, bool visible) {
  return std::make_unique<CalcApplication>(std::move(office), visible);
}

}  // namespace harumado::calc
