// The single-instance lock and the version answers on Linux.
#include "qt/system_info_qt.h"

#include <gtest/gtest.h>

#include "support/linux/child_process.h"

namespace harumado::qt {
namespace {

TEST(SystemInfoQt, TheVersionQueriesPassTheWindowsGate) {
  SystemInfoQt system(nullptr);
  EXPECT_GE(system.VersionBuildNumber(), 10240);
  const auto builds = system.WmiBuildNumbers();
  ASSERT_EQ(builds.size(), 1u);
  EXPECT_GE(std::stoi(builds[0]), 10240);
}

TEST(SystemInfoQt, ASecondInstanceOfTheSameProgramFileFindsTheFirst) {
  test_support::TempDir locks;
  SystemInfoQt first(nullptr, locks.path(), "/opt/harumado/harumado");
  EXPECT_FALSE(first.AnotherInstanceRuns());
  EXPECT_FALSE(first.AnotherInstanceRuns());  // the holder asks again: still the only one
  SystemInfoQt second(nullptr, locks.path(), "/opt/harumado/harumado");
  EXPECT_TRUE(second.AnotherInstanceRuns());
  SystemInfoQt other_file(nullptr, locks.path(), "/home/hana/harumado");
  EXPECT_FALSE(other_file.AnotherInstanceRuns());
}

// The lock ends with its holder: a stale lock file does not keep the program from starting.
TEST(SystemInfoQt, TheLockEndsWithItsHolder) {
  test_support::TempDir locks;
  {
    SystemInfoQt first(nullptr, locks.path(), "/opt/harumado/harumado");
    ASSERT_FALSE(first.AnotherInstanceRuns());
  }
  SystemInfoQt next(nullptr, locks.path(), "/opt/harumado/harumado");
  EXPECT_FALSE(next.AnotherInstanceRuns());
}

// Another process holding the lock (flock(1) on the same file) counts as a running instance.
TEST(SystemInfoQt, AnotherProcessHoldingTheLockIsSeen) {
  test_support::TempDir locks;
  const std::string lock = locks.path() + "/" + InstanceLockName("/opt/harumado/harumado");
  test_support::ChildOptions options;
  options.pipe_stdout = true;
  test_support::ChildProcess holder(
      {"flock", "--exclusive", lock, "sh", "-c", "echo held; exec cat"}, options);
  ASSERT_EQ(holder.ReadLine(test_support::milliseconds(10000)), "held");
  SystemInfoQt system(nullptr, locks.path(), "/opt/harumado/harumado");
  EXPECT_TRUE(system.AnotherInstanceRuns());
}

TEST(SystemInfoQt, LockNamesFollowThePathExactly) {
  EXPECT_EQ(InstanceLockName("/a/harumado"), InstanceLockName("/a/harumado"));
  EXPECT_NE(InstanceLockName("/a/harumado"), InstanceLockName("/A/harumado"));
  EXPECT_TRUE(InstanceLockName("/a/harumado").starts_with("harumado-"));
  EXPECT_TRUE(InstanceLockName("/a/harumado").ends_with(".lock"));
}

TEST(SystemInfoQt, ExitEndsTheProgramsLoop) {
  int ended = 0;
  SystemInfoQt system([&] { ++ended; });
  system.Exit();
  EXPECT_EQ(ended, 1);
}

}  // namespace
}  // namespace harumado::qt
