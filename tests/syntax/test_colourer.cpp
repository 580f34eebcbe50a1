// The line colourer: tokens of every class, constructs crossing line ends,
// escapes, the member-access rule for keywords, number forms, run merging,
// the state bits 0 and 1, and the colours chosen for each class.
#include <gtest/gtest.h>

#include "base/gen.h"
#include "syn_test_util.h"
#include "syntax/syn_colors.h"

using syntest::Build;
using syntest::Render;
using syntest::RenderLines;

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
  std::unique_ptr<synLanguage> lang;
};

TEST_F(ColourerTest, KeywordsSeparatedByOneBlankGiveThreeRuns) {
  EXPECT_EQ(Render(lang.get(), "return if"), "K:return|.: |K:if");
  EXPECT_EQ(Render(lang.get(), "int x = y;"), "K:int|.: x = y;");
}

TEST_F(ColourerTest, EveryPieceKeepsPlainPiecesApart) {
  EXPECT_EQ(Render(lang.get(), "a  b"), ".:a  b");
  EXPECT_EQ(Render(lang.get(), "a  b", {}, true), ".:a|.:  |.:b");
}

TEST_F(ColourerTest, BlockCommentCrossesLineEnds) {
  const std::vector<std::string> lines = {"int a; /* open", "still open", "close */ b",
                                          "c"};
  const auto rendered = RenderLines(lang.get(), lines);
  EXPECT_EQ(rendered[0], "K:int|.: a; |C:/* open");
  EXPECT_EQ(rendered[1], "C:still open");
  EXPECT_EQ(rendered[2], "C:close */|.: b");
  EXPECT_EQ(rendered[3], ".:c");
  synState end = 0;
  Render(lang.get(), lines[0], {}, false, &end);
  EXPECT_EQ(end, SYN_COMMENT);
}

TEST_F(ColourerTest, CommentClosedOnItsLineLeavesPlainState) {
  synState end = 1234;
  EXPECT_EQ(Render(lang.get(), "a /* b */ int", {}, false, &end), ".:a |C:/* b */|.: |K:int");
  EXPECT_EQ(end, 0u);
}

TEST_F(ColourerTest, UnterminatedStringWithoutSpanLineClosesAtLineEnd) {
  const auto rendered = RenderLines(lang.get(), {"x = \"abc", "int"});
  EXPECT_EQ(rendered[0], ".:x = |S:\"abc");
  EXPECT_EQ(rendered[1], "K:int");
}

TEST_F(ColourerTest, EscapeAtLineEndCarriesTheString) {
  const auto rendered = RenderLines(lang.get(), {"x = \"abc\\", "def\" int"});
  EXPECT_EQ(rendered[0], ".:x = |S:\"abc\\");
  EXPECT_EQ(rendered[1], "S:def\"|.: |K:int");
}

TEST_F(ColourerTest, SpanLineStringContinuesOnTheNextLine) {
  const auto rendered = RenderLines(lang.get(), {"s = R\"(abc", "def", "ghi)\" int"});
  EXPECT_EQ(rendered[0], ".:s = |s:R\"(abc");
  EXPECT_EQ(rendered[1], "s:def");
  EXPECT_EQ(rendered[2], "s:ghi)\"|.: |K:int");
}

TEST_F(ColourerTest, EscapedDelimiterDoesNotEndTheString) {
  EXPECT_EQ(Render(lang.get(), "\"a\\\"b\" int"), "S:\"a\\\"b\"|.: |K:int");
  EXPECT_EQ(Render(lang.get(), "\"a\\\\\" int"), "S:\"a\\\\\"|.: |K:int");
  EXPECT_EQ(Render(lang.get(), "'\\'' int"), "H:'\\''|.: |K:int");
}

