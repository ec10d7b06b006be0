// The end of a process that used LibreOffice: its connections are taken down in order (the
// bridges disposed, their threads ended) while LibreOffice goes on, and what the host still
// holds is released after that without harm. Its own process (one CTest entry): nothing can
// connect again in it afterwards.
#include <dirent.h>
#include <gtest/gtest.h>

#include <com/sun/star/lang/DisposedException.hpp>
#include <cstddef>

#include "calc/calc_host.h"
#include "calc/office_connection.h"
#include "calc_fixture.h"

namespace harumado::calc::testing {
namespace {

// The threads of this process.
std::size_t ThreadCount() {
  std::size_t count = 0;
  if (DIR* tasks = ::opendir("/proc/self/task")) {
    while (const dirent* entry = ::readdir(tasks)) {
      if (entry->d_name[0] != '.') ++count;
    }
    ::closedir(tasks);
  }
  return count;
}

TEST(CalcShutdownTest, ClosingTheConnectionsEndsTheBridgesWhileTheHostStillHoldsObjects) {
  Office office;
  TestClipboard clipboard;
  CalcHost host(office.Options(), clipboard);
  auto application = host.GetActiveObject();
  auto workbook = application->AddWorkbook();
  auto sheet = application->ActiveSheet();
  ASSERT_NE(sheet, nullptr);
  sheet->SetCell(1, 1, platform::CellProperty::kValue, rt::Value::Number(5));
  const auto remote = office.Context();
  const std::size_t connected_threads = ThreadCount();

  CloseOfficeConnections();

  // The bridge is down: what was reached over it no longer answers, its reader and writer
  // threads have ended, and no new connection is made.
  EXPECT_THROW(remote->getServiceManager(), css::lang::DisposedException);
  EXPECT_LE(ThreadCount() + 2, connected_threads);
  EXPECT_FALSE(ConnectToPipe(office.pipe()).is());
  EXPECT_FALSE(host.IsRunning());
  // A second close changes nothing; the host's sheet, workbook and application are released
  // as the test ends, on the disposed bridge.
  CloseOfficeConnections();
}

}  // namespace
}  // namespace harumado::calc::testing
