#include "qt/control_view_qt.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextCursor>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/ui/dpi_scale.h"
#include "platform/ui/event_guard.h"
#include "qt/fonts_qt.h"
#include "qt/owner_draw_qt.h"
#include "runtime/automation_error.h"

namespace harumado::qt {
namespace {

using ui::ControlKind;

QColor ToQColor(const ui::Color& c) { return QColor(c.r, c.g, c.b); }

bool IsButtonLike(ControlKind kind) {
  return kind == ControlKind::kButton || kind == ControlKind::kGraphicalButton ||
         kind == ControlKind::kCheckBox;
}

// Line breaks are "\r\n" in the program's texts and "\n" in Qt's.
QString NativeText(const std::wstring& text) {
  QString q = QString::fromStdWString(text);
  q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return q;
}

std::wstring ModelText(const QString& native) {
  QString q = native;
  q.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return q.toStdWString();
}

// A position in the program's text (counting "\r\n" as two) from one in Qt's text.
int ModelPosition(const QString& native, int position) {
  position = std::clamp(position, 0, static_cast<int>(native.size()));
  return position + static_cast<int>(native.left(position).count(QLatin1Char('\n')));
}

// A position in Qt's text from one in the program's text.
int NativePosition(const std::wstring& text, int position) {
  position = std::clamp(position, 0, static_cast<int>(text.size()));
  int native = 0;
  for (int i = 0; i < position; ++i) {
    if (text[static_cast<std::size_t>(i)] == L'\r' &&
        static_cast<std::size_t>(i) + 1 < text.size() &&
        text[static_cast<std::size_t>(i) + 1] == L'\n') {
      continue;  // the pair is one character in Qt's text
    }
    ++native;
  }
  return native;
}

QColor SystemButtonFace() { return QApplication::palette().color(QPalette::Button); }
QColor SystemWindow() { return QApplication::palette().color(QPalette::Base); }

// The screen's logical DPI, the display scale (96 is 100 %).
int DpiOf(const QScreen* screen) {
  if (screen == nullptr) return ui::kBaseDpi;
  const int dpi = static_cast<int>(std::lround(screen->logicalDotsPerInch()));
  return dpi > 0 ? dpi : ui::kBaseDpi;
}

// The top-level widget: its back colour fills it; the frame is fixed.
Qt::WindowFlags FlagsFor(const ui::WindowSpec& spec) {
  if (spec.frame == ui::Frame::kBorderless) {
    // The usage window: no frame, and out of the task bar as a tool window.
    return Qt::Tool | Qt::FramelessWindowHint;
  }
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (spec.min_button) flags |= Qt::WindowMinimizeButtonHint;
  if (spec.max_button) flags |= Qt::WindowMaximizeButtonHint;
  return flags;
}

}  // namespace

ControlViewQt::ControlViewQt(ui::Window& model, ProgramEvents& events)
    : model_(&model), events_(events) {}

ControlViewQt::~ControlViewQt() {
  if (window_ != nullptr) Destroy();
}

// The window is created at the DPI of the screen it first stands on; a window with a first
// position puts its client area's corner there.
void ControlViewQt::Create() {
  const ui::WindowSpec& spec = model_->spec();
  window_ = new QWidget(nullptr, FlagsFor(spec));
  window_->setAttribute(Qt::WA_DeleteOnClose, false);
  window_->setWindowTitle(QString::fromStdWString(spec.caption));
  window_->setAutoFillBackground(true);
  QPalette palette = window_->palette();
  palette.setColor(QPalette::Window, WindowBackColor());
  window_->setPalette(palette);
  if (!spec.icon.empty()) window_->setWindowIcon(LoadIcon(spec.icon));
  window_->installEventFilter(this);

  dpi_ = DpiOf(QGuiApplication::primaryScreen());
  std::optional<QPoint> client_at;
  if (spec.client_left && spec.client_top) {
    client_at = QPoint(ui::TwipsToPixels(*spec.client_left, dpi_),
                       ui::TwipsToPixels(*spec.client_top, dpi_));
    if (QScreen* there = QGuiApplication::screenAt(*client_at)) dpi_ = DpiOf(there);
  } else if (spec.frame == ui::Frame::kBorderless) {
    client_at = QPoint(0, 0);
  }

  // Focus requests of the model's controls move the native focus too.
  focus_recorder_ = model_->ForwardFocusRequests([weak = weak_from_this()](ui::Control& c) {
    if (auto view = weak.lock()) view->FocusNative(c);
  });
  model_->set_view(this);

  CreateControls();
  Layout();
  // The client area's corner, not the frame's, goes to the first position.
  if (client_at) window_->setGeometry(QRect(*client_at, window_->size()));
  // The native window exists from now on (hidden), so that its screen can be followed.
  window_->winId();
  if (QWindow* handle = window_->windowHandle()) {
    connect(handle, &QWindow::screenChanged, this, [this](QScreen*) { CheckDpi(); });
  }
  CheckDpi();
}

// Qt deletes the widgets once control is back in its event loop: the event being handled may
// belong to one of them.
void ControlViewQt::Destroy() {
  if (model_ != nullptr && model_->view() == this) model_->set_view(nullptr);
  model_ = nullptr;
  requested_focus_ = nullptr;
  for (Native& n : natives_) {
    if (n.timer != nullptr) n.timer->stop();
    n.model = nullptr;
  }
  if (window_ != nullptr) {
    window_->removeEventFilter(this);
    window_->hide();
    window_->deleteLater();
    window_ = nullptr;
  }
}

// Controls are created in tab order, which is also the order of the Tab key.
void ControlViewQt::CreateControls() {
  const auto& controls = model_->controls();
  natives_.reserve(controls.size());
  for (std::size_t i : model_->TabOrder()) {
    Native n;
    n.model = controls[i].get();
    natives_.push_back(n);
  }
  QWidget* previous = nullptr;
  for (std::size_t i = 0; i < natives_.size(); ++i) {
    Native& n = natives_[i];
    if (n.model->kind() == ControlKind::kTimer) {
      n.timer = new QTimer(this);
      n.timer->setTimerType(Qt::PreciseTimer);
      connect(n.timer, &QTimer::timeout, this, [this, i] { Tick(i); });
      UpdateTimer(n);
      continue;
    }
    n.widget = CreateWidget(n);
    n.widget->installEventFilter(this);
    if (auto* edit = qobject_cast<QPlainTextEdit*>(n.widget)) {
      edit->viewport()->installEventFilter(this);
    }
    n.widget->setEnabled(n.model->enabled());
    if (!n.model->tooltip().empty()) n.widget->setToolTip(NativeText(n.model->tooltip()));
    ApplyColors(n);
    ConnectSignals(n);
    if (n.widget->focusPolicy() != Qt::NoFocus) {
      if (previous != nullptr) QWidget::setTabOrder(previous, n.widget);
      previous = n.widget;
    }
  }
}

QWidget* ControlViewQt::CreateWidget(Native& n) {
  const ui::Control& c = *n.model;
  const ui::ControlSpec& spec = c.spec();
  switch (spec.kind) {
    case ControlKind::kTextField: {
      QWidget* field = nullptr;
      if (spec.multiline) {
        auto* edit = new QPlainTextEdit(window_);
        edit->setLineWrapMode(QPlainTextEdit::NoWrap);
        edit->setHorizontalScrollBarPolicy(spec.horizontal_scroll ? Qt::ScrollBarAlwaysOn
                                                                  : Qt::ScrollBarAlwaysOff);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setTabChangesFocus(false);
        edit->setPlainText(NativeText(c.text()));
        edit->setReadOnly(c.locked());
        field = edit;
      } else {
        auto* edit = new QLineEdit(window_);
        edit->setText(NativeText(c.text()));
        edit->setReadOnly(c.locked());
        field = edit;
      }
      // Half-width alphanumeric input: the input method is asked for Latin input only.
      if (spec.ime == ui::ImeMode::kHalfWidthAlphanumeric) {
        field->setInputMethodHints(Qt::ImhLatinOnly | Qt::ImhNoPredictiveText);
      }
      field->setFocusPolicy(Qt::StrongFocus);
      return field;
    }
    case ControlKind::kButton: {
      auto* button = new QPushButton(NativeText(c.text()), window_);
      button->setAutoDefault(false);
      button->setFocusPolicy(Qt::StrongFocus);
      return button;
    }
    case ControlKind::kGraphicalButton: {
      auto* button = new GraphicalButton(window_);
      button->setText(NativeText(c.text()));
      button->setAutoDefault(false);
      button->setFocusPolicy(Qt::StrongFocus);
      button->picture = pictures_.Get(spec.picture);
      return button;
    }
    case ControlKind::kCheckBox: {
      auto* box = new ProgramCheckBox(window_);
      if (!spec.box_only) box->setText(NativeText(c.text()));
      box->setChecked(c.value() != 0);
      box->setFocusPolicy(Qt::StrongFocus);
      return box;
    }
    case ControlKind::kLabel: {
      auto* label = new QLabel(window_);
      label->setTextFormat(Qt::PlainText);
      label->setWordWrap(true);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      label->setText(NativeText(c.text()));
      label->setFocusPolicy(Qt::NoFocus);
      return label;
    }
    case ControlKind::kSlider: {
      auto* bar = new QScrollBar(Qt::Horizontal, window_);
      bar->setRange(c.min(), c.max());
      bar->setSingleStep(1);
      bar->setPageStep(1);
      bar->setValue(c.value());
      bar->setFocusPolicy(Qt::StrongFocus);
      return bar;
    }
    case ControlKind::kPicture:
    case ControlKind::kImage: {
      auto* box = new PictureBox(window_);
      box->picture = pictures_.Get(spec.picture);
      box->setFocusPolicy(Qt::NoFocus);
      return box;
    }
    case ControlKind::kTimer:
      break;
  }
  return nullptr;
}

void ControlViewQt::ConnectSignals(Native& n) {
  ui::Control* c = n.model;
  const std::size_t index = static_cast<std::size_t>(&n - natives_.data());
  if (auto* edit = qobject_cast<QLineEdit*>(n.widget)) {
    connect(edit, &QLineEdit::textEdited, this, [this, index](const QString&) {
      if (alive() && !writing_) ReportEditedText(natives_[index]);
    });
  } else if (auto* text = qobject_cast<QPlainTextEdit*>(n.widget)) {
    connect(text, &QPlainTextEdit::textChanged, this, [this, index] {
      if (alive() && !writing_) ReportEditedText(natives_[index]);
    });
  } else if (auto* bar = qobject_cast<QScrollBar*>(n.widget)) {
    connect(bar, &QScrollBar::actionTriggered, this, [this, index](int action) {
      if (alive()) HandleSliderAction(natives_[index], action);
    });
  } else if (auto* button = qobject_cast<QAbstractButton*>(n.widget)) {
    // The keyboard's click (Space); a mouse click is raised at the release (HandleButtonMouse).
    connect(button, &QAbstractButton::clicked, this, [this, button, c] {
      if (!alive() || button == suppressed_click_ || writing_) return;
      auto keep = shared_from_this();
      ui::RunEventHandler([c] { c->UserClick(); });
    });
  }
}

// Positions, sizes and fonts in twips and points become pixels at the window's DPI. The frame
// is fixed: the client area has the layout's size and cannot be resized.
void ControlViewQt::Layout() {
  const ui::WindowSpec& spec = model_->spec();
  window_->setFixedSize(ui::TwipsToPixels(spec.client_width, dpi_),
                        ui::TwipsToPixels(spec.client_height, dpi_));
  for (Native& n : natives_) {
    if (n.widget == nullptr) continue;
    const ui::TwipsRect& r = n.model->spec().rect;
    const int left = ui::TwipsToPixels(r.left, dpi_);
    const int top = ui::TwipsToPixels(r.top, dpi_);
    const int right = ui::TwipsToPixels(r.left + r.width, dpi_);
    const int bottom = ui::TwipsToPixels(r.top + r.height, dpi_);
    n.widget->setGeometry(left, top, right - left, bottom - top);
    const auto& font = n.model->spec().font;
    n.widget->setFont(FontAt(font ? *font : DefaultWindowFont(), dpi_));
    if (auto* button = dynamic_cast<GraphicalButton*>(n.widget)) button->dpi = dpi_;
    if (auto* box = dynamic_cast<PictureBox*>(n.widget)) box->dpi = dpi_;
    n.widget->update();
  }
}

void ControlViewQt::CheckDpi() {
  if (!alive() || window_ == nullptr) return;
  const int dpi = DpiOf(window_->screen());
  if (dpi == dpi_) return;
  dpi_ = dpi;
  const QPoint at = window_->geometry().topLeft();
  Layout();
  window_->setGeometry(QRect(at, window_->size()));
}

QRect ControlViewQt::OuterRect() const {
  if (window_ == nullptr) return QRect();
  if (outer_target_) return QRect(*outer_target_, window_->size());
  return window_->frameGeometry();
}

// Qt places a window's client area exactly where it is told; the frame's offset from it is
// known once the window manager has framed the window.
void ControlViewQt::MoveOuter(QPoint left_top) {
  if (window_ == nullptr) return;
  const QPoint offset = window_->geometry().topLeft() - window_->frameGeometry().topLeft();
  window_->setGeometry(QRect(left_top + offset, window_->size()));
  const bool framed = model_ != nullptr && model_->spec().frame == ui::Frame::kFixedSingle;
  if (offset.isNull() && framed) {
    outer_target_ = left_top;
  } else {
    outer_target_.reset();
  }
}

// Controls without a colour of their own take the platform's colours for their kind.
QColor ControlViewQt::BackColor(const ui::Control& c) const {
  if (auto back = c.back_color()) return ToQColor(*back);
  switch (c.kind()) {
    case ControlKind::kTextField:
      return SystemWindow();
    case ControlKind::kPicture:
    case ControlKind::kImage:
      return WindowBackColor();
    default:
      return SystemButtonFace();
  }
}

QColor ControlViewQt::ForeColor(const ui::Control& c) const {
  if (auto fore = c.fore_color()) return ToQColor(*fore);
  return QApplication::palette().color(c.kind() == ControlKind::kTextField ? QPalette::Text
                                                                           : QPalette::ButtonText);
}

QColor ControlViewQt::WindowBackColor() const {
  const auto& back = model_->spec().back;
  return back ? ToQColor(*back) : SystemButtonFace();
}

void ControlViewQt::ApplyColors(Native& n) {
  const ui::Control& c = *n.model;
  QPalette palette = n.widget->palette();
  switch (c.kind()) {
    case ControlKind::kTextField:
      palette.setColor(QPalette::Base, BackColor(c));
      palette.setColor(QPalette::Text, ForeColor(c));
      n.widget->setPalette(palette);
      break;
    case ControlKind::kLabel:
    case ControlKind::kCheckBox:
      palette.setColor(QPalette::Window, BackColor(c));
      palette.setColor(QPalette::WindowText, ForeColor(c));
      n.widget->setPalette(palette);
      n.widget->setAutoFillBackground(true);
      break;
    case ControlKind::kGraphicalButton:
      if (auto* button = dynamic_cast<GraphicalButton*>(n.widget)) {
        button->back = BackColor(c);
        button->fore = ForeColor(c);
      }
      break;
    case ControlKind::kPicture:
    case ControlKind::kImage:
      if (auto* box = dynamic_cast<PictureBox*>(n.widget)) box->ground = BackColor(c);
      break;
    default:
      break;
  }
  n.widget->update();
}

void ControlViewQt::ApplyLook(Native& n) { ApplyColors(n); }

ControlViewQt::Native* ControlViewQt::FindNative(const QObject* widget) {
  if (widget == nullptr) return nullptr;
  for (Native& n : natives_) {
    if (n.widget == nullptr) continue;
    if (n.widget == widget) return &n;
    if (auto* edit = qobject_cast<QPlainTextEdit*>(n.widget)) {
      if (edit->viewport() == widget) return &n;
    }
  }
  return nullptr;
}

ControlViewQt::Native* ControlViewQt::FindNative(const ui::Control& control) {
  for (Native& n : natives_) {
    if (n.model == &control) return &n;
  }
  return nullptr;
}

// ---- model to native -------------------------------------------------------------------------

void ControlViewQt::OnControlChanged(ui::Control& control, ui::Property property) {
  if (!alive()) return;
  Native* n = FindNative(control);
  if (n == nullptr) return;
  if (n->widget == nullptr) {
    if (property == ui::Property::kEnabled || property == ui::Property::kInterval) UpdateTimer(*n);
    return;
  }
  const bool was_writing = std::exchange(writing_, true);
  switch (property) {
    case ui::Property::kText:
      WriteText(*n);
      break;
    case ui::Property::kValue:
      if (auto* box = qobject_cast<QCheckBox*>(n->widget)) {
        box->setChecked(control.value() != 0);
      } else if (auto* bar = qobject_cast<QScrollBar*>(n->widget)) {
        bar->setValue(control.value());
      }
      break;
    case ui::Property::kRange:
      if (auto* bar = qobject_cast<QScrollBar*>(n->widget)) {
        bar->setRange(control.min(), control.max());
        bar->setValue(control.value());
      }
      break;
    case ui::Property::kBackColor:
    case ui::Property::kForeColor:
      ApplyLook(*n);
      break;
    case ui::Property::kTooltip:
      n->widget->setToolTip(NativeText(control.tooltip()));
      break;
    case ui::Property::kLocked:
      if (auto* edit = qobject_cast<QLineEdit*>(n->widget)) edit->setReadOnly(control.locked());
      if (auto* edit = qobject_cast<QPlainTextEdit*>(n->widget)) {
        edit->setReadOnly(control.locked());
      }
      break;
    case ui::Property::kSelection:
      if (n->pressing) n->selection_changed = true;
      WriteSelection(*n);
      break;
    case ui::Property::kEnabled:
      n->widget->setEnabled(control.enabled());
      break;
    case ui::Property::kInterval:
      break;
  }
  writing_ = was_writing;
}

void ControlViewQt::WriteText(Native& n) {
  const QString text = NativeText(n.model->text());
  if (auto* edit = qobject_cast<QLineEdit*>(n.widget)) {
    if (edit->text() != text) edit->setText(text);
    WriteSelection(n);
  } else if (auto* edit = qobject_cast<QPlainTextEdit*>(n.widget)) {
    if (edit->toPlainText() != text) edit->setPlainText(text);
    WriteSelection(n);
  } else if (auto* button = qobject_cast<QAbstractButton*>(n.widget)) {
    if (!n.model->spec().box_only) button->setText(text);
    button->update();
  } else if (auto* label = qobject_cast<QLabel*>(n.widget)) {
    label->setText(text);
  }
}

// The caret stands at the selection's end, as after EM_SETSEL.
void ControlViewQt::WriteSelection(Native& n) {
  const std::wstring& text = n.model->text();
  const int start = NativePosition(text, n.model->sel_start());
  const int end = NativePosition(text, n.model->sel_start() + n.model->sel_length());
  if (auto* edit = qobject_cast<QLineEdit*>(n.widget)) {
    if (end > start) {
      edit->setSelection(start, end - start);
    } else {
      edit->setCursorPosition(start);
    }
  } else if (auto* edit = qobject_cast<QPlainTextEdit*>(n.widget)) {
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
  }
}

// A timer ticks while it is enabled and has an interval; setting either starts it again.
void ControlViewQt::UpdateTimer(Native& n) {
  const ui::Control& c = *n.model;
  if (n.timer == nullptr) return;
  if (c.enabled() && c.interval() > 0) {
    n.timer->start(c.interval());
  } else {
    n.timer->stop();
  }
}

// A tick goes to the program's events, at most one per timer, as a timer message that waits in
// the queue is not doubled.
void ControlViewQt::Tick(std::size_t index) {
  if (!alive() || natives_[index].tick_pending) return;
  natives_[index].tick_pending = true;
  std::weak_ptr<ControlViewQt> weak = weak_from_this();
  events_.Post([weak, index] {
    auto view = weak.lock();
    if (!view || !view->alive()) return;
    Native& n = view->natives_[index];
    n.tick_pending = false;
    ui::Control* timer = n.model;
    ui::RunEventHandler([timer] { timer->UserTick(); });
  });
}

void ControlViewQt::FocusNative(ui::Control& control) {
  if (!alive()) return;
  requested_focus_ = &control;
  Native* n = FindNative(control);
  if (n != nullptr && n->widget != nullptr && window_->isVisible()) {
    n->widget->setFocus(Qt::OtherFocusReason);
  }
}

void ControlViewQt::ApplyPendingFocus() {
  if (requested_focus_ != nullptr) FocusNative(*requested_focus_);
}

// ---- native to model -------------------------------------------------------------------------

// Sends the event on to the widget's own handling (and the filters Qt itself installed), past
// this filter.
void ControlViewQt::Forward(QObject* watched, QEvent* event) {
  forwarding_.push_back(watched);
  QCoreApplication::sendEvent(watched, event);
  forwarding_.pop_back();
}

bool ControlViewQt::eventFilter(QObject* watched, QEvent* event) {
  if (!alive()) return false;
  if (std::find(forwarding_.begin(), forwarding_.end(), watched) != forwarding_.end()) {
    return false;
  }
  // The view stays alive while it handles an event, even if the handler destroys the window.
  std::shared_ptr<ControlViewQt> keep = shared_from_this();
  if (watched == window_) return HandleWindowEvent(event);
  Native* n = FindNative(watched);
  if (n == nullptr) return false;
  ui::Control* c = n->model;
  switch (event->type()) {
    case QEvent::FocusIn:
      if (focus_recorder_) focus_recorder_(*c);
      return false;
    case QEvent::KeyPress:
    case QEvent::InputMethod:
      if (c->kind() == ControlKind::kTextField) return HandleKey(*n, watched, event);
      return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
      if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) return false;
      if (IsButtonLike(c->kind())) return HandleButtonMouse(*n, watched, event);
      if (c->kind() == ControlKind::kTextField) return HandleFieldMouse(*n, watched, event);
      return false;
    default:
      return false;
  }
}