TEST_F(ColourerTest, KeywordNextToMemberAccessIsPlain) {
  EXPECT_EQ(Render(lang.get(), "s.int"), ".:s.int");
  EXPECT_EQ(Render(lang.get(), "p->int"), ".:p->int");
  EXPECT_EQ(Render(lang.get(), "int.x"), ".:int.x");
  EXPECT_EQ(Render(lang.get(), "int->x"), ".:int->x");
  EXPECT_EQ(Render(lang.get(), "(int)"), ".:(|K:int|.:)");
  EXPECT_EQ(Render(lang.get(), "s.NULL"), ".:s.NULL");
}

TEST_F(ColourerTest, MemberAccessRuleIsForCAndCppOnly) {
  std::string other = kCLike;
  other.replace(other.find("\"C\""), 3, "\"Other\"");
  auto lang2 = Build(other);
  ASSERT_NE(lang2, nullptr);
  EXPECT_EQ(Render(lang2.get(), "s.int"), ".:s.|K:int");
}

TEST_F(ColourerTest, NumbersWithHexSuffixesAndExponents) {
  EXPECT_EQ(Render(lang.get(), "0x1Fu"), "I:0x1Fu");
  EXPECT_EQ(Render(lang.get(), "10 10u 10ul 10z"), "I:10|.: |I:10u|.: |I:10ul|.: 10z");
  EXPECT_EQ(Render(lang.get(), "3.14 1.5e+3 1.5e-3f 1e10"),
            "F:3.14|.: |F:1.5e+3|.: |F:1.5e-3f|.: |F:1e10");
  EXPECT_EQ(Render(lang.get(), "x = .5;"), ".:x = |F:.5|.:;");
  EXPECT_EQ(Render(lang.get(), "1.5q 12abc"), ".:1.5q 12abc");
  EXPECT_EQ(Render(lang.get(), "a1.5"), ".:a1.5");
}

TEST_F(ColourerTest, HexNeedsTheHexSwitch) {
  std::string nohex = kCLike;
  nohex.replace(nohex.find("hex = true"), 10, "hex = false");
  auto lang2 = Build(nohex);
  ASSERT_NE(lang2, nullptr);
  EXPECT_EQ(Render(lang2.get(), "0x1F"), ".:0x1F");
  EXPECT_EQ(Render(lang2.get(), "42"), "I:42");
}

TEST_F(ColourerTest, PreprocessorWordsNeedTheLeaderFirstOnTheLine) {
  EXPECT_EQ(lang->GetPreprocessorLeader(), '#');
  EXPECT_EQ(Render(lang.get(), "#include <x.h>"), "P:#include|.: <x.h>");
  EXPECT_EQ(Render(lang.get(), "  #  define X 1"), ".:  |P:#  define|.: X |I:1");
  EXPECT_EQ(Render(lang.get(), "x #define"), ".:x #define");
  EXPECT_EQ(Render(lang.get(), "#pragma"), ".:#pragma");
}

TEST_F(ColourerTest, LineCommentsRunToTheLineEnd) {
  EXPECT_EQ(Render(lang.get(), "a // b /* c"), ".:a |L:// b /* c");
  const auto rendered = RenderLines(lang.get(), {"a // b /* c", "int"});
  EXPECT_EQ(rendered[1], "K:int");
}

TEST_F(ColourerTest, LineCommentsInCFollowTheOption) {
  syn_Settings().cppCommentsInC = false;
  EXPECT_EQ(Render(lang.get(), "a // b"), ".:a // b");
}

TEST_F(ColourerTest, CustomizedWordsAndPatterns) {
  EXPECT_EQ(Render(lang.get(), "NULL my_thing your_thing"),
            "U:NULL|.: |U:my_thing|.: your_thing");
}

TEST_F(ColourerTest, CharactersAndStrings) {
  EXPECT_EQ(Render(lang.get(), "c = 'x';"), ".:c = |H:'x'|.:;");
  EXPECT_EQ(Render(lang.get(), "\"a\" \"b\""), "S:\"a\"|.: |S:\"b\"");
}

