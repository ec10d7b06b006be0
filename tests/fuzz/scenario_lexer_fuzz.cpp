// The scenario lexer on any line: it refuses a malformed line with its reason, and the tokens
// of a line it takes, written again, read back the same.
#include <cmath>
#include <stdexcept>

#include "fuzz_support.h"
#include "sim/scenario/lexer.h"
#include "soak/scenario_text.h"

namespace scenario = harumado::sim::scenario;

namespace {

bool SameTokens(const std::vector<scenario::Token>& a, const std::vector<scenario::Token>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].kind != b[i].kind || a[i].text != b[i].text) return false;
    if (a[i].kind == scenario::Token::Kind::kNumber && a[i].number != b[i].number) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  std::vector<scenario::Token> tokens;
  try {
    tokens = scenario::Tokenize(line);
  } catch (const std::runtime_error& e) {
    FUZZ_REQUIRE(e.what()[0] != '\0');  // a reason is given
    return 0;
  }
  std::string again;
  for (const auto& t : tokens) {
    if (!again.empty()) again += ' ';
    switch (t.kind) {
      case scenario::Token::Kind::kString:
        again += harumado::soak::ScenarioString(t.text);
        break;
      case scenario::Token::Kind::kNumber:
        FUZZ_REQUIRE(std::isfinite(t.number));
        [[fallthrough]];
      case scenario::Token::Kind::kWord:
        FUZZ_REQUIRE(!t.text.empty());
        FUZZ_REQUIRE(t.text.find_first_of(L" \t\r\n\"#") == std::wstring::npos);
        again += scenario::ToUtf8(t.text);
        break;
    }
  }
  // Text that decodes (a comment may hold any bytes) gives its bytes when encoded again.
  try {
    FUZZ_REQUIRE(scenario::ToUtf8(scenario::FromUtf8(line)) == line);
  } catch (const std::runtime_error&) {
  }
  std::vector<scenario::Token> reread;
  try {
    reread = scenario::Tokenize(again);
  } catch (const std::runtime_error&) {
    FUZZ_REQUIRE(!"tokens written again are refused");
  }
  FUZZ_REQUIRE(SameTokens(tokens, reread));
  return 0;
}
