#include "x_display_test.h"

#include <sys/stat.h>

#include <cstdlib>

namespace harumado::qt::testing {

// The variables stay set after the test: the next test sets them again, and nothing else in
// this program reads them.
void XDisplayTest::SetUp() {
  ::chmod(runtime_.path().c_str(), 0700);
  ::setenv("XDG_RUNTIME_DIR", runtime_.path().c_str(), 1);
  x_ = std::make_unique<XvfbSession>();
  ::setenv("DISPLAY", x_->display().c_str(), 1);
  ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  static int argc = 1;
  static char name[] = "qt_platform_tests";
  static char* argv[] = {name, nullptr};
  app_ = std::make_unique<QGuiApplication>(argc, argv);
}

void XDisplayTest::TearDown() {
  app_.reset();
  x_.reset();
}

}  // namespace harumado::qt::testing
