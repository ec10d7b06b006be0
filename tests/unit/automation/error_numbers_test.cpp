#include "automation/error_numbers.h"

#include <gtest/gtest.h>

namespace harumado::automation {
namespace {

struct Mapping {
  std::uint32_t hr;
  std::int32_t number;
};

// What the program branches on, and the runtime's numbers for the dispatch layer's failures.
TEST(ErrorNumbersTest, HresultsBecomeTheNumbersTheProgramTests) {
  const Mapping table[] = {
      {0x800A03ECu, 1004},                                    // Excel's own error
      {0x800A000Du, 13},                                      // a control error by low word
      {0x800A01A8u, 424},                                     //
      {0x800401E3u, 429},                                     // no active object
      {0x800401F3u, 429},                                     // unknown ProgID
      {0x80040154u, 429},                                     // class not registered
      {0x80020005u, 13},                                      // type mismatch
      {0x8002000Au, 6},                                       // overflow
      {0x80020003u, 438},                                     // member not found
      {0x80020006u, 438},                                     // unknown name
      {0x8002000Eu, 450},                                     // wrong argument count
      {0x80070057u, static_cast<std::int32_t>(0x80070057u)},  // a server's system code
      {0x80010001u, static_cast<std::int32_t>(0x80010001u)},  // call rejected: as it is
      {0x80080005u, static_cast<std::int32_t>(0x80080005u)},  // server execution failed
      {0x800706BAu, static_cast<std::int32_t>(0x800706BAu)},  // server unavailable
      {0x80010108u, static_cast<std::int32_t>(0x80010108u)},  // disconnected
  };
  for (const auto& m : table) {
    EXPECT_EQ(ErrorNumberFor(m.hr), m.number) << std::hex << m.hr;
  }
}

// A server raises the program's numbers so that the client reads them back unchanged.
TEST(ErrorNumbersTest, ServerErrorsComeBackWithTheirNumbers) {
  EXPECT_EQ(HresultFor(1004), 0x800A03ECu);
  EXPECT_EQ(HresultFor(13), 0x80020005u);
  const std::int32_t numbers[] = {5,
                                  6,
                                  9,
                                  13,
                                  91,
                                  424,
                                  429,
                                  438,
                                  450,
                                  1004,
                                  static_cast<std::int32_t>(0x80010001u),
                                  static_cast<std::int32_t>(0x80080005u),
                                  static_cast<std::int32_t>(0x800706BAu),
                                  static_cast<std::int32_t>(0x80070057u)};
  for (const std::int32_t n : numbers) {
    EXPECT_EQ(ErrorNumberFor(HresultFor(n)), n) << n;
  }
}

TEST(ErrorNumbersTest, TheServerIsGoneOnlyAfterTransportFailures) {
  EXPECT_TRUE(IsServerGone(static_cast<std::int32_t>(0x800706BAu)));
  EXPECT_TRUE(IsServerGone(static_cast<std::int32_t>(0x80010108u)));
  EXPECT_TRUE(IsServerGone(static_cast<std::int32_t>(0x80010007u)));
  // A call made while the server's process ends finds its interface gone.
  EXPECT_TRUE(IsServerGone(static_cast<std::int32_t>(0x800706B5u)));
  EXPECT_FALSE(IsServerGone(static_cast<std::int32_t>(0x80010001u)));
  EXPECT_FALSE(IsServerGone(1004));
  EXPECT_FALSE(IsServerGone(91));
}

}  // namespace
}  // namespace harumado::automation
