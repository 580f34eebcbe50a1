// The node API the options database hands to its users: typed getters with
// found flags, kind mismatches, list views of single values, setters and
// deep comparison.
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

TEST(OptionsNode, SingleValuesReadAsListsOfOne) {
  ut_options_node node;
  node.set_string("ext", "c");
  node.set_int("num", 3);
  bool found = false;
  EXPECT_EQ(node.get_string_list("ext", &found), std::vector<std::string>{"c"});
  EXPECT_TRUE(found);
  EXPECT_EQ(node.get_int_list("num"), std::vector<int32_t>{3});
  EXPECT_TRUE(node.get_int_list("ext").empty());
  EXPECT_TRUE(node.get_list("nothing", &found).empty());
  EXPECT_FALSE(found);
}

TEST(OptionsNode, SettersReplaceInPlaceAndAppendConverts) {
  ut_options_node node;
  node.set_int("a", 1);
  node.set_int("b", 2);
  node.set_string("a", "now a string");
  ASSERT_EQ(node.get_attribute_count(), 2u);
  EXPECT_EQ(node.get_attribute(0)->name, "a");
  EXPECT_EQ(node.get_attribute(0)->kind, ut_value_kind::string);
  node.append_to_list("b", ut_list_item::of_string("x"));
  std::vector<ut_list_item> expected{ut_list_item::of_int(2), ut_list_item::of_string("x")};
  EXPECT_EQ(node.get_list("b"), expected);
  EXPECT_TRUE(node.remove_attribute("a"));
  EXPECT_FALSE(node.remove_attribute("a"));
  EXPECT_EQ(node.get_attribute(5), nullptr);
}

TEST(OptionsNode, ChildrenKeepOrderAndFindTheFirst) {
  ut_options_node node;
  ut_options_node* first = node.add_child("x");
  node.add_child("y");
  node.add_child("x");
  EXPECT_EQ(node.get_child_count(), 3u);
  EXPECT_EQ(node.find_child("x"), first);
  EXPECT_EQ(node.find_or_add_child("y"), node.get_child(1));
  ut_options_node* z = node.find_or_add_child("z");
  EXPECT_EQ(z, node.get_child(3));
  EXPECT_EQ(node.get_child(4), nullptr);
  std::vector<std::string> names;
  for (const auto& child : node.children()) names.push_back(child->get_name());
  EXPECT_EQ(names, (std::vector<std::string>{"x", "y", "x", "z"}));
}

TEST(OptionsNode, DeepEquality) {
  ut_options_node a, b;
  a.add_child("c")->set_int("v", 1);
  b.add_child("c")->set_int("v", 1);
  EXPECT_TRUE(a.equals(b));
  b.get_child(0)->set_int("v", 2);
  EXPECT_FALSE(a.equals(b));
  b.get_child(0)->set_int("v", 1);
  b.add_child("d");
  EXPECT_FALSE(a.equals(b));
  a.clear();
  b.clear();
  EXPECT_TRUE(a.equals(b));
}

}  // namespace