// The close box asks the program to close the window; the request waits for the program's next
// dispatch, as the close message would.
bool ControlViewQt::HandleWindowEvent(QEvent* event) {
  // The frame is known once the window manager has reparented the window, which it has done
  // by the time the window is first painted or moved.
  const bool framing_news = event->type() == QEvent::Move || event->type() == QEvent::Paint;
  if (framing_news && outer_target_) {
    const QPoint offset = window_->geometry().topLeft() - window_->frameGeometry().topLeft();
    if (!offset.isNull()) {
      const QPoint target = *outer_target_;
      outer_target_.reset();
      if (window_->frameGeometry().topLeft() != target) {
        window_->setGeometry(QRect(target + offset, window_->size()));
      }
    }
    return false;
  }
  if (event->type() != QEvent::Close) return false;
  event->ignore();
  if (close_pending_) return true;
  close_pending_ = true;
  std::weak_ptr<ControlViewQt> weak = weak_from_this();
  events_.Post([weak] {
    auto view = weak.lock();
    if (!view) return;
    view->close_pending_ = false;
    if (!view->alive() || !view->model_->on_close_request) return;
    auto request = view->model_->on_close_request;
    ui::RunEventHandler(request);
  });
  return true;
}

// The key filter of the field sees each typed character first and may discard or change it.
// Keys that type nothing (arrows, Delete) go to the field as they are.
bool ControlViewQt::HandleKey(Native& n, QObject* watched, QEvent* event) {
  ui::Control* c = n.model;
  if (!c->on_key_press) return false;
  auto filter = c->on_key_press;
  auto pass = [&](QString typed) {
    QString kept;
    for (QChar ch : typed) {
      wchar_t key = static_cast<wchar_t>(ch.unicode());
      ui::RunEventHandler([&filter, &key] { filter(key); });
      if (!alive()) return QString();
      if (key != 0) kept.append(QChar(static_cast<char16_t>(key)));
    }
    return kept;
  };
  if (event->type() == QEvent::InputMethod) {
    auto* im = static_cast<QInputMethodEvent*>(event);
    if (im->commitString().isEmpty()) return false;
    const QString kept = pass(im->commitString());
    if (!alive()) return true;
    if (kept == im->commitString()) return false;
    QInputMethodEvent changed(im->preeditString(), im->attributes());
    changed.setCommitString(kept, im->replacementStart(), im->replacementLength());
    Forward(watched, &changed);
    return true;
  }
  auto* key = static_cast<QKeyEvent*>(event);
  if (key->text().isEmpty() || key->key() == Qt::Key_Delete || key->key() == Qt::Key_Tab ||
      key->key() == Qt::Key_Backtab) {
    return false;
  }
  const QString kept = pass(key->text());
  if (!alive()) return true;
  if (kept.isEmpty()) return true;  // discarded
  if (kept == key->text()) return false;
  QKeyEvent changed(QEvent::KeyPress, 0, key->modifiers(), kept);
  Forward(watched, &changed);
  return true;
}

