// The first pass over the command line: steering words are taken out,
// option words noted and kept, later words win.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Argv {
  std::vector<std::string> words;
  std::vector<char*> v;
  int argc;
  explicit Argv(std::vector<std::string> w) : words(std::move(w)) {
    words.insert(words.begin(), "diffview");
    for (auto& s : words) v.push_back(s.data());
    v.push_back(nullptr);
    argc = static_cast<int>(words.size());
  }
  std::vector<std::string> kept() const {
    std::vector<std::string> out;
    for (int i = 1; i < argc; i++) out.push_back(v[i]);
    return out;
  }
};

TEST(StartOptions, Defaults) {
  Argv a({"x", "y"});
  StartOptions o = parseStartOptions(&a.argc, a.v.data());
  EXPECT_TRUE(o.client);
  EXPECT_TRUE(o.reuse);
  EXPECT_FALSE(o.add);
  EXPECT_FALSE(o.ask);
  EXPECT_FALSE(o.help);
  EXPECT_EQ(o.options, 0);
  EXPECT_EQ(a.kept(), (std::vector<std::string>{"x", "y"}));
}

TEST(StartOptions, SteeringWordsAreRemovedOptionWordsKept) {
  Argv a({"-noclient", "-b", "x", "-new", "-ask", "-lang=c", "-b", "-i", "-w", "y"});
  StartOptions o = parseStartOptions(&a.argc, a.v.data());
  EXPECT_FALSE(o.client);
  EXPECT_FALSE(o.reuse);
  EXPECT_TRUE(o.ask);
  EXPECT_EQ(o.options, 15);
  EXPECT_EQ(a.kept(), (std::vector<std::string>{"-b", "x", "-lang=c", "-b", "-i", "-w", "y"}));
  EXPECT_EQ(a.v[a.argc], nullptr);
  EXPECT_EQ(a.v[10], nullptr);
}

TEST(StartOptions, LaterWordsWin) {
  Argv a({"-new", "-reuse", "x"});
  EXPECT_TRUE(parseStartOptions(&a.argc, a.v.data()).reuse);
  Argv b({"-noclient", "-reuse"});
  EXPECT_TRUE(parseStartOptions(&b.argc, b.v.data()).client);  // -reuse implies client
  Argv c({"-reuse", "-noclient"});
  EXPECT_FALSE(parseStartOptions(&c.argc, c.v.data()).client);
  Argv d({"-new", "-add"});
  StartOptions o = parseStartOptions(&d.argc, d.v.data());
  EXPECT_TRUE(o.add);
  EXPECT_TRUE(o.reuse);
}

TEST(StartOptions, WordsMatchExactly) {
  Argv a({"-B", "-reuse2", "--b", "-lang=C", "-Help"});
  StartOptions o = parseStartOptions(&a.argc, a.v.data());
  EXPECT_EQ(o.options, 0);
  EXPECT_FALSE(o.help);
  EXPECT_EQ(a.kept().size(), 5u);
}

TEST(StartOptions, HelpStopsThePass) {
  Argv a({"-b", "--help", "-w"});
  StartOptions o = parseStartOptions(&a.argc, a.v.data());
  EXPECT_TRUE(o.help);
}

}  // namespace
