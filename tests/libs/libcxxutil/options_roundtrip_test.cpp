// Writing an options tree and reading the text back gives the same tree,
// for random trees with awkward names and strings, with and without brace
// lists.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "libs/libcxxutil/options_database.h"
#include "options_test_util.h"

namespace {

// Reads `text` into a fresh database with the same list setting.
bool readsBackTo(const ut_options_node& expected, const std::string& text,
                 bool lists) {
  ut_options_database again;
  again.set_allow_int32_lists(lists);
  auto r = parseText(again, text, "written");
  EXPECT_TRUE(r.ok) << r.messages << "\n--- text ---\n" << text;
  return r.ok && again.get_root_node()->equals(expected);
}

TEST(OptionsRoundTrip, ListsWithoutBracesUseAppend) {
  ut_options_database db;
  db.get_root_node()->set_list("ext", {ut_list_item::of_string("c"),
                                       ut_list_item::of_string("h")});
  EXPECT_EQ(db.write_to_string(), "ext += \"c\"\next += \"h\"\n");
  db.set_allow_int32_lists(true);
  EXPECT_EQ(db.write_to_string(), "ext = { \"c\", \"h\" }\n");
}

class TreeMaker {
 public:
  explicit TreeMaker(unsigned seed, bool lists) : rng_(seed), lists_(lists) {}

  void fill(ut_options_node* node, int depth) {
    int attrs = pick(6);
    for (int i = 0; i < attrs; i++) addAttribute(node, "a" + std::to_string(i));
    if (depth >= 3) return;
    int children = pick(4);
    for (int i = 0; i < children; i++) {
      std::string name = pick(3) == 0 ? "" : randomName() + std::to_string(i);
      fill(node->add_child(name), depth + 1);
    }
  }

 private:
  int pick(int n) { return static_cast<int>(rng_() % n); }

  std::string randomText() {
    static const char alphabet[] = "abc XYZ09_\"\\$(){}#/;,=+.\n\t\r\x01\xe9";
    std::string s;
    int len = pick(12);
    for (int i = 0; i < len; i++) s += alphabet[pick(sizeof alphabet - 1)];
    return s;
  }

  std::string randomName() {
    return pick(2) ? "n" : randomText() + "q";  // never empty
  }

  ut_list_item randomItem() {
    if (pick(2)) return ut_list_item::of_string(randomText());
    return ut_list_item::of_int(static_cast<int32_t>(rng_()));
  }

  void addAttribute(ut_options_node* node, const std::string& name) {
    switch (pick(4)) {
      case 0: node->set_int(name, static_cast<int32_t>(rng_())); break;
      case 1: node->set_bool(name, pick(2)); break;
      case 2: node->set_string(name, randomText()); break;
      default: {
        std::vector<ut_list_item> items;
        int n = (lists_ ? 0 : 1) + pick(5);
        for (int i = 0; i < n; i++) items.push_back(randomItem());
        node->set_list(name, std::move(items));
      }
    }
  }

  std::mt19937 rng_;
  bool lists_;
};

TEST(OptionsRoundTrip, RandomTrees) {
  for (unsigned seed = 1; seed <= 150; seed++) {
    bool lists = seed % 2 == 0;
    ut_options_database db;
    db.set_allow_int32_lists(lists);
    TreeMaker(seed, lists).fill(db.get_root_node(), 0);
    std::string text = db.write_to_string();
    ASSERT_TRUE(readsBackTo(*db.get_root_node(), text, lists))
        << "seed " << seed << "\n" << text;
  }
}

}  // namespace