// A button reports the release before its click: the release handler may move the focus away or
// disable the button, which would cancel the native click, so the click is decided at the
// release and raised here.
bool ControlViewQt::HandleButtonMouse(Native& n, QObject* watched, QEvent* event) {
  ui::Control* c = n.model;
  auto* button = static_cast<QAbstractButton*>(watched);
  if (event->type() != QEvent::MouseButtonRelease) {
    Forward(watched, event);
    if (alive()) ui::RunEventHandler([c] { c->UserMouseDown(); });
    return true;
  }
  const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
  const bool pushed = button->isDown() && button->rect().contains(at);
  ui::RunEventHandler([c] { c->UserMouseUp(); });
  if (!alive()) return true;
  QObject* was_suppressed = std::exchange(suppressed_click_, button);
  Forward(watched, event);
  suppressed_click_ = was_suppressed;
  if (pushed && alive()) ui::RunEventHandler([c] { c->UserClick(); });
  return true;
}

// A field gets the press after its own caret placement, so a selection made by the press
// handler stands; the release is followed by the click.
bool ControlViewQt::HandleFieldMouse(Native& n, QObject* watched, QEvent* event) {
  ui::Control* c = n.model;
  Forward(watched, event);
  if (!alive()) return true;
  if (event->type() != QEvent::MouseButtonRelease) {
    n.pressing = true;
    n.selection_changed = false;
    ui::RunEventHandler([c] { c->UserMouseDown(); });
    return true;
  }
  if (n.pressing && n.selection_changed) {
    const bool was_writing = std::exchange(writing_, true);
    WriteSelection(n);
    writing_ = was_writing;
  }
  n.pressing = false;
  ui::RunEventHandler([c] { c->UserMouseUp(); });
  if (alive()) ui::RunEventHandler([c] { c->UserClick(); });
  return true;
}

