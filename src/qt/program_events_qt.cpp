#include "qt/program_events_qt.h"

#include <QCoreApplication>
#include <QEvent>

namespace harumado::qt {
namespace {

const QEvent::Type kRunPending = static_cast<QEvent::Type>(QEvent::registerEventType());

}  // namespace

ProgramEvents::ProgramEvents() = default;
ProgramEvents::~ProgramEvents() = default;

void ProgramEvents::Post(std::function<void()> event) {
  pending_.push_back(std::move(event));
  Schedule();
}

// Only the events queued so far run: an event that queues another (a timer that ticks again)
// cannot keep one dispatch going for ever.
void ProgramEvents::RunPending() {
  if (held()) return;
  for (std::size_t n = pending_.size(); n > 0 && !pending_.empty() && !held(); --n) {
    std::function<void()> next = std::move(pending_.front());
    pending_.pop_front();
    next();
  }
  if (!pending_.empty()) Schedule();
}

void ProgramEvents::Hold() { ++holds_; }

void ProgramEvents::Release() {
  if (holds_ > 0) --holds_;
  if (!held() && !pending_.empty()) Schedule();
}

void ProgramEvents::Schedule() {
  if (scheduled_) return;
  scheduled_ = true;
  QCoreApplication::postEvent(this, new QEvent(kRunPending));
}

// Qt's loop has come to the posted request. While the program sleeps the events stay queued;
// the release schedules them again.
bool ProgramEvents::event(QEvent* e) {
  if (e->type() != kRunPending) return QObject::event(e);
  scheduled_ = false;
  RunPending();
  return true;
}

}  // namespace harumado::qt
