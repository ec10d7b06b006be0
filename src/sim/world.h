#pragma once
// The simulated desktop's shared world: the virtual clock, the pending events, the trace, and
// the hook through which the program's waiting and dispatching points reach the scenario.
//
// The program runs synchronously; whenever it sleeps, waits, dispatches events or sits in a
// modal loop, the platform calls Wait or Dispatch here, and the scenario runner (the points
// handler) takes the statements that are due at that moment.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/types.h"

namespace harumado::sim {

using Millis = std::int64_t;

// Handles the program's points; implemented by the scenario runner.
class PointHandler {
 public:
  virtual ~PointHandler() = default;
  // The program dispatches pending events (DoEvents, its idle loop, a modal loop).
  virtual void AtDispatchPoint() = 0;
  // The program waits until the clock reads `until`; statements due meanwhile are taken at their
  // times, user actions become pending.
  virtual void AtWaitPoint(Millis until) = 0;
  // The program dispatches events with nothing else to do (the modal loop of a message box): as
  // at any dispatching point, and with nothing pending or due its clock moves on.
  virtual void AtIdlePoint() { AtDispatchPoint(); }
};

class World {
 public:
  Millis now() const { return now_; }
  void set_now(Millis t) { now_ = t; }

  void set_handler(PointHandler* h) { handler_ = h; }
  PointHandler* handler() const { return handler_; }
  // A waiting point of ms milliseconds (the program's sleep, a busy server's wait).
  void Wait(Millis ms);
  // A waiting point that never ends (a send without a time limit to a window that does not
  // answer): the statements are taken at their times, user actions stay pending, and the scenario
  // ends there once every statement has been taken. Without a scenario it is an error.
  [[noreturn]] void WaitForever();
  // A dispatching point.
  void Dispatch();
  // A dispatching point at which the program is idle.
  void Idle();

  // Pending events: run at the next dispatching point, in order.
  void Post(std::wstring what, std::function<void()> event);
  bool has_pending() const { return !pending_.empty(); }
  // Runs the first pending event; false when there is none.
  bool RunOnePending();
  void ClearPending() { pending_.clear(); }

  // Trace of every event, call and state change (printed with --trace).
  bool tracing = false;
  void Trace(const std::wstring& line);
  std::function<void(const std::wstring&)> trace_sink;

  // Handles for simulated windows of other programs (Excel, clipboard viewers).
  platform::WindowHandle NewForeignHandle();
  // Titles of windows that are not the program's own (Excel's main windows).
  std::function<bool(platform::WindowHandle, std::wstring&)> foreign_title;

  platform::WindowHandle foreground = 0;
  std::vector<std::wstring> posted;  // messages posted to other programs' windows

  bool exited = false;

 private:
  struct Pending {
    std::wstring what;
    std::function<void()> event;
  };
  Millis now_ = 0;
  PointHandler* handler_ = nullptr;
  std::deque<Pending> pending_;
  platform::WindowHandle next_foreign_ = 0x20000;
};

}  // namespace harumado::sim