TEST_F(ColourerTest, SkipFirstAndNoColourBits) {
  std::vector<synRun> runs;
  lang->CalculateTextSynstate(
      SYN_NO_COLOR, "int x", 0, 5, 5, false,
      [](synLanguageInterface*, void* ctx, const char*, int start, int count, synState s) {
        static_cast<std::vector<synRun>*>(ctx)->push_back({start, count, s});
      },
      &runs, nullptr);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0], (synRun{0, 3, SYN_KEYWORD | SYN_NO_COLOR}));
  EXPECT_EQ(runs[1], (synRun{3, 2, SYN_NO_COLOR}));
  synPixel fg = 77;
  lang->GetColorForStatus(runs[0].status, &fg, nullptr);
  EXPECT_EQ(fg, 77u);

  EXPECT_EQ(Render(lang.get(), "xint y", {SYN_SKIP_FIRST, 0}).substr(0, 6), "K:int|");
}

TEST_F(ColourerTest, TextPastTheLengthIsNeverRead) {
  const char text[] = "int /* never";
  std::vector<synRun> runs;
  syn_ColorLine(lang.get(), {}, text, 3, &runs);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0], (synRun{0, 3, SYN_KEYWORD}));
}

TEST_F(ColourerTest, StateAtAPositionAndElementStarts) {
  const char* line = "int a = \"x /* y\"; /* z";
  EXPECT_EQ(syn_SynstateAt(0, line, 10, lang.get(), nullptr), SYN_STRING);
  EXPECT_EQ(syn_SynstateAt(0, line, 17, lang.get(), nullptr), 0u);
  EXPECT_EQ(syn_SynstateAt(0, line, 24, lang.get(), nullptr), SYN_COMMENT);
  EXPECT_EQ(syn_SynstateAt(SYN_COMMENT, line, 0, lang.get(), nullptr), SYN_COMMENT);
  EXPECT_EQ(lang->GetSyntaxElementStartPosition(0, line, 12, 24), 8);
  EXPECT_EQ(lang->GetSyntaxElementStartPosition(0, line, 2, 24), 0);
}

TEST(ColorLine, WithoutALanguageTheLineIsOnePlainRun) {
  std::vector<synRun> runs;
  EXPECT_EQ(syn_ColorLine(nullptr, {}, "int x", 5, &runs), 0u);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0], (synRun{0, 5, 0}));
  syn_ColorLine(nullptr, {}, "", 0, &runs);
  EXPECT_TRUE(runs.empty());
}

TEST(NoneLanguage, ColoursEverythingPlain) {
  synLanguage none(true);
  none.Finish();
  EXPECT_TRUE(none.IsNone());
  EXPECT_EQ(Render(&none, "int x = \"a\"; /* c */"), ".:int x = \"a\"; /* c */");
  EXPECT_EQ(syn_GetSynstate(&none, nullptr, nullptr, 0), synLineStart{});
  synLineStart prev{SYN_COMMENT, 0};
  EXPECT_EQ(syn_GetSynstate(&none, &prev, "x", 1), synLineStart{});
}

TEST(StateNames, NamesAndPureStatus) {
  char* names = GetNameForSynstate(SYN_COMMENT | SYN_DEAD_CODE | SYN_STRING2 | SYN_FLOAT);
  EXPECT_STREQ(names, "DEAD_CODE STRING COMMENT FLOAT");
  gen_free(names);
  names = GetNameForSynstate(0);
  EXPECT_STREQ(names, "");
  gen_free(names);
  EXPECT_EQ(GetPureSyntaxStatus(SYN_COMMENT | SYN_STRING2 | SYN_CHARACTER), SYN_STRING2);
  EXPECT_EQ(GetPureSyntaxStatus(SYN_COMMENT | SYN_DEAD_CODE), SYN_DEAD_CODE);
  EXPECT_EQ(GetPureSyntaxStatus(SYN_KEYWORD | SYN_LINE_COMMENT), SYN_LINE_COMMENT);
  EXPECT_EQ(GetPureSyntaxStatus(SYN_NO_COLOR), 0u);
}

