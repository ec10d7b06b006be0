#pragma once
// The real stacking of top-level windows: their order in the window manager's list (topmost
// ones first, then the others, each front to back), not only their style; and a plain window
// of the harness's own that another program's window can be brought forward over, as a paste
// brings Excel's window forward.
#include <string>
#include <vector>

#include "harness.h"
#include "win32/scoped.h"

namespace harumado::harness {

// True when `upper` lies in front of `lower` (GetWindow(GW_HWNDNEXT) from `upper` reaches
// `lower`); the order EnumWindows gives must say the same, or this is a failure of its own.
bool StackedInFront(HWND upper, HWND lower);

// A plain (not topmost) window of the harness process with a solid colour, shown at the place.
class PlainWindow {
 public:
  PlainWindow(const Rect& place, COLORREF colour);
  HWND hwnd() const { return window_.get(); }
  // Brought to the front as the program brings Excel's window there (SetForegroundWindow).
  void BringForward();

 private:
  win32::UniqueBrush brush_;
  win32::UniqueWindow window_;
};

// What the screen shows at a point that two windows share: which of them is drawn on top, as a
// line for the log.
std::wstring DrawnOnTop(HWND first, COLORREF first_colour, HWND second, COLORREF second_colour,
                        long x, long y);

// harumado-harness stacking-probe: two plain windows of two processes, one topmost; the other
// one brought forward. Prints what the window list and the screen show after each step.
int StackingProbe();
// The other process of the probe: a plain window until it is closed.
int RunPlainWindowProcess();

}  // namespace harumado::harness

namespace harumado::harness {

// Another program's plain window over the main window, brought forward as a paste brings
// Excel's: the program's windows stay in front of it while they are topmost (and it is not
// made topmost), and it comes in front of the main window when they are not. What the screen
// shows is logged beside.
void ExpectStackingWithForwardWindow(HWND main, const std::vector<HWND>& side_windows,
                                     bool topmost);

}  // namespace harumado::harness
