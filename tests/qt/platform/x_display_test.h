#pragma once
// A test on an X display of its own: Xvfb, and the test process as a Qt application on it, with
// a runtime folder of its own (Qt's and the helper processes' sockets and locks).
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <memory>

#include "support/linux/xvfb_session.h"

namespace harumado::qt::testing {

// The tests on a display start and end their helper programs with the shared support.
using namespace harumado::test_support;

class XDisplayTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Dispatches Qt's events until done() holds; false when the time ran out first.
  template <typename Done>
  bool DispatchUntil(Done done, milliseconds timeout = milliseconds(10000)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
      const auto left =
          std::chrono::duration_cast<milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return false;
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents,
                                      static_cast<int>(std::min<long long>(left.count(), 100)));
    }
    return true;
  }

  TempDir runtime_;
  std::unique_ptr<XvfbSession> x_;
  std::unique_ptr<QGuiApplication> app_;
};

}  // namespace harumado::qt::testing
