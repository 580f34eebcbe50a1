// Reading language definitions: a well-formed file, every warning of a
// malformed one (each counted as an error of the file), the two-pair
// limit, and the finishing steps: sorting, separators, the preprocessor
// leader and the word buffer.
#include <gtest/gtest.h>

#include "base/debugflag.h"
#include "syn_test_util.h"
#include "syntax/syn_definition.h"

using syntest::Build;
using syntest::MessageCapture;
using syntest::Render;

namespace {

int Occurrences(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) n++;
  return n;
}

// Builds `definition` and returns the messages it gave.
std::string WarningsOf(const std::string& definition, std::unique_ptr<synLanguage>* out = nullptr) {
  MessageCapture messages;
  auto lang = Build(definition, &messages);
  if (out) *out = std::move(lang);
  return messages.text();
}

TEST(DefinitionReader, WellFormedDefinitionLoadsEveryTree) {
  MessageCapture messages;
  auto lang = Build(R"D(
version = "2.1"
language {
  general {
    name = "Pascal"; description = "test language"; first_line_pattern = "^program"
    extension = { "pp", "pas" }; separator = " ;"; escape = "\\x"
    pascal_style_priority = true; case_sensitive = false
  }
  keyword { name = { "while", "Begin", "end" }; autocomplete = true; color = "#010203" }
  preprocessor { name = { "#if", "#endif" }; case_sensitive = true; autocomplete = false }
  comment { color = "none"; { begin = "(*"; end = "*)" } }
  line_comment { color = "red"; leader = "//" }
  string { color = "blue"; a { begin = "'"; end = "'"; span_line = true } }
  character { b { begin = "#"; end = "#" } }
  block { c { begin = "<%"; end = "%>" } d { begin = "[["; end = "]]"; span_line = false } }
  integer { hex = true; decimal_suffix = "L"; hex_suffix = { "h" }; case_sensitive = true }
  float { suffix = { "d" }; scientific = false }
  customized { pattern = { "writeln", "Sys*" }; autocomplete = false }
  autocomplete { match = "first"; name = { "extra" }; max_match = 5; min_string_length = 3
                 name_value_separator = ":x"; grab_prototype = true; show_prototype = true }
  unrelated { anything = 1 }
}
)D", &messages);
  ASSERT_NE(lang, nullptr);
  EXPECT_EQ(messages.text(), "");
  EXPECT_EQ(lang->errorCount, 0);
  EXPECT_EQ(lang->kind, synLanguage::KIND_PASCAL);
  EXPECT_EQ(lang->extensions, (std::vector<std::string>{"pas", "pp"}));
  EXPECT_EQ(lang->escape, '\\');
  EXPECT_TRUE(lang->pascalStylePriority);
  EXPECT_TRUE(lang->keywords.Contains("BEGIN", 5)) << "case_sensitive = false";
  EXPECT_FALSE(lang->preprocessor.Contains("#IF", 3)) << "its own case_sensitive";
  EXPECT_FALSE(lang->commentColor.allocated());
  EXPECT_EQ(lang->lineCommentColor.pixel(), 0xff0000u);
  EXPECT_EQ(lang->keywordColor.pixel(), 0x010203u);
  EXPECT_TRUE(lang->strings[0].spanLines);
  EXPECT_FALSE(lang->characters[0].spanLines);
  ASSERT_EQ(lang->blocks.size(), 2u);
  EXPECT_FALSE(lang->blocks[1].spanLines);
  EXPECT_FALSE(lang->floatScientific);
  EXPECT_EQ(lang->customizedPatterns, (std::vector<std::string>{"Sys*"}));
  EXPECT_EQ(lang->wordBufferSize, 8u);  // "writeln" + 1
}

TEST(DefinitionReader, TopLevelAttributesAndTrees) {
  std::unique_ptr<synLanguage> lang;
  const std::string text = WarningsOf(R"D(
version = "1"
colour = "x"
language { general { name = "X" } }
other { }
)D", &lang);
  ASSERT_NE(lang, nullptr) << "the language tree is still read";
  EXPECT_NE(text.find("Warning: Invalid attribute colour in file:\n\ttest.gsl\n"), std::string::npos);
  EXPECT_NE(text.find("Warning: More than one attribute tree is defined in file \n\ttest.gsl\n"
                      "We only consider the one defining language, other attribute tree(s) "
                      "is ignored.\n"),
            std::string::npos);
  EXPECT_EQ(lang->errorCount, 2);
  EXPECT_NE(text.find("The following language definition file may be in the old format:\n"
                      "test.gsl\n\nIf so, please update all the language definition files in "
                      "your\nVORNE site configuration directory"),
            std::string::npos);
}

