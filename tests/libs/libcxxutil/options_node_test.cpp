// The node API the options database hands to its users: typed getters with
// found flags and kind mismatches.
#include <gtest/gtest.h>

#include "libs/libcxxutil/options_node.h"

namespace {

TEST(OptionsNode, GettersReportWhetherAFittingAttributeExists) {
  ut_options_node node;
  node.set_int("n", 5);
  node.set_string("s", "text");
  node.set_bool("b", true);
  bool found = true;
  EXPECT_EQ(node.get_int("missing", &found), 0);
  EXPECT_FALSE(found);
  EXPECT_EQ(node.get_int("s", &found), 0);  // a string is not an integer
  EXPECT_FALSE(found);
  EXPECT_EQ(node.get_string("n", &found), nullptr);
  EXPECT_FALSE(found);
  EXPECT_EQ(node.get_int("b", &found), 1);  // booleans read as 0 or 1
  EXPECT_TRUE(found);
  EXPECT_TRUE(node.get_bool("n", &found));
  EXPECT_TRUE(found);
  EXPECT_STREQ(node.get_string("s", &found), "text");
  EXPECT_TRUE(found);
}

}  // namespace
