// The quick parser's conditional tracking: code disabled by a conditional
// on 0 (with nested conditionals, else, elif and endif), the live region
// of a conditional on a non-zero number, directives inside comments, and
// the condition word carried to the next line.
#include <gtest/gtest.h>

#include "syn_test_util.h"

using syntest::Build;
using syntest::RenderLines;
using syntest::StartStates;

namespace {

const char* const kDefinition = R"(
language {
  general { name = "C"; separator = " \t()[]{};,.+-*/=<>!&|:"; escape = "\\" }
  keyword { name = { "int" } }
  preprocessor { name = { "#if", "#ifdef", "#ifndef", "#else", "#elif", "#endif", "#define" } }
  comment { c { begin = "/*"; end = "*/" } }
  line_comment { leader = "//" }
  string { s { begin = "\""; end = "\"" } }
  block { b { begin = "[["; end = "]]"; span_line = false } b2 { begin = "<<"; end = ">>" } }
}
)";

class ConditionalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lang = Build(kDefinition);
    ASSERT_NE(lang, nullptr);
    ASSERT_EQ(lang->errorCount, 0);
  }
  // One character per line: 'D' when the line starts in disabled code.
  std::string DeadMap(const std::vector<std::string>& lines) {
    std::string map;
    for (const synLineStart& s : StartStates(lang.get(), lines)) {
      map += (s.state & SYN_DEAD_CODE) ? 'D' : '.';
    }
    return map;
  }
  std::unique_ptr<synLanguage> lang;
};

TEST_F(ConditionalTest, IfZeroDisablesUpToItsEndifAcrossNestedIfdefs) {
  const std::vector<std::string> lines = {"#if 0", "int a;", "#ifdef X", "b", "#else",
                                          "c", "#endif", "d", "#endif", "e"};
  EXPECT_EQ(DeadMap(lines), ".DDDDDDDD.");
  const auto rendered = RenderLines(lang.get(), lines);
  EXPECT_EQ(rendered[0], "P:#if|.: 0");
  EXPECT_EQ(rendered[1], "D:int a;");
  EXPECT_EQ(rendered[8], "D:#endif");
  EXPECT_EQ(rendered[9], ".:e");
}

TEST_F(ConditionalTest, ElseAtDepthOneEndsDisabledCode) {
  EXPECT_EQ(DeadMap({"#if 0", "a", "#ifndef Y", "b", "#endif", "#else", "c", "#endif", "d"}),
            ".DDDDD...");
}

TEST_F(ConditionalTest, ElifAtDepthOneIsScannedAsLiveCode) {
  EXPECT_EQ(DeadMap({"#if 0", "a", "#elif 0", "b", "#elif X", "c", "#endif", "d"}),
            ".DDDD...");
  EXPECT_EQ(DeadMap({"#if 0", "a", "#elif 1", "b", "#else", "c", "#endif", "d"}),
            ".DD..DD.");
}

TEST_F(ConditionalTest, NonZeroConditionalDisablesItsElsePart) {
  EXPECT_EQ(DeadMap({"#if 1", "a", "#ifdef X", "b", "#else", "c", "#endif", "#else", "d",
                     "#elif 2", "e", "#else", "f", "#endif", "g"}),
            "........DDDDDD.");
}

TEST_F(ConditionalTest, ExpressionMustBeAPlainNumber) {
  EXPECT_EQ(DeadMap({"#if 0x0", "a", "#endif", "x"}), ".DD.");
  EXPECT_EQ(DeadMap({"  #  if 0 /* off */", "a", "#endif", "x"}), ".DD.");
  EXPECT_EQ(DeadMap({"#if 0 // off", "a", "#endif", "x"}), ".DD.");
  EXPECT_EQ(DeadMap({"#if 0 && X", "a", "#endif"}), "...");
  EXPECT_EQ(DeadMap({"#if 00x", "a", "#endif"}), "...");
  EXPECT_EQ(DeadMap({"#if(0)", "a", "#endif"}), "...");
  EXPECT_EQ(DeadMap({"#ifdef 0", "a", "#endif"}), "...");
}

