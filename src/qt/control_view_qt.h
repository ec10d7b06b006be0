#pragma once
// The native window of one window model: a top-level Qt widget with a widget for each control,
// kept in step with the model, and the user's actions on it passed to the model's event entry
// points.
//
// Lifecycle: the window system creates the view and calls Create, which builds the widgets
// hidden and binds the view to the model; Destroy unbinds the model and hands the widgets to Qt
// for deletion once control is back in the event loop (a handler of the window itself may be
// running). The view is shared: a handler in progress keeps it alive until it returns.
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/ui/window.h"
#include "qt/pictures_qt.h"
#include "qt/program_events_qt.h"

namespace harumado::qt {

class ControlViewQt final : public QObject,
                            public ui::ControlView,
                            public std::enable_shared_from_this<ControlViewQt> {
 public:
  ControlViewQt(ui::Window& model, ProgramEvents& events);
  ~ControlViewQt() override;
  ControlViewQt(const ControlViewQt&) = delete;
  ControlViewQt& operator=(const ControlViewQt&) = delete;

  // Builds the native window and its controls, hidden, and binds this view to the model.
  void Create();
  // Unbinds the model and removes the native window; later events reach nothing.
  void Destroy();
  QWidget* widget() const { return window_; }
  bool alive() const { return model_ != nullptr; }
  // The display scale the window is laid out for.
  int dpi() const { return dpi_; }
  // After the window was shown: the latest focus request of its controls takes effect.
  void ApplyPendingFocus();
  // The outer rectangle (with the window manager's frame); the size its layout has.
  QRect OuterRect() const;
  // Puts the frame's left-top there. While the window manager has not framed the window yet,
  // the client area goes there and the frame follows once the window has one.
  void MoveOuter(QPoint left_top);
  // The window may stand on a screen of another scale now: if so it is laid out again, its
  // left-top kept.
  void CheckDpi();

  void OnControlChanged(ui::Control& control, ui::Property property) override;

  // What the window shows, as "Form1.Text1.text=..." lines (control_view_report_qt.cpp).
  void Describe(QString& out) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Native {
    ui::Control* model = nullptr;
    QWidget* widget = nullptr;       // none for timers
    QTimer* timer = nullptr;         // timers only
    bool pressing = false;           // between the mouse press and release
    bool selection_changed = false;  // the program set the selection during the press
    bool tick_pending = false;       // a tick waits in the program's events
  };

  void CreateControls();
  QWidget* CreateWidget(Native& native);
  void Layout();
  void ApplyColors(Native& native);
  void ApplyLook(Native& native);
  void WriteText(Native& native);
  void WriteSelection(Native& native);
  void UpdateTimer(Native& native);
  void Tick(std::size_t index);
  void FocusNative(ui::Control& control);
  void ConnectSignals(Native& native);

  bool HandleWindowEvent(QEvent* event);
  bool HandleKey(Native& native, QObject* watched, QEvent* event);
  bool HandleButtonMouse(Native& native, QObject* watched, QEvent* event);
  bool HandleFieldMouse(Native& native, QObject* watched, QEvent* event);
  void ReportEditedText(Native& native);
  void Forward(QObject* watched, QEvent* event);
  void HandleSliderAction(Native& native, int action);

  Native* FindNative(const QObject* widget);
  Native* FindNative(const ui::Control& control);
  QColor BackColor(const ui::Control& control) const;
  QColor ForeColor(const ui::Control& control) const;
  QColor WindowBackColor() const;

  ui::Window* model_;
  ProgramEvents& events_;
  QPointer<QWidget> window_;
  int dpi_ = 96;
  std::vector<Native> natives_;
  PictureCache pictures_;
  std::function<void(ui::Control&)> focus_recorder_;  // the program's focus keeper
  ui::Control* requested_focus_ = nullptr;
  bool writing_ = false;                 // the model's state is being written to a widget
  QObject* suppressed_click_ = nullptr;  // a button whose own click signal is not passed on
  std::optional<QPoint> outer_target_;   // where the frame goes once the window has one
  bool close_pending_ = false;           // a close request waits in the program's events
  std::vector<QObject*> forwarding_;     // widgets whose event this view passes on to them
};

}  // namespace harumado::qt
