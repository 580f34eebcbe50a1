// The options-file reader on well-formed input: values of every kind,
// blocks, appending, lists and macros; and the typed getters
// of the nodes it builds, with found flags and kind mismatches.
#include <gtest/gtest.h>

#include "libs/libcxxutil/options_database.h"
#include "libs/libcxxutil/options_node.h"
#include "options_test_util.h"

namespace {

TEST(OptionsReader, ScalarValuesOfEveryKind) {
  ut_options_database db;
  auto r = parseText(db,
                     "i = 42; max = 2147483647; min = -2147483648; all = 0xffffffff\n"
                     "h = 0x1F; o = 017 ; z = 0\n"
                     "n = - 7\n"
                     "m = -8\n"
                     "s = \"a \\\"q\\\" \\\\ \\n\\t\"\n"
                     "b1 = YES\nb2 = On\nb3 = true\nb4 = no\nb5 = OFF\nb6 = False\n"
                     "\"odd name\" = 1 # a comment\n"
                     "// another comment\n\n   \t\n"
                     "c = \"# not a comment\" // but this is\r\n");
  ASSERT_TRUE(r.ok) << r.messages;
  EXPECT_EQ(r.messages, "");
  const ut_options_node* root = db.get_root_node();
  for (auto [name, value] : std::initializer_list<std::pair<const char*, int32_t>>{
           {"i", 42}, {"max", INT32_MAX}, {"min", INT32_MIN}, {"all", -1}, {"h", 31},
           {"o", 15}, {"z", 0}, {"n", -7}, {"m", -8}, {"odd name", 1}})
    EXPECT_EQ(root->get_int(name), value) << name;
  EXPECT_STREQ(root->get_string("s"), "a \"q\" \\ \n\t");
  for (const char* on : {"b1", "b2", "b3"}) {
    EXPECT_EQ(root->find_attribute(on)->kind, ut_value_kind::boolean) << on;
    EXPECT_TRUE(root->get_bool(on)) << on;
  }
  for (const char* off : {"b4", "b5", "b6"}) {
    bool found = false;
    EXPECT_FALSE(root->get_bool(off, &found)) << off;
    EXPECT_TRUE(found) << off;
  }
  EXPECT_STREQ(root->get_string("c"), "# not a comment");
}

TEST(OptionsReader, BlocksNestAndReuseNamedChildren) {
  ut_options_database db;
  auto r = parseText(db,
                     "language {\n"
                     "  general { name = \"C\"; case_sensitive = yes }\n"
                     "  comment {\n"
                     "    color = \"green\"\n"
                     "    { begin = \"/*\"; end = \"*/\" }\n"
                     "    { begin = \"(*\"; end = \"*)\" }\n"
                     "  }\n"
                     "}\n"
                     "language { version = 2 }\n"
                     "after = 1\n");
  ASSERT_TRUE(r.ok) << r.messages;
  const ut_options_node* root = db.get_root_node();
  ASSERT_EQ(root->get_child_count(), 1u);
  const ut_options_node* lang = root->find_child("language");
  ASSERT_NE(lang, nullptr);
  EXPECT_EQ(lang->get_int("version"), 2);
  EXPECT_STREQ(lang->find_child("general")->get_string("name"), "C");
  EXPECT_TRUE(lang->find_child("general")->get_bool("case_sensitive"));
  const ut_options_node* comment = lang->find_child("comment");
  ASSERT_EQ(comment->get_child_count(), 2u);
  EXPECT_EQ(comment->get_child(0)->get_name(), "");
  EXPECT_STREQ(comment->get_child(0)->get_string("begin"), "/*");
  EXPECT_STREQ(comment->get_child(1)->get_string("end"), "*)");
  EXPECT_EQ(root->get_int("after"), 1);
}

TEST(OptionsReader, AppendBuildsLists) {
  ut_options_database db;
  auto r = parseText(db,
                     "ext += \"c\"\next += \"h\"\n"
                     "single = \"x\"\nsingle += 5\n"
                     "flags += yes\n");
  ASSERT_TRUE(r.ok) << r.messages;
  const ut_options_node* root = db.get_root_node();
  EXPECT_EQ(root->get_string_list("ext"), (std::vector<std::string>{"c", "h"}));
  std::vector<ut_list_item> single = root->get_list("single");
  ASSERT_EQ(single.size(), 2u);
  EXPECT_EQ(single[0], ut_list_item::of_string("x"));
  EXPECT_EQ(single[1], ut_list_item::of_int(5));
  EXPECT_EQ(root->get_int_list("flags"), (std::vector<int32_t>{1}));
}

TEST(OptionsReader, BraceListsWhenAllowed) {
  ut_options_database db;
  db.set_allow_int32_lists(true);
  auto r = parseText(db,
                     "nums = { 1, -2, 0x10 }\n"
                     "names = {\"a\", \"b\",  # comment inside\n"
                     "         \"c\", }\n"
                     "empty = {}\n"
                     "more = {1}; more += {2, 3}\n"
                     "after = 1\n");
  ASSERT_TRUE(r.ok) << r.messages;
  const ut_options_node* root = db.get_root_node();
  EXPECT_EQ(root->get_int_list("nums"), (std::vector<int32_t>{1, -2, 16}));
  EXPECT_EQ(root->get_string_list("names"),
            (std::vector<std::string>{"a", "b", "c"}));
  bool found = false;
  EXPECT_TRUE(root->get_list("empty", &found).empty());
  EXPECT_TRUE(found);
  EXPECT_EQ(root->get_int_list("more"), (std::vector<int32_t>{1, 2, 3}));
  EXPECT_EQ(root->get_int("after"), 1);
}

TEST(OptionsReader, BraceListsRefusedByDefault) {
  ut_options_database db;
  auto r = parseText(db, "nums = { 1, 2 }\n");
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.messages.find("t.opt:1: parse error: lists are not allowed here"),
            std::string::npos) << r.messages;
}

TEST(OptionsReader, MacrosExpandInValues) {
  ut_options_database db;
  db.add_macro("_VORNE_DIR", "/opt/tool");
  db.add_int32_macro("PORT", 4711);
  auto r = parseText(db,
                     "dir = \"$(_VORNE_DIR)/syntax\"\n"
                     "dir2 = \"${_VORNE_DIR}\"\n"
                     "port2 = $(PORT)\n"
                     "neg = - PORT\n"
                     "plain = _VORNE_DIR\n"
                     "money = \"costs \\$(PORT) or $5\"\n");
  ASSERT_TRUE(r.ok) << r.messages;
  const ut_options_node* root = db.get_root_node();
  EXPECT_STREQ(root->get_string("dir"), "/opt/tool/syntax");
  EXPECT_STREQ(root->get_string("dir2"), "/opt/tool");
  EXPECT_EQ(root->get_int("port2"), 4711);
  EXPECT_EQ(root->get_int("neg"), -4711);
  EXPECT_STREQ(root->get_string("plain"), "/opt/tool");
  EXPECT_STREQ(root->get_string("money"), "costs $(PORT) or $5");
}

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
