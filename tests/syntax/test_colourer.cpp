// The line colourer: a table of lines and the runs they colour into, constructs
// crossing line ends, options, the colour of each class; and the quick parser's
// conditionals (code disabled by "#if 0", the live part of "#if 1", directives
// in comments, the open block pair carried to the next line).
#include <gtest/gtest.h>



#include "syn_test_util.h"
#include "syntax/syn_colors.h"

using syntest::Build;
using syntest::Render;
using syntest::RenderLines;
using syntest::StartStates;

namespace {

const char* const kCLike = R"(
language {
  general {
    name = "C"
    separator = " \t()[]{};,.+-*/=<>!&|:"
    escape = "\\"
  }
  keyword { name = { "int", "return", "if", "else", "while", "sizeof" } }
  preprocessor { name = { "#if", "#ifdef", "#else", "#elif", "#endif", "#define", "#include" } }
  comment { c { begin = "/*"; end = "*/" } }
  line_comment { leader = "//" }
  string {
    plain { begin = "\""; end = "\"" }
    raw { begin = "R\"("; end = ")\""; span_line = true }
  }
  character { one { begin = "'"; end = "'" } }
  integer { hex = true; decimal_suffix = { "u", "ul", "l" }; hex_suffix = { "u" } }
  float { suffix = { "f" } }
  customized { pattern = { "NULL", "my_*" } }
}
)";

class ColourerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lang = Build(kCLike);
    ASSERT_NE(lang, nullptr);
    ASSERT_EQ(lang->errorCount, 0);
  }
  void TearDown() override { syn_Settings() = synSettings(); }
  // The language built from kCLike with one piece of text replaced.
  static std::unique_ptr<synLanguage> Variant(const std::string& from, const std::string& to) {
    std::string text = kCLike;
    text.replace(text.find(from), from.size(), to);
    return Build(text);
  }
  std::unique_ptr<synLanguage> lang;
};

TEST_F(ColourerTest, LinesColourIntoRuns) {
  const std::pair<const char*, const char*> cases[] = {
      {"return if", "K:return|.: |K:if"},
      {"int x = y;", "K:int|.: x = y;"},
      {"a  b", ".:a  b"},
      {"a /* b */ int", ".:a |C:/* b */|.: |K:int"},
      {"\"a\\\"b\" int", "S:\"a\\\"b\"|.: |K:int"},
      {"\"a\\\\\" int", "S:\"a\\\\\"|.: |K:int"},
      {"'\\'' int", "H:'\\''|.: |K:int"},
      {"\"a\" \"b\"", "S:\"a\"|.: |S:\"b\""},
      {"s.int", ".:s.int"},  // a keyword next to member access is plain
      {"int.x", ".:int.x"},
      {"(int)", ".:(|K:int|.:)"},
      {"s.NULL", ".:s.NULL"},
      {"0x1Fu", "I:0x1Fu"},
      {"10 10u 10ul 10z", "I:10|.: |I:10u|.: |I:10ul|.: 10z"},
      {"3.14 1.5e+3 1.5e-3f 1e10", "F:3.14|.: |F:1.5e+3|.: |F:1.5e-3f|.: |F:1e10"},
      {"x = .5;", ".:x = |F:.5|.:;"},
      {"a1.5", ".:a1.5"},
      {"#include <x.h>", "P:#include|.: <x.h>"},
      {"  #  define X 1", ".:  |P:#  define|.: X |I:1"},
      {"x #define", ".:x #define"},
      {"#pragma", ".:#pragma"},
      {"a // b /* c", ".:a |L:// b /* c"},
      {"NULL my_thing your_thing", "U:NULL|.: |U:my_thing|.: your_thing"},
  };
  for (const auto& [line, runs] : cases) EXPECT_EQ(Render(lang.get(), line), runs) << line;
  EXPECT_EQ(Render(lang.get(), "a  b", {}, true), ".:a|.:  |.:b");  // every piece apart
  EXPECT_EQ(Render(lang.get(), "xint y", {SYN_SKIP_FIRST, 0}).substr(0, 6), "K:int|");
}

TEST_F(ColourerTest, ConstructsCrossingLineEnds) {
  const std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> cases = {
      {{"int a; /* open", "still open", "close */ b"},
       {"K:int|.: a; |C:/* open", "C:still open", "C:close */|.: b"}},
      {{"x = \"abc", "int"}, {".:x = |S:\"abc", "K:int"}},  // no span_line: ends with the line
      {{"x = \"abc\\", "def\" int"}, {".:x = |S:\"abc\\", "S:def\"|.: |K:int"}},
      {{"s = R\"(abc", "def", "ghi)\" int"}, {".:s = |s:R\"(abc", "s:def", "s:ghi)\"|.: |K:int"}},
      {{"a // b /* c", "int"}, {".:a |L:// b /* c", "K:int"}},
  };
  for (const auto& [lines, rendered] : cases) EXPECT_EQ(RenderLines(lang.get(), lines), rendered);
  synState end = 1234;
  Render(lang.get(), "int a; /* open", {}, false, &end);
  EXPECT_EQ(end, SYN_COMMENT);
  Render(lang.get(), "a /* b */", {}, false, &end);
  EXPECT_EQ(end, 0u);
}

TEST_F(ColourerTest, LanguageSwitchesAndOptions) {
  EXPECT_EQ(Render(Variant("\"C\"", "\"Other\"").get(), "s.int"), ".:s.|K:int")
      << "the member-access rule is for C and C++ only";
  auto nohex = Variant("hex = true", "hex = false");
  EXPECT_EQ(Render(nohex.get(), "0x1F"), ".:0x1F");
  EXPECT_EQ(Render(nohex.get(), "42"), "I:42");
  syn_Settings().cppCommentsInC = false;
  EXPECT_EQ(Render(lang.get(), "a // b"), ".:a // b");
}

TEST_F(ColourerTest, ColourOfEachClassSwitchesAndLanguageColours) {
  synDefaultPixels& d = syn_DefaultPixels();
  const synDefaultPixels saved = d;
  d = {1, 2, 3, 4, 5, 6, 7, 8};
  const struct { synState status; synPixel want; } cases[] = {
      {0, 1}, {SYN_STRING, 2}, {SYN_STRING2, 2}, {SYN_CHARACTER2, 3}, {SYN_DEAD_CODE, 4},
      {SYN_COMMENT, 5}, {SYN_LINE_COMMENT, 5}, {SYN_KEYWORD, 6}, {SYN_PREPROCESSOR, 6},
      {SYN_INTEGER, 7}, {SYN_FLOAT, 7}, {SYN_BLOCK, 8}, {SYN_CUSTOMIZED, 8},
      {SYN_STRING | SYN_COMMENT, 2},
  };
  for (const auto& c : cases) {
    synPixel fg = 99;
    lang->GetColorForStatus(c.status, &fg, nullptr);
    EXPECT_EQ(fg, c.want) << std::hex << c.status;
  }
  synPixel fg = 99;
  syn_Settings().colorComment = false;
  lang->GetColorForStatus(SYN_COMMENT, &fg, nullptr);
  EXPECT_EQ(fg, 1u);
  syn_Settings().colorsyntax = false;
  fg = 99;
  lang->GetColorForStatus(SYN_KEYWORD, &fg, nullptr);
  EXPECT_EQ(fg, 99u);
  syn_Settings() = synSettings();
  auto coloured = Variant("keyword {", "keyword { color = \"#123456\";");
  coloured->GetColorForStatus(SYN_KEYWORD, &fg, nullptr);
  EXPECT_EQ(fg, 0x123456u) << "the language's own colour wins";
  d = saved;
}

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

}  // namespace
