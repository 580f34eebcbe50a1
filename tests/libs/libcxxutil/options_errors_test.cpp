// The options-file reader on bad input: every parse-error message with its
// file and line, stopping versus compatibility mode, unreadable files and
// junk that must be reported without a crash.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "libs/libcxxutil/options_database.h"
#include "options_test_util.h"

namespace {

struct ErrorCase {
  const char* text;
  const char* expected;  // the full "<file>:<line>: parse error: <text>"
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << testing::PrintToString(c.text); }

class OptionsParseErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(OptionsParseErrors, ReportsWithFileAndLineAndStops) {
  ut_options_database db;
  db.set_allow_int32_lists(true);
  auto r = parseText(db, GetParam().text, "bad.opt");
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.messages.find(GetParam().expected), std::string::npos)
      << "got: " << r.messages;
  EXPECT_EQ(db.get_error_count(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    EveryMessage, OptionsParseErrors,
    testing::Values(
        ErrorCase{"a = 1\nname", "bad.opt:2: parse error: unexpected end of file"},
        ErrorCase{"a = \"open", "bad.opt:1: parse error: unexpected end of file"},
        ErrorCase{"l = {1,\n 2", "bad.opt:2: parse error: unexpected end of file"},
        ErrorCase{"ok = 1\nname\nx = 2\n",
                  "bad.opt:2: parse error: unexpected end of line"},
        ErrorCase{"a = \"open\nb = 1\n",
                  "bad.opt:1: parse error: unexpected end of line"},
        ErrorCase{"a # no operator\n", "bad.opt:1: parse error: unexpected end of line"},
        ErrorCase{"a -= 1\n", "bad.opt:1: parse error: unknown operator sequence \"-=\" "},
        ErrorCase{"a }\n", "bad.opt:1: parse error: unknown operator sequence \"}?\" "},
        ErrorCase{"a \x01\x02 = 1\n",
                  "bad.opt:1: parse error: unknown operator sequence \"??\" "},
        ErrorCase{"blk {\n a = 1\n", "bad.opt:2: parse error: expected '}'"},
        ErrorCase{"l = {1 2}\n", "bad.opt:1: parse error: expected '}'"},
        ErrorCase{"= 5\n", "bad.opt:1: parse error: empty attribute name"},
        ErrorCase{"a..b = 5\n", "bad.opt:1: parse error: empty attribute name"},
        ErrorCase{"a =\nb = 1\n", "bad.opt:1: parse error: empty attribute value"},
        ErrorCase{"l = {1,,2}\n", "bad.opt:1: parse error: empty attribute value"},
        ErrorCase{"a = UNDEFINED\n",
                  "bad.opt:1: parse error: macro not defined(UNDEFINED) ..."},
        ErrorCase{"a = \"x$(NOPE)y\"\n",
                  "bad.opt:1: parse error: macro not defined(NOPE) ..."},
        ErrorCase{"}\n", "bad.opt:1: parse error: unmatched '}'"},
        ErrorCase{"a = 1 2\n", "bad.opt:1: parse error: unexpected text after value"},
        ErrorCase{"a = 12abc\n", "bad.opt:1: parse error: invalid value \"12abc\""},
        ErrorCase{"a = 2147483648\n",
                  "bad.opt:1: parse error: integer out of range \"2147483648\""}));

TEST(OptionsErrors, StopsAtTheFirstErrorKeepingWhatCameBefore) {
  ut_options_database db;
  auto r = parseText(db, "a = 1\nb -= 2\nc = 3\n");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(db.get_root_node()->get_int("a"), 1);
  EXPECT_EQ(db.get_root_node()->find_attribute("b"), nullptr);
  EXPECT_EQ(db.get_root_node()->find_attribute("c"), nullptr);
}

TEST(OptionsErrors, CompatibilityModeSkipsTheLineAndContinues) {
  ut_options_database db;
  db.set_compatibility_mode(true);
  auto r = parseText(db,
                     "a = 1\n"
                     "b -= 2; lost = 1\n"
                     "blk {\n"
                     "  = 4\n"
                     "  c = 3\n"
                     "}\n"
                     "d = UNDEFINED\n"
                     "e = 5\n");
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(db.get_error_count(), 3);
  const ut_options_node* root = db.get_root_node();
  EXPECT_EQ(root->get_int("a"), 1);
  EXPECT_EQ(root->find_attribute("lost"), nullptr);
  EXPECT_EQ(root->find_child("blk")->get_int("c"), 3);
  EXPECT_EQ(root->find_attribute("d"), nullptr);
  EXPECT_EQ(root->get_int("e"), 5);
  EXPECT_NE(r.messages.find("t.opt:2: parse error: unknown operator sequence"),
            std::string::npos);
  EXPECT_NE(r.messages.find("t.opt:4: parse error: empty attribute name"),
            std::string::npos);
  EXPECT_NE(r.messages.find("t.opt:7: parse error: macro not defined(UNDEFINED) ..."),
            std::string::npos);
}

TEST(OptionsErrors, UnreadableFiles) {
  ut_options_database db;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(db.read_from_file_name("/nonexistent/dir/file.opt"));
  EXPECT_FALSE(db.read_from_file_name(nullptr));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  // A directory opens but cannot be read as a file.
  EXPECT_FALSE(db.read_from_file_name("/"));
}

TEST(OptionsErrors, BinaryJunkIsReportedNotFatal) {
  std::mt19937 rng(12345);
  for (int round = 0; round < 200; round++) {
    std::string junk(1 + rng() % 400, '\0');
    for (char& c : junk) c = static_cast<char>(rng() & 0xff);
    for (bool compat : {false, true}) {
      ut_options_database db;
      db.set_compatibility_mode(compat);
      db.set_allow_int32_lists(round % 2 == 0);
      auto r = parseText(db, junk);
      if (compat) {
        EXPECT_TRUE(r.ok);
      }
      if (!r.ok) {
        EXPECT_NE(r.messages.find("parse error: "), std::string::npos);
      }
    }
  }
}

TEST(OptionsErrors, VeryLongLinesAndValues) {
  std::string name(100000, 'n');
  std::string value(1 << 20, 'v');
  ut_options_database db;
  auto r = parseText(db, name + " = \"" + value + "\"\n");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(db.get_root_node()->get_string(name), value);
  auto bad = parseText(db, std::string(1 << 20, '@'));
  EXPECT_FALSE(bad.ok);
  EXPECT_NE(bad.messages.find("empty attribute name"), std::string::npos);
}

}  // namespace

// Nesting deep enough to overflow the stack of whoever walks the tree is
// refused at the reader, in both modes and however the depth is reached.
TEST(OptionsErrors, NestingDeeperThanTwoHundredLevelsIsRefused) {
  auto nested = [](int depth) {
    std::string text;
    for (int i = 0; i < depth; i++) text += "b {\n";
    text += "a = 1\n";
    for (int i = 0; i < depth; i++) text += "}\n";
    return text;
  };
  ut_options_database db;
  EXPECT_TRUE(parseText(db, nested(200)).ok);
  auto deep = parseText(db, nested(201));
  EXPECT_FALSE(deep.ok);
  EXPECT_NE(deep.messages.find("t.opt:201: parse error: nested deeper than 200 levels"),
            std::string::npos) << deep.messages;
  std::string dotted = "b";
  for (int i = 0; i < 300; i++) dotted += ".b";
  EXPECT_FALSE(parseText(db, dotted + " = 1\n").ok);
  for (bool compat : {false, true}) {
    ut_options_database hostile;
    hostile.set_compatibility_mode(compat);
    std::string braces = std::string(200000, '{') + std::string(200000, '}');
    auto r = parseText(hostile, braces);
    EXPECT_NE(r.messages.find("nested deeper than 200 levels"), std::string::npos);
  }
}