class ColourChoiceTest : public ColourerTest {};

TEST_F(ColourChoiceTest, DefaultPixelsPerClass) {
  synDefaultPixels& d = syn_DefaultPixels();
  const synDefaultPixels saved = d;
  d = {1, 2, 3, 4, 5, 6, 7, 8};
  const struct { synState status; synPixel want; } cases[] = {
      {0, 1}, {SYN_STRING, 2}, {SYN_STRING2, 2}, {SYN_CHARACTER2, 3}, {SYN_DEAD_CODE, 4},
      {SYN_COMMENT, 5}, {SYN_LINE_COMMENT, 5}, {SYN_KEYWORD, 6}, {SYN_PREPROCESSOR, 6},
      {SYN_INTEGER, 7}, {SYN_FLOAT, 7}, {SYN_BLOCK, 8}, {SYN_CUSTOMIZED, 8},
      {SYN_STRING | SYN_COMMENT, 2}, {SYN_COMMENT | SYN_KEYWORD, 5},
  };
  for (const auto& c : cases) {
    synPixel fg = 99;
    lang->GetColorForStatus(c.status, &fg, nullptr);
    EXPECT_EQ(fg, c.want) << std::hex << c.status;
  }
  d = saved;
}

TEST_F(ColourChoiceTest, SwitchesAndTheMasterOption) {
  synPixel fg = 99;
  syn_Settings().colorComment = false;
  lang->GetColorForStatus(SYN_COMMENT, &fg, nullptr);
  EXPECT_EQ(fg, syn_DefaultPixels().fg);
  fg = 99;
  lang->GetColorForStatus(SYN_KEYWORD, &fg, nullptr);
  EXPECT_EQ(fg, syn_DefaultPixels().keyword);
  syn_Settings().colorsyntax = false;
  fg = 99;
  lang->GetColorForStatus(SYN_KEYWORD, &fg, nullptr);
  EXPECT_EQ(fg, 99u);
  lang->GetColorForStatus(SYN_KEYWORD, nullptr, nullptr);  // no foreground: nothing
}

TEST_F(ColourChoiceTest, LanguageColoursWinOverDefaults) {
  std::string coloured = kCLike;
  coloured.replace(coloured.find("keyword {"), 9, "keyword { color = \"#123456\";");
  coloured.replace(coloured.find("comment {"), 9, "comment { color = \"none\";");
  auto lang2 = Build(coloured);
  ASSERT_NE(lang2, nullptr);
  EXPECT_EQ(lang2->errorCount, 0);
  synPixel fg = 0;
  lang2->GetColorForStatus(SYN_KEYWORD, &fg, nullptr);
  EXPECT_EQ(fg, 0x123456u);
  lang2->GetColorForStatus(SYN_COMMENT, &fg, nullptr);
  EXPECT_EQ(fg, syn_DefaultPixels().comment);
}

TEST(ColourNames, BuiltInParser) {
  synPixel p = 0;
  EXPECT_TRUE(syn_ParseColorName("#abc", &p));
  EXPECT_EQ(p, 0xaabbccu);
  EXPECT_TRUE(syn_ParseColorName("#102030", &p));
  EXPECT_EQ(p, 0x102030u);
  EXPECT_TRUE(syn_ParseColorName("#1000200030ff", &p));
  EXPECT_EQ(p, 0x102030u);
  EXPECT_TRUE(syn_ParseColorName("rgb:ff/8/0", &p));
  EXPECT_EQ(p, 0xff8800u);
  EXPECT_TRUE(syn_ParseColorName("DarkGreen", &p));
  EXPECT_EQ(p, 0x006400u);
  EXPECT_FALSE(syn_ParseColorName("#12345", &p));
  EXPECT_FALSE(syn_ParseColorName("nosuchcolour", &p));
  EXPECT_FALSE(syn_ParseColorName("", &p));
}

}  // namespace
