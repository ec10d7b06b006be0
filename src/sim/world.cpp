#include "sim/world.h"

#include <cstdio>
#include <stdexcept>

namespace harumado::sim {

void World::Wait(Millis ms) {
  const Millis until = now_ + (ms > 0 ? ms : 0);
  if (handler_ != nullptr) {
    handler_->AtWaitPoint(until);
  }
  if (now_ < until) now_ = until;
}

// The handler ends the scenario from a waiting point once every statement has been taken (and
// stops a program that has exited after a while), so the loop ends there.
void World::WaitForever() {
  constexpr Millis kStep = 60000;
  if (handler_ == nullptr) throw std::logic_error("the program waits for ever");
  for (;;) Wait(kStep);
}

void World::Dispatch() {
  if (handler_ != nullptr) {
    handler_->AtDispatchPoint();
  } else {
    while (RunOnePending()) {
    }
  }
}

void World::Idle() {
  if (handler_ != nullptr) {
    handler_->AtIdlePoint();
  } else {
    while (RunOnePending()) {
    }
  }
}

void World::Post(std::wstring what, std::function<void()> event) {
  pending_.push_back({std::move(what), std::move(event)});
}

bool World::RunOnePending() {
  if (pending_.empty()) return false;
  Pending p = std::move(pending_.front());
  pending_.pop_front();
  Trace(L"dispatch " + p.what);
  p.event();
  return true;
}

void World::Trace(const std::wstring& line) {
  if (!tracing) return;
  std::wstring full = L"[" + std::to_wstring(now_) + L" ms] " + line;
  if (trace_sink) trace_sink(full);
}

platform::WindowHandle World::NewForeignHandle() {
  next_foreign_ += 0x10;
  return next_foreign_;
}

}  // namespace harumado::sim
