#pragma once
// The program's own pending events: the work that a native event gives the program (a user's
// action, a timer tick, a close request, a clipboard notification) is queued here and run only
// at the program's dispatching points (DoEvents, a modal loop, the main loop), never while it
// sleeps. Qt delivers its own events during a sleep too (painting needs them); this queue is
// what keeps the program's handlers from running there.
//
// Lifecycle: one queue per window system, created before any window and living until the
// program has ended. Events still queued when it is destroyed are dropped.
#include <QObject>
#include <deque>
#include <functional>

namespace harumado::qt {

class ProgramEvents final : public QObject {
 public:
  ProgramEvents();
  ~ProgramEvents() override;

  // Queues an event; it runs at the next dispatching point, after those queued before it.
  void Post(std::function<void()> event);
  // Runs the events queued before this call (those they queue wait for the next dispatch).
  // Nothing runs while the program is held.
  void RunPending();
  bool has_pending() const { return !pending_.empty(); }

  // While held (the program sleeps), queued events wait; nesting counts.
  void Hold();
  void Release();
  bool held() const { return holds_ > 0; }

 protected:
  bool event(QEvent* e) override;

 private:
  // Asks Qt to call RunPending from its event loop (once, until it has run).
  void Schedule();

  std::deque<std::function<void()>> pending_;
  int holds_ = 0;
  bool scheduled_ = false;
};

}  // namespace harumado::qt
