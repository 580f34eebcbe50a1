// The quick parser's conditional tracking: code disabled by a conditional
// on 0 (with nested conditionals, else, elif and endif), the live region
// of a conditional on a non-zero number, directives inside comments, and
// the open block pair carried to the next line.
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

TEST_F(ConditionalTest, DisabledLines) {
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{"#if 0", "int a;", "#ifdef X", "b", "#else", "c", "#endif", "d", "#endif", "e"},
       ".DDDDDDDD."},  // up to its own endif across nested conditionals
      {{"#if 0", "a", "#ifndef Y", "b", "#endif", "#else", "c", "#endif", "d"}, ".DDDDD..."},
      {{"#if 0", "a", "#elif 0", "b", "#elif X", "c", "#endif", "d"}, ".DDDD..."},
      {{"#if 0", "a", "#elif 1", "b", "#else", "c", "#endif", "d"}, ".DD..DD."},
      {{"#if 1", "a", "#ifdef X", "b", "#else", "c", "#endif", "#else", "d", "#elif 2", "e",
        "#else", "f", "#endif", "g"},
       "........DDDDDD."},  // a non-zero condition disables its else part
      {{"#if 0x0", "a", "#endif", "x"}, ".DD."},
      {{"  #  if 0 /* off */", "a", "#endif", "x"}, ".DD."},
      {{"#if 0 // off", "a", "#endif", "x"}, ".DD."},
      {{"#if 0 && X", "a", "#endif"}, "..."},  // only a plain number counts
      {{"#if 00x", "a", "#endif"}, "..."},
      {{"#if(0)", "a", "#endif"}, "..."},
      {{"#ifdef 0", "a", "#endif"}, "..."},
      {{"#if 0", "#elsewhere", "a", "#endifx", "b", "#endif/* x */", "c"}, ".DDDDD."},
      {{"#if 0", "/* start", "#endif", "end */", "#endif", "x"}, ".DDDD."},  // in comments
      {{"/*", "#if 0", "*/", "x"}, "...."},
  };
  for (const auto& [lines, map] : cases) EXPECT_EQ(DeadMap(lines), map) << lines[0];
  const auto rendered = RenderLines(lang.get(), {"#if 0", "int a;", "#endif", "e"});
  EXPECT_EQ(rendered, (std::vector<std::string>{"P:#if|.: 0", "D:int a;", "D:#endif", ".:e"}));
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
