// Excel's Global object through the late-bound host: where it binds first, that it is kept,
// and how it binds again after its Excel has gone.
#include <gtest/gtest.h>

#include "automation/late_bound_host.h"
#include "runtime/automation_error.h"
#include "sim/automation/loopback_runtime.h"
#include "sim/desktop.h"
#include "support/error_of.h"

namespace harumado::automation {
namespace {

using test_support::ErrorOf;

class GlobalApplicationTest : public testing::TestWithParam<bool> {
 protected:
  GlobalApplicationTest() { runtime.global_class = GetParam(); }

  sim::Desktop d;
  sim::LoopbackRuntime runtime{d.excel};
  LateBoundHost host{runtime};
};

TEST_P(GlobalApplicationTest, BindsToTheRunningExcelAndKeepsIt) {
  auto first = d.excel.StartInstance(true);
  platform::ExcelApplication& global = host.GlobalApplication();
  EXPECT_EQ(global.Hwnd(), first->window());
  // A later instance does not take it over.
  d.excel.StartInstance(true);
  EXPECT_EQ(host.GlobalApplication().Hwnd(), first->window());
  EXPECT_EQ(&host.GlobalApplication(), &global);
}

// With no Excel running, the first binding starts a hidden one.
TEST_P(GlobalApplicationTest, TheFirstBindingStartsAHiddenExcel) {
  platform::ExcelApplication& global = host.GlobalApplication();
  ASSERT_EQ(d.excel.instances().size(), 1u);
  EXPECT_FALSE(d.excel.instances().front()->visible());
  EXPECT_EQ(global.Hwnd(), d.excel.instances().front()->window());
}

// After its Excel has gone, calls fail as a gone server's do and no hidden Excel is started;
// once an Excel runs again, the next call binds to it.
TEST_P(GlobalApplicationTest, BindsAgainOnlyToARunningExcel) {
  auto first = d.excel.StartInstance(true);
  platform::ExcelApplication& global = host.GlobalApplication();
  EXPECT_EQ(global.Hwnd(), first->window());
  d.excel.QuitAll();
  EXPECT_EQ(ErrorOf([&] { global.Hwnd(); }), rt::err::kServerUnavailable);
  EXPECT_EQ(ErrorOf([&] { host.GlobalApplication().ClipboardFormats(); }),
            rt::err::kServerUnavailable);
  EXPECT_TRUE(d.excel.instances().empty());
  auto second = d.excel.StartInstance(true);
  EXPECT_EQ(host.GlobalApplication().Hwnd(), second->window());
}

INSTANTIATE_TEST_SUITE_P(GlobalClass, GlobalApplicationTest, testing::Values(true, false),
                         [](const auto& info) {
                           return info.param ? "Registered" : "NotRegistered";
                         });

// Without the Global class the running Excel is attached to. A failed first binding is not
// reported where the object is reached, only by the calls made through it.
TEST(GlobalFallbackTest, AFailedBindingIsReportedByTheCall) {
  sim::Desktop d;
  sim::LoopbackRuntime runtime{d.excel};
  runtime.global_class = false;
  LateBoundHost host{runtime};
  auto first = d.excel.StartInstance(true);
  const auto failed = static_cast<std::int32_t>(0x80080005u);
  d.excel.gate().FailNext(L"GetActiveObject", failed, -1);
  platform::ExcelApplication* global = nullptr;
  EXPECT_EQ(ErrorOf([&] { global = &host.GlobalApplication(); }), 0);
  ASSERT_NE(global, nullptr);
  EXPECT_EQ(ErrorOf([&] { global->Hwnd(); }), failed);
  d.excel.gate().FailNext(L"GetActiveObject", failed, 0);
  EXPECT_EQ(global->Hwnd(), first->window());
  EXPECT_EQ(d.excel.gate().calls(L"GetActiveObject"), 3);
}

// Excel's Global object may reach another instance than the active one.
TEST(GlobalOtherTest, TheGlobalClassReachesTheInstanceItIsBoundTo) {
  sim::Desktop d;
  sim::LoopbackRuntime runtime{d.excel};
  LateBoundHost host{runtime};
  auto first = d.excel.StartInstance(true);
  d.excel.StartGlobalOther();
  EXPECT_NE(host.GlobalApplication().Hwnd(), first->window());
  EXPECT_EQ(host.GetActiveObject()->Hwnd(), first->window());
  // Not one of the program's own objects.
  EXPECT_EQ(d.excel.live_objects, 0);
}

}  // namespace
}  // namespace harumado::automation
