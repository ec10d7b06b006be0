#include <gtest/gtest.h>

#include "core/settings/settings_file.h"

namespace harumado::settings {
namespace {

TEST(ParseSettings, ReadsFieldsAsTheTextInputStatementDoes) {
  struct Case {
    const char* bytes;
    int fields;
    double left, top;
    int wrap, mode, topmost;
  } cases[] = {
      {"120,80,3,2,1\r\n", 5, 120, 80, 3, 2, 1},
      {"120\r\n80\r\n3\r\n2\r\n1\r\n", 5, 120, 80, 3, 2, 1},
      {"-5,-7,9,4,0", 5, -5, -7, 9, 4, 0},
      {" \"1\" , 2 ,3,4,1,99\r\n", 5, 1, 2, 3, 4, 1},
      {"1,2,x,2,1\r\n", 5, 1, 2, 0, 2, 1},
      {"1,2,2.5,3.5,1\r\n", 5, 1, 2, 2, 4, 1},
      {"300,200", 2, 300, 200, 0, 0, 0},
      {"", 0, 0, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    SavedSettings s = ParseSettings(c.bytes);
    EXPECT_EQ(s.fields_read, c.fields);
    if (c.fields >= 1) {
      ASSERT_TRUE(s.left.is_number());
      EXPECT_EQ(s.left.number(), c.left);
    } else {
      EXPECT_TRUE(s.left.is_empty());
    }
    if (c.fields >= 2) {
      EXPECT_EQ(s.top.number(), c.top);
    }
    EXPECT_EQ(s.wrap_count, c.wrap);
    EXPECT_EQ(s.paste_mode, c.mode);
    EXPECT_EQ(s.topmost, c.topmost);
  }
}

TEST(ParseSettings, KeepsANonNumericPositionAsText) {
  SavedSettings s = ParseSettings("abc,80,1,1,1\r\n");
  ASSERT_TRUE(s.left.is_text());
  EXPECT_EQ(s.left.text(), L"abc");
}

}  // namespace
}  // namespace harumado::settings