TEST(DefinitionReader, WithoutLanguageTreeOrNameThereIsNoLanguage) {
  std::unique_ptr<synLanguage> lang;
  std::string text = WarningsOf("other { general { name = \"X\" } }", &lang);
  EXPECT_EQ(lang, nullptr);
  EXPECT_NE(text.find("Error: No attribute tree is defined for language in file:\n\ttest.gsl\n"),
            std::string::npos);
  text = WarningsOf("language { general { description = \"no name\" } }", &lang);
  EXPECT_EQ(lang, nullptr);
  EXPECT_NE(text.find("may be in the old format"), std::string::npos);
}

TEST(DefinitionReader, UnknownKeysTreesValuesAndPairsAreReportedAndCounted) {
  std::unique_ptr<synLanguage> lang;
  const std::string text = WarningsOf(R"D(
language {
  general { name = "X"; case_sensitive = "yes"; sub { a = 1 } }
  keyword { name = { "a" }; colour = "red"; color = "no-such-colour" }
  line_comment { one = "#"; two = { "--", "//" }; three = 5 }
  autocomplete { match = "worst"; max_match = "many" }
  stray = 1
  string { p { begin = "\""; end = "\""; weird = 1; inner { } } q { begin = "'" } }
  comment { c { begin = "/*"; end = "*/"; span_line = false } d { end = "x"; begin = "" } }
}
)D", &lang);
  ASSERT_NE(lang, nullptr);
  const char* expected[] = {
      "Warning: Invalid attribute value for general.case_sensitive in file:\n\ttest.gsl\n",
      "Warning: Invalid attribute tree(s) of general is ignored in file:\n\ttest.gsl\n",
      "Warning: Invalid attribute keyword.colour in file:\n\ttest.gsl\n",
      "Invalid color setting for keyword in file \n\ttest.gsl.\n",
      "Warning: Invalid attribute value for line_comment.three in file:\n\ttest.gsl\n",
      "Unknown configuration option value \"worst\"",
      "Warning: Invalid attribute value for autocomplete.max_match in file:\n\ttest.gsl\n",
      "Warning: Invalid attribute language.stray in file:\n\ttest.gsl\n",
      "Warning: Invalid attribute string.p.weird in file:\n\ttest.gsl\n",
      "Warning: Invalid attribute tree(s) of string.p is ignored in file:\n\ttest.gsl\n",
      "Warning: Incomplete definition is ignored for \"string.q\" in file \n\ttest.gsl.\n",
      "Warning: Invalid attribute comment.c.span_line in file:\n\ttest.gsl\n",
      "Warning: Incomplete definition is ignored for \"comment.d\" in file \n\ttest.gsl.\n",
  };
  for (const char* e : expected) EXPECT_NE(text.find(e), std::string::npos) << e;
  EXPECT_EQ(lang->errorCount, 13);
  EXPECT_EQ(lang->lineComments.size(), 3u);
  EXPECT_EQ(lang->strings.size(), 1u);
  EXPECT_EQ(lang->comments.size(), 1u);
  EXPECT_TRUE(lang->caseSensitive) << "a value of the wrong type is ignored";
}

TEST(DefinitionReader, AtMostTwoStringAndCharacterPairsWarningOnce) {
  std::unique_ptr<synLanguage> lang;
  const std::string text = WarningsOf(R"D(
language {
  general { name = "X" }
  string { a { begin = "1"; end = "1" } b { begin = "2"; end = "2" }
           c { begin = "3"; end = "3" } d { begin = "4"; end = "4" } }
  character { a { begin = "5"; end = "5" } b { begin = "6"; end = "6" }
              c { begin = "7"; end = "7" } }
  block { a { begin = "a"; end = "a" } b { begin = "b"; end = "b" } c { begin = "c"; end = "c" } }
}
)D", &lang);
  ASSERT_NE(lang, nullptr);
  EXPECT_EQ(Occurrences(text, "Warning: More than 2 pairs of constant string delimiters \n"
                              "are defined in file \n\ttest.gsl\n"), 1);
  EXPECT_EQ(Occurrences(text, "pairs of constant character delimiters"), 1);
  EXPECT_EQ(lang->strings.size(), 2u);
  EXPECT_EQ(lang->strings[1].begin, "2");
  EXPECT_EQ(lang->characters.size(), 2u);
  EXPECT_EQ(lang->blocks.size(), 3u) << "blocks have no limit";
  EXPECT_EQ(lang->errorCount, 2);
}

