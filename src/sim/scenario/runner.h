#pragma once
// Runs one scenario file against a fresh simulated desktop and a fresh program.
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "automation/late_bound_host.h"
#include "core/app/program.h"
#include "sim/automation/loopback_runtime.h"
#include "sim/desktop.h"
#include "sim/scenario/progress_watch.h"
#include "sim/scenario/registry.h"

namespace harumado::sim::scenario {

struct Statement {
  int line = 0;
  std::wstring verb;
  Category category = Category::kWorld;
  Action action;
  bool is_start = false;
  Millis due = 0;
};

class Runner : public PointHandler {
 public:
  // late_bound: the program reaches the simulated Excel through the late-bound host and
  // the object model, as the Windows program reaches Excel.
  Runner(std::string file, bool trace, std::ostream& out, bool late_bound = false);
  ~Runner() override;

  // Parses and runs the file; true when every expectation held.
  bool Run();

  Desktop& desktop() { return *desktop_; }
  // The program after start, or nullptr before it.
  app::Program* program() { return program_.get(); }
  bool started() const { return program_ != nullptr; }

  // An expectation failed: FILE:LINE: expected X, got Y.
  void Fail(const std::wstring& expected, const std::wstring& got);
  // The statement cannot be carried out; the scenario ends failed.
  [[noreturn]] void Abort(const std::wstring& reason);

  // The loaded window (Form1, Form2, Form3) or nullptr.
  ui::Window* FindWindow(const std::wstring& name);
  // The control named as in scenario files (Text1, Form3.HScroll1); aborts when absent.
  ui::Control& ResolveControl(const std::wstring& name);
  // The window must exist and be shown for a user action.
  void RequireShown(ui::Window& w);

  void AtDispatchPoint() override;
  void AtWaitPoint(Millis until) override;
  void AtIdlePoint() override;

 private:
  bool Parse();
  void Execute();
  void StartProgram(Millis due);
  void IdleLoop();
  void AfterExit();
  // Takes the next statement when it is due; false when none is.
  bool TakeNext(bool dispatching);
  void Take(Statement& s, bool dispatching);
  void EndIfAllTaken();
  // Runs the first pending event; false when there is none.
  bool RunPending();
  // With nothing pending or due, the clock moves on to the next due statement or timer tick.
  void AdvanceIdleClock();
  // Every point passes here: a run that keeps coming back without progress fails.
  void CheckProgress();

  std::string file_;
  bool trace_;
  bool late_bound_;
  std::ostream& out_;
  Registry registry_;
  std::vector<Statement> statements_;
  std::size_t next_ = 0;
  bool all_taken_ = false;
  int current_line_ = 0;
  int failures_ = 0;
  Millis post_exit_time_ = 0;
  std::uint64_t dispatched_ = 0;
  ProgressWatch progress_;
  std::unique_ptr<Desktop> desktop_;
  std::unique_ptr<LoopbackRuntime> loopback_;
  std::unique_ptr<automation::LateBoundHost> late_bound_host_;
  std::unique_ptr<platform::Services> services_;
  std::unique_ptr<app::Program> program_;
};

}  // namespace harumado::sim::scenario
