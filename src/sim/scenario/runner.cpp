#include "sim/scenario/runner.h"

#include <cmath>
#include <fstream>
#include <iostream>
#include <sstream>

#include "core/app/form1.h"
#include "runtime/automation_error.h"

namespace harumado::sim::scenario {
namespace {

// Thrown to leave the program wherever it stands: the scenario is over.
struct ScenarioEnd {};
struct ScenarioAbort {};

// A program that keeps running after it has exited (a loop that never returns) is stopped after
// this much virtual time, and the scenario fails: its remaining statements were never taken.
constexpr Millis kPostExitLimit = 600000;

// The script clock counts whole milliseconds up to here (where a double still counts them all).
constexpr Millis kMaxScriptClock = Millis{1} << 53;

}  // namespace

Runner::Runner(std::string file, bool trace, std::ostream& out, bool late_bound)
    : file_(std::move(file)), trace_(trace), late_bound_(late_bound), out_(out) {
  RegisterSetupStatements(registry_);
  RegisterUserActionStatements(registry_);
  RegisterExpectStatements(registry_);
  RegisterExcelStatements(registry_);
  RegisterClipboardStatements(registry_);
  RegisterSpeechStatements(registry_);
  RegisterInvariantStatements(registry_);
}

Runner::~Runner() { program_.reset(); }

bool Runner::Parse() {
  std::ifstream in(file_, std::ios::binary);
  if (!in) {
    out_ << file_ << ":0: cannot open the file\n";
    return false;
  }
  std::string line;
  int number = 0;
  Millis due = 0;
  bool started = false;
  while (std::getline(in, line)) {
    ++number;
    try {
      auto tokens = Tokenize(line);
      if (tokens.empty()) continue;
      if (tokens[0].kind != Token::Kind::kWord)
        throw StatementError(L"a statement starts with a word");
      const std::wstring verb = tokens[0].text;
      Statement s;
      s.line = number;
      s.verb = verb;
      if (verb == L"wait") {
        Args a(tokens, 1);
        const double ms = a.Number();
        a.End();
        if (ms < 0 || ms != std::floor(ms)) {
          throw StatementError(L"wait needs a whole number of milliseconds, 0 or more");
        }
        if (ms > static_cast<double>(kMaxScriptClock - due)) {
          throw StatementError(L"the script clock would pass " + std::to_wstring(kMaxScriptClock) +
                               L" ms");
        }
        due += static_cast<Millis>(ms);
        continue;
      }
      if (verb == L"start") {
        Args a(tokens, 1);
        a.End();
        if (started) throw StatementError(L"start stands twice");
        started = true;
        s.is_start = true;
      } else {
        auto it = registry_.verbs.find(verb);
        if (it == registry_.verbs.end()) throw StatementError(L"unknown statement '" + verb + L"'");
        Args a(tokens, 1);
        s.category = it->second.category;
        s.action = it->second.parse(a);
        if (s.category == Category::kUser && !started) {
          throw StatementError(L"a user action needs the program started");
        }
      }
      s.due = due;
      statements_.push_back(std::move(s));
    } catch (const StatementError& e) {
      out_ << file_ << ":" << number << ": " << ToUtf8(e.reason) << "\n";
      return false;
    } catch (const std::runtime_error& e) {
      out_ << file_ << ":" << number << ": " << e.what() << "\n";
      return false;
    }
  }
  return true;
}

bool Runner::Run() {
  if (!Parse()) return false;
  desktop_ = std::make_unique<Desktop>();
  auto& world = desktop_->world;
  world.tracing = trace_;
  world.trace_sink = [this](const std::wstring& line) { out_ << ToUtf8(line) << "\n"; };
  world.set_handler(this);
  try {
    Execute();
  } catch (const ScenarioEnd&) {
  } catch (const ScenarioAbort&) {
    ++failures_;
  } catch (const rt::AutomationError& e) {
    // A handler let an automation error escape: the program would have ended there.
    ++failures_;
    out_ << file_ << ":" << current_line_
         << ": the program ended with an unhandled automation error "
         << ToUtf8(rt::ErrorNumberText(e.number())) << "\n";
  }
  world.set_handler(nullptr);
  program_.reset();
  return failures_ == 0;
}

void Runner::Fail(const std::wstring& expected, const std::wstring& got) {
  ++failures_;
  out_ << file_ << ":" << current_line_ << ": expected " << ToUtf8(expected) << ", got "
       << ToUtf8(got) << "\n";
  desktop_->world.Trace(L"expectation failed");
}

void Runner::Abort(const std::wstring& reason) {
  out_ << file_ << ":" << current_line_ << ": " << ToUtf8(reason) << "\n";
  throw ScenarioAbort{};
}

ui::Window* Runner::FindWindow(const std::wstring& name) {
  return program_ ? program_->FindWindow(name) : nullptr;
}

ui::Control& Runner::ResolveControl(const std::wstring& name) {
  std::wstring window = L"Form1";
  std::wstring control = name;
  const auto dot = name.find(L'.');
  if (dot != std::wstring::npos) {
    window = name.substr(0, dot);
    control = name.substr(dot + 1);
  }
  ui::Window* w = FindWindow(window);
  if (w == nullptr) Abort(L"window " + window + L" does not exist");
  ui::Control* c = w->Find(control);
  if (c == nullptr) Abort(L"no control " + name);
  return *c;
}

void Runner::RequireShown(ui::Window& w) {
  SimWindow* sw = desktop_->windows.FindByModel(w);
  if (sw == nullptr || !sw->visible) Abort(L"window " + w.name() + L" is not shown");
}

// Statements before start shape the world the program starts in.
void Runner::Execute() {
  while (next_ < statements_.size()) {
    Statement& s = statements_[next_];
    if (s.is_start) {
      ++next_;
      StartProgram(s.due);
      return;
    }
    ++next_;
    current_line_ = s.line;
    s.action(*this);
  }
}

void Runner::StartProgram(Millis due) {
  auto& world = desktop_->world;
  if (world.now() < due) world.set_now(due);
  all_taken_ = next_ >= statements_.size();
  world.Trace(L"start");
  // Counts of the other programs' viewers run from start-up.
  desktop_->clipboard.ResetNotifications();
  services_ = std::make_unique<platform::Services>(desktop_->services());
  if (late_bound_) {
    world.Trace(L"Excel is reached through the late-bound host");
    loopback_ = std::make_unique<LoopbackRuntime>(desktop_->excel);
    late_bound_host_ = std::make_unique<automation::LateBoundHost>(*loopback_);
    services_ = std::make_unique<platform::Services>(platform::Services{
        *late_bound_host_, services_->windows, services_->clipboard, services_->voices,
        services_->shell, services_->system, services_->files});
  }
  program_ = std::make_unique<app::Program>(*services_);
  program_->Start();
  IdleLoop();
}

void Runner::EndIfAllTaken() {
  if (all_taken_) throw ScenarioEnd{};
}

void Runner::Take(Statement& s, bool dispatching) {
  current_line_ = s.line;
  if (next_ >= statements_.size()) all_taken_ = true;
  auto& world = desktop_->world;
  if (s.category == Category::kUser && !dispatching) {
    const int line = s.line;
    Action action = s.action;
    world.Post(L"user action of line " + std::to_wstring(line), [this, line, action] {
      current_line_ = line;
      action(*this);
    });
    return;
  }
  s.action(*this);
}

bool Runner::TakeNext(bool dispatching) {
  if (next_ >= statements_.size()) return false;
  Statement& s = statements_[next_];
  if (s.due > desktop_->world.now()) return false;
  ++next_;
  Take(s, dispatching);
  return true;
}

bool Runner::RunPending() {
  if (!desktop_->world.RunOnePending()) return false;
  ++dispatched_;
  return true;
}

void Runner::CheckProgress() {
  const Millis now = desktop_->world.now();
  if (!progress_.Stuck(ProgressMark{next_, dispatched_, now})) return;
  if (next_ < statements_.size()) current_line_ = statements_[next_].line;
  Abort(L"the program makes no progress: it comes back to the same point again and again at " +
        std::to_wstring(now) + L" ms, and no statement is taken");
}

void Runner::AtDispatchPoint() {
  auto& world = desktop_->world;
  CheckProgress();
  if (world.exited) {
    world.ClearPending();
    return;
  }
  EndIfAllTaken();
  for (;;) {
    if (world.exited) return;
    if (RunPending()) continue;
    if (next_ >= statements_.size() || statements_[next_].due > world.now()) break;
    const bool user_action = statements_[next_].category == Category::kUser;
    TakeNext(true);
    // The statements after a user action are taken at the program's next point.
    if (user_action) break;
  }
}

void Runner::AtWaitPoint(Millis until) {
  auto& world = desktop_->world;
  auto& windows = desktop_->windows;
  CheckProgress();
  if (world.exited) {
    post_exit_time_ += until - world.now();
    if (post_exit_time_ > kPostExitLimit) {
      Abort(L"the program still runs " + std::to_wstring(kPostExitLimit) +
            L" ms after it has exited");
    }
    world.set_now(until);
    return;
  }
  EndIfAllTaken();
  while (next_ < statements_.size() && statements_[next_].due <= until) {
    Statement& s = statements_[next_];
    if (s.due > world.now()) world.set_now(s.due);
    windows.PostDueTicks(world.now());
    ++next_;
    Take(s, false);
    if (world.exited) return;
  }
  if (world.now() < until) world.set_now(until);
  windows.PostDueTicks(until);
}

// A modal loop (the message box): a dispatching point; when it found nothing to do, the idle
// program's clock moves on.
void Runner::AtIdlePoint() {
  auto& world = desktop_->world;
  const std::size_t taken = next_;
  const std::uint64_t dispatched = dispatched_;
  AtDispatchPoint();
  if (world.exited || next_ != taken || dispatched_ != dispatched || world.has_pending()) return;
  AdvanceIdleClock();
}

void Runner::AdvanceIdleClock() {
  auto& world = desktop_->world;
  auto& windows = desktop_->windows;
  if (next_ >= statements_.size()) return;
  Millis next_time = statements_[next_].due;
  if (auto tick = windows.NextTick(); tick && *tick < next_time) next_time = *tick;
  if (next_time > world.now()) world.set_now(next_time);
  windows.PostDueTicks(world.now());
}

// The program's idle message loop: pending events, then due statements; with nothing to do the
// clock moves on to the next due statement or timer tick.
void Runner::IdleLoop() {
  auto& world = desktop_->world;
  for (;;) {
    program_->OnIdle();
    if (world.exited) {
      AfterExit();
      return;
    }
    CheckProgress();
    EndIfAllTaken();
    if (RunPending()) continue;
    if (TakeNext(true)) continue;
    if (next_ >= statements_.size()) return;
    AdvanceIdleClock();
  }
}

// Once the program has ended, the remaining statements are taken at once.
void Runner::AfterExit() {
  while (next_ < statements_.size()) {
    Statement& s = statements_[next_++];
    current_line_ = s.line;
    if (s.category == Category::kUser)
      Abort(L"the program has exited: no window takes user actions");
    s.action(*this);
  }
}

}  // namespace harumado::sim::scenario