TEST_F(ConditionalTest, DirectiveNamesMustEndTheWord) {
  EXPECT_EQ(DeadMap({"#if 0", "#elsewhere", "a", "#endifx", "b", "#endif/* x */", "c"}),
            ".DDDDD.");
}

TEST_F(ConditionalTest, DirectivesInsideCommentsDoNotCount) {
  EXPECT_EQ(DeadMap({"#if 0", "/* start", "#endif", "end */", "#endif", "x"}), ".DDDD.");
  EXPECT_EQ(DeadMap({"/*", "#if 0", "*/", "x"}), "....");
}

TEST_F(ConditionalTest, ConditionWordCarriesDepthAndLiveRegion) {
  const auto starts = StartStates(lang.get(), {"#if 0", "#ifdef A", "#ifdef B", "x", "#if 1",
                                               "#ifdef C", "y"});
  EXPECT_EQ(starts[1].condition & SYN_COND_DEPTH_MASK, 1u);
  EXPECT_EQ(starts[3].condition & SYN_COND_DEPTH_MASK, 3u);
  EXPECT_EQ(starts[4].condition & SYN_COND_DEPTH_MASK, 3u);
  EXPECT_EQ(starts[1].condition & SYN_COND_LIVE, 0u);
  const auto live = StartStates(lang.get(), {"#if 1", "#ifdef C", "y", "#endif", "z"});
  EXPECT_EQ(live[1].condition, SYN_COND_LIVE | 1u);
  EXPECT_EQ(live[2].condition, SYN_COND_LIVE | 2u);
  EXPECT_EQ(live[4].condition, SYN_COND_LIVE | 1u);
  EXPECT_EQ(live[4].state, 0u);
}

TEST_F(ConditionalTest, OpenBlockPairIsCarriedInTheConditionWord) {
  const std::vector<std::string> lines = {"a << b", "c >> int", "d [[ e", "int"};
  const auto starts = StartStates(lang.get(), lines);
  EXPECT_EQ(starts[1].state, SYN_BLOCK);
  EXPECT_EQ(syn_CondPairIndex(starts[1].condition), 1);
  EXPECT_EQ(starts[3].state, 0u) << "the first block pair does not span lines";
  const auto rendered = RenderLines(lang.get(), lines);
  EXPECT_EQ(rendered[1], "B:c >>|.: |K:int");
  EXPECT_EQ(rendered[2], ".:d |B:[[ e");
}

TEST_F(ConditionalTest, StringStateFollowsTheSpanRule) {
  const auto starts = StartStates(lang.get(), {"\"abc", "x", "\"abc\\", "x", "// c \\", "x"});
  EXPECT_EQ(starts[1].state, 0u);
  EXPECT_EQ(starts[3].state, SYN_STRING);
  EXPECT_EQ(starts[5].state, SYN_LINE_COMMENT);
}

TEST(ConditionalOptions, CaseInsensitiveDirectivesAndPascalPriority) {
  auto lang = Build(R"(
language {
  general { name = "Other"; separator = " \t"; pascal_style_priority = true }
  preprocessor { name = { "%IF", "%ENDIF", "%ELSE" }; case_sensitive = false }
  comment { c { begin = "{"; end = "}" } }
}
)");
  ASSERT_NE(lang, nullptr);
  EXPECT_EQ(lang->GetPreprocessorLeader(), '%');
  const auto starts = StartStates(lang.get(), {"%if 0", "a { b", "%Endif", "c"});
  EXPECT_EQ(starts[1].state, SYN_DEAD_CODE);
  EXPECT_EQ(starts[2].state, SYN_DEAD_CODE) << "disabled lines are not scanned";
  EXPECT_EQ(starts[3].state, 0u);
}

}  // namespace