TEST(DefinitionFinish, PreprocessorLeaderRules) {
  auto lang = Build("language { general { name = \"X\"; separator = \" #@\" } "
                    "preprocessor { name = { \"#if\", \"#endif\", \"defined\" } } }");
  ASSERT_NE(lang, nullptr);
  EXPECT_EQ(lang->leader, '#');
  EXPECT_FALSE(lang->IsSeparator('#'));
  EXPECT_TRUE(lang->IsSeparator('@'));

  lang = Build("language { general { name = \"X\"; separator = \" #@\" } "
               "preprocessor { name = { \"#if\", \"@pragma\" } } }");
  ASSERT_NE(lang, nullptr);
  EXPECT_EQ(lang->leader, 0) << "two different leaders";
  EXPECT_TRUE(lang->IsSeparator('#'));
}

TEST(DefinitionFinish, DelimiterCharactersBecomeSeparators) {
  const char* text = "language { general { name = \"X\"; separator = \" \" } "
                     "comment { c { begin = \"/*\"; end = \"*/\" } } "
                     "line_comment { l = \"--\" } string { s { begin = \"q\\\"\"; end = \"\\\"\" } } "
                     "block { b { begin = \"<\"; end = \">\" } } }";
  auto lang = Build(text);
  ASSERT_NE(lang, nullptr);
  for (char c : std::string("/*-\"")) EXPECT_TRUE(lang->IsSeparator(c)) << c;
  EXPECT_FALSE(lang->IsSeparator('q')) << "letters never become separators";
  EXPECT_FALSE(lang->IsSeparator('<')) << "block delimiters are not adjusted";
  debugFlag[DBG_SynSepAdj] = 0;
  auto plain = Build(text);
  debugFlag[DBG_SynSepAdj] = 1;
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(Render(plain.get(), "a/*b*/"), ".:a/*b*/");
  EXPECT_EQ(Render(lang.get(), "a/*b*/"), ".:a|C:/*b*/");
}

TEST(DefinitionFinish, LineStartAndLineEndMarks) {
  auto lang = Build(R"D(language { general { name = "X"; separator = " " }
    block { b { begin = "$(LINE_START)@@"; end = "$(LINE_END)" } }
    line_comment { c = "$(LINE_START)C" } })D");
  ASSERT_NE(lang, nullptr);
  EXPECT_EQ(Render(lang.get(), "@@ -1 +1 @@"), "B:@@ -1 +1 @@");
  EXPECT_EQ(Render(lang.get(), "x @@ y"), ".:x @@ y");
  EXPECT_EQ(Render(lang.get(), "C comment"), "L:C comment");
  EXPECT_EQ(Render(lang.get(), " C not"), ".: C not");
}

TEST(DefinitionFile, MissingFilesAreQuietParseErrorsCountAndReadingGoesOn) {
  MessageCapture messages;
  EXPECT_EQ(syn_LoadOneFile("/nonexistent/dir/x.gsl"), nullptr);
  EXPECT_EQ(syn_LoadOneFile(nullptr), nullptr);
  EXPECT_EQ(messages.text(), "");
  syntest::TempDir dir;
  const std::string path = dir.Write("bad.gsl", "language {\n general { name = \"X\" }\n"
                                                " keyword {\n  name = =\n }\n"
                                                " string { s { begin = \"'\"; end = \"'\" } }\n}\n");
  auto lang = syn_LoadOneFile(path.c_str());
  ASSERT_NE(lang, nullptr);
  EXPECT_GE(lang->errorCount, 1);
  EXPECT_EQ(lang->strings.size(), 1u);
  EXPECT_NE(messages.text().find("parse error"), std::string::npos);
}

}  // namespace