void ControlViewQt::ReportEditedText(Native& n) {
  ui::Control* c = n.model;
  QString text;
  int caret = 0;
  if (auto* edit = qobject_cast<QLineEdit*>(n.widget)) {
    text = edit->text();
    caret = edit->cursorPosition();
  } else if (auto* edit = qobject_cast<QPlainTextEdit*>(n.widget)) {
    text = edit->toPlainText();
    caret = edit->textCursor().position();
  }
  const std::wstring model_text = ModelText(text);
  const int model_caret = ModelPosition(text, caret);
  auto keep = shared_from_this();
  ui::RunEventHandler(
      [c, &model_text, model_caret] { c->UserEditedText(model_text, model_caret); });
}

// Arrow and page steps are 1; dragging the thumb reports every position on the way. The bar
// shows the value the program keeps.
void ControlViewQt::HandleSliderAction(Native& n, int action) {
  ui::Control* c = n.model;
  auto* bar = static_cast<QScrollBar*>(n.widget);
  int value = c->value();
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
    case QAbstractSlider::SliderPageStepSub:
      value -= 1;
      break;
    case QAbstractSlider::SliderSingleStepAdd:
    case QAbstractSlider::SliderPageStepAdd:
      value += 1;
      break;
    case QAbstractSlider::SliderToMinimum:
      value = c->min();
      break;
    case QAbstractSlider::SliderToMaximum:
      value = c->max();
      break;
    case QAbstractSlider::SliderMove:
      value = bar->sliderPosition();
      break;
    default:
      return;
  }
  auto keep = shared_from_this();
  ui::RunEventHandler([c, value] { c->UserSlide(value); });
  if (alive()) bar->setSliderPosition(c->value());
}

}  // namespace harumado::qt
