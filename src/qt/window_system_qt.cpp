#include "qt/window_system_qt.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <cmath>

#include "platform/ui/dpi_scale.h"
#include "runtime/automation_error.h"

namespace harumado::qt {
namespace {

constexpr std::int32_t kInvalidHandle = 5;  // invalid procedure call or argument

platform::Rect ToRect(const QRect& r) {
  return platform::Rect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

}  // namespace

WindowSystemQt::WindowSystemQt() {
  for (QScreen* screen : QGuiApplication::screens()) WatchScreen(screen);
  QObject::connect(qApp, &QGuiApplication::screenAdded, &screens_context_,
                   [this](QScreen* screen) { WatchScreen(screen); });
}

WindowSystemQt::~WindowSystemQt() {
  auto views = std::move(views_);
  for (auto& [handle, view] : views) view->Destroy();
  // The widgets handed to Qt for deletion go now, while Qt is still there.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A screen whose scale changes lays out again the windows that stand on it.
void WindowSystemQt::WatchScreen(QScreen* screen) {
  QObject::connect(screen, &QScreen::logicalDotsPerInchChanged, &screens_context_, [this] {
    auto views = views_;
    for (auto& [handle, view] : views) view->CheckDpi();
  });
}

ControlViewQt* WindowSystemQt::Find(platform::WindowHandle window) {
  auto it = views_.find(window);
  return it == views_.end() ? nullptr : it->second.get();
}

QWidget* WindowSystemQt::WidgetOf(platform::WindowHandle window) {
  ControlViewQt* view = Find(window);
  return view != nullptr ? view->widget() : nullptr;
}

std::wstring WindowSystemQt::DescribeWindows() const {
  QString out;
  for (const auto& [handle, view] : views_) view->Describe(out);
  if (message_box_) {
    out += QStringLiteral("MessageBox.caption=") + message_box_->windowTitle() +
           QStringLiteral("\nMessageBox.text=") + message_box_->text() + QLatin1Char('\n');
  }
  return out.toStdWString();
}

platform::WindowHandle WindowSystemQt::Create(ui::Window& model) {
  auto view = std::make_shared<ControlViewQt>(model, events_);
  view->Create();
  const platform::WindowHandle handle = next_handle_;
  next_handle_ += 0x10;
  views_[handle] = view;
  return handle;
}

// A view that is handling an event keeps itself alive until the handler has returned.
void WindowSystemQt::Destroy(platform::WindowHandle window) {
  auto it = views_.find(window);
  if (it == views_.end()) return;
  std::shared_ptr<ControlViewQt> view = std::move(it->second);
  views_.erase(it);
  view->Destroy();
  if (on_destroyed) on_destroyed(window);
}

// Shown as on Windows: the window comes to the front and is activated.
void WindowSystemQt::Show(platform::WindowHandle window) {
  ControlViewQt* view = Find(window);
  if (view == nullptr || view->widget() == nullptr) return;
  view->widget()->show();
  view->widget()->raise();
  view->widget()->activateWindow();
  view->ApplyPendingFocus();
}

void WindowSystemQt::Hide(platform::WindowHandle window) {
  if (QWidget* widget = WidgetOf(window)) widget->hide();
}

// The outer rectangle: with the window manager's frame once the window has one.
platform::Rect WindowSystemQt::GetWindowRect(platform::WindowHandle window) {
  ControlViewQt* view = Find(window);
  if (view == nullptr || view->widget() == nullptr) {
    throw rt::AutomationError(kInvalidHandle, L"GetWindowRect");
  }
  return ToRect(view->OuterRect());
}

void WindowSystemQt::MoveWindow(platform::WindowHandle window, int left, int top, int, int,
                                bool repaint) {
  ControlViewQt* view = Find(window);
  if (view == nullptr || view->widget() == nullptr) return;
  view->MoveOuter(QPoint(left, top));
  if (repaint) view->widget()->update();
}

// Topmost is the window manager's "above" state, changed on the native window in place (a
// change of the widget's flags would hide and re-create a shown window). A shown window comes
// to the front of its band and is activated; a hidden one is not activated, so the keyboard
// focus stays where the user has it.
void WindowSystemQt::SetTopmost(platform::WindowHandle window, bool topmost) {
  QWidget* widget = WidgetOf(window);
  if (widget == nullptr) return;
  Qt::WindowFlags flags = widget->windowFlags();
  flags.setFlag(Qt::WindowStaysOnTopHint, topmost);
  if (flags != widget->windowFlags()) {
    widget->overrideWindowFlags(flags);
    if (QWindow* handle = widget->windowHandle()) handle->setFlags(flags);
  }
  if (widget->isVisible()) {
    widget->raise();
    widget->activateWindow();
  }
}

void WindowSystemQt::SetForegroundWindow(platform::WindowHandle window) {
  if (QWidget* widget = WidgetOf(window)) {
    widget->raise();
    widget->activateWindow();
  } else if (on_foreign_foreground) {
    on_foreign_foreground(window);
  }
}

void WindowSystemQt::PostMessage(platform::WindowHandle window, std::uint32_t message,
                                 std::uintptr_t wparam, std::intptr_t) {
  if (Find(window) == nullptr && on_foreign_message) on_foreign_message(window, message, wparam);
}

// The buffer of max_chars characters holds the terminating zero too.
std::wstring WindowSystemQt::GetWindowText(platform::WindowHandle window, int max_chars) {
  if (max_chars <= 0) return L"";
  std::wstring title;
  if (QWidget* widget = WidgetOf(window)) {
    title = widget->windowTitle().toStdWString();
  } else if (!foreign_title || !foreign_title(window, title)) {
    return L"";
  }
  if (static_cast<int>(title.size()) > max_chars - 1) {
    title.resize(static_cast<std::size_t>(max_chars - 1));
  }
  return title;
}

// The box is modal to the whole program and has no owner window: a window destroyed while it
// is open (the program ending) cannot take the box with it in the middle of its loop. Its loop
// is a dispatching point of the program.
void WindowSystemQt::MessageBox(const std::wstring& text, const std::wstring& title) {
  if (quitting_) return;
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdWString(title),
                  QString::fromStdWString(text), QMessageBox::Ok);
  box.setWindowModality(Qt::ApplicationModal);
  box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  QPointer<QMessageBox> outer = message_box_;
  message_box_ = &box;
  box.exec();
  message_box_ = outer;
}

// The nested dispatch: every pending event is handled, then control returns to the running
// procedure. Once the program ends nothing more is dispatched.
void WindowSystemQt::DoEvents() {
  if (quitting_) return;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  if (!quitting_) events_.RunPending();
}

// The program waits without taking an event: user input stays in Qt's queue (the loop excludes
// it), and timer ticks, close requests and the other services' notifications wait in the
// program's events. Only Qt's own work goes on meanwhile: the windows are exposed and painted
// as soon as they need it.
void WindowSystemQt::Sleep(int ms) {
  if (ms <= 0) {
    QThread::yieldCurrentThread();
    return;
  }
  events_.Hold();
  QEventLoop loop;
  QTimer end;
  end.setSingleShot(true);
  end.setTimerType(Qt::PreciseTimer);
  QObject::connect(&end, &QTimer::timeout, &loop, &QEventLoop::quit);
  end.start(ms);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  events_.Release();
}

std::vector<platform::Rect> WindowSystemQt::Monitors() {
  std::vector<platform::Rect> monitors;
  QScreen* primary = QGuiApplication::primaryScreen();
  if (primary != nullptr) monitors.push_back(ToRect(primary->geometry()));
  for (QScreen* screen : QGuiApplication::screens()) {
    if (screen != primary) monitors.push_back(ToRect(screen->geometry()));
  }
  return monitors;
}

int WindowSystemQt::Dpi(platform::WindowHandle window) {
  if (ControlViewQt* view = Find(window)) return view->dpi();
  QScreen* primary = QGuiApplication::primaryScreen();
  const int dpi =
      primary != nullptr ? static_cast<int>(std::lround(primary->logicalDotsPerInch())) : 0;
  return dpi > 0 ? dpi : ui::kBaseDpi;
}

// Widgets handed to Qt for deletion go whenever the loop is at its top level, where no handler
// of theirs runs.
int WindowSystemQt::Run(const std::function<void()>& on_idle) {
  for (;;) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (!quitting_) events_.RunPending();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (quitting_) return exit_code_;
    on_idle();
    if (quitting_) return exit_code_;
    if (!events_.has_pending()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
}

void WindowSystemQt::Quit(int exit_code) {
  if (quitting_) return;
  quitting_ = true;
  exit_code_ = exit_code;
  if (message_box_) message_box_->done(QMessageBox::Ok);
}

}  // namespace harumado::qt
