// The first pass over the command line: steering words are taken out,
// option words noted and kept, later words win, help stops the pass.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace {

using Words = std::vector<std::string>;

// Parses "diffview <words>"; returns the options and the words kept.
StartOptions parse(const Words& words, Words* kept = nullptr) {
  Words all = {"diffview"};
  all.insert(all.end(), words.begin(), words.end());
  test_support::ArgVector a(all);
  StartOptions o = parseStartOptions(&a.argc, a.argv());
  EXPECT_EQ(a.argv()[a.argc], nullptr);
  if (kept) *kept = a.words(1);
  return o;
}

TEST(StartOptions, SteeringWordsAreRemovedOptionWordsKept) {
  Words kept;
  StartOptions o = parse({"x", "y"}, &kept);
  EXPECT_TRUE(o.client && o.reuse);
  EXPECT_FALSE(o.add || o.ask || o.help);
  EXPECT_EQ(o.options, 0);
  EXPECT_EQ(kept, (Words{"x", "y"}));
  o = parse({"-noclient", "-b", "x", "-new", "-ask", "-lang=c", "-b", "-i", "-w", "y"}, &kept);
  EXPECT_FALSE(o.client);
  EXPECT_FALSE(o.reuse);
  EXPECT_TRUE(o.ask);
  EXPECT_EQ(o.options, 15);
  EXPECT_EQ(kept, (Words{"-b", "x", "-lang=c", "-b", "-i", "-w", "y"}));
  o = parse({"-B", "-reuse2", "--b", "-lang=C", "-Help"}, &kept);  // words match exactly
  EXPECT_EQ(o.options, 0);
  EXPECT_FALSE(o.help);
  EXPECT_EQ(kept.size(), 5u);
  EXPECT_TRUE(parse({"-b", "--help", "-w"}).help);
}

TEST(StartOptions, LaterWordsWin) {
  EXPECT_TRUE(parse({"-new", "-reuse", "x"}).reuse);
  EXPECT_TRUE(parse({"-noclient", "-reuse"}).client);  // -reuse implies client
  EXPECT_FALSE(parse({"-reuse", "-noclient"}).client);
  StartOptions o = parse({"-new", "-add"});
  EXPECT_TRUE(o.add);
  EXPECT_TRUE(o.reuse);
}

}  // namespace
