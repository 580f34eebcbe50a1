// The shipped language definitions: each loads without a warning, agrees with its
// index entry and colours a sample sensibly and bad input completely; the program
// finds them through the configuration directories, a user's copy winning.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <random>

#include "base/gen.h"
#include "config/config_dirs.h"
#include "syn_test_util.h"
#include "syntax/syntax.h"

using syntest::MessageCapture;
using syntest::Render;
using syntest::RenderLines;

namespace {

char* FindShipped(const char* name) {
  const std::string path = syntest::ShippedDir() + "/" + name;
  return access(path.c_str(), R_OK) == 0 ? gen_copy(path.c_str()) : nullptr;
}

class ShippedTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    index = new synIndex(FindShipped);
    MessageCapture messages;
    index->Load((syntest::ShippedDir() + "/index.gsc").c_str());
    indexMessages = new std::string(messages.text());
  }
  static void TearDownTestSuite() {
    delete index;
    delete indexMessages;
  }
  static synLanguage* Language(const char* name) {
    MessageCapture messages;
    synLanguage* lang = index->GetLanguageFName(name, false);
    EXPECT_EQ(messages.text(), "") << name;
    return lang;
  }
  static synIndex* index;
  static std::string* indexMessages;
};

synIndex* ShippedTest::index = nullptr;
std::string* ShippedTest::indexMessages = nullptr;

TEST_F(ShippedTest, EveryDefinitionLoadsWithoutWarnings) {
  EXPECT_EQ(*indexMessages, "");
  ASSERT_GE(index->Count(), 26);
  for (int id = 1; id < index->Count(); id++) {
    synLanguageAbs* entry = index->Entry(id);
    std::vector<std::string> extensions = entry->extensions;
    MessageCapture messages;
    synLanguage* lang = entry->GetLanguageDefinition();
    ASSERT_NE(lang, nullptr) << entry->name;
    EXPECT_EQ(messages.text(), "") << entry->name;
    EXPECT_EQ(lang->errorCount, 0) << entry->name;
    EXPECT_EQ(lang->name, entry->name);
    std::sort(extensions.begin(), extensions.end());
    EXPECT_EQ(lang->extensions, extensions) << entry->name;
  }
}

struct Sample {
  const char* language;
  const char* line;
  std::vector<const char*> runs;  // each must appear in the rendered line
};

const Sample kSamples[] = {
    {"C", "int main(void) { return 0; } // done", {"K:int", "K:return", "I:0", "L:// done"}},
    {"C", "char *s = \"x\\n\"; /* c */ s.if = 1.5e3f;",
     {"K:char", "S:\"x\\n\"", "C:/* c */", ".: s.if = ", "F:1.5e3f"}},
    {"C++", "template <typename T> auto f() -> T { return nullptr; }",
     {"K:template", "K:typename", "K:auto", "K:return", "K:nullptr"}},
    {"Java", "@Override public void run() { long n = 10L; } // x",
     {"U:@Override", "K:public", "K:void", "I:10L", "L:// x"}},
    {"C#", "public string s = @\"a\\b\"; // c", {"K:public", "K:string", "L:// c"}},
    {"Go", "func main() { x := 0x1F } // c", {"K:func", "I:0x1F", "L:// c"}},
    {"Rust", "fn main() { let x: u32 = 5u32; } // c",
     {"K:fn", "K:let", "U:u32", "I:5u32", "L:// c"}},
    {"Ada", "procedure Hello is begin null; end Hello; -- c",
     {"K:procedure", "K:is", "K:begin", "K:null", "L:-- c"}},
    {"Pascal", "BEGIN writeln('hi'); END. { c } (* d *)",
     {"K:BEGIN", "S:'hi'", "K:END", "C:{ c }", "C:(* d *)"}},
    {"Fortran", "      program hello ! c", {"K:program", "L:! c"}},
    {"Perl", "my $x = 1; # c", {"K:my", "I:1", "L:# c"}},
    {"bash", "if [ -f x ]; then echo \"y\"; fi # c",
     {"K:if", "K:then", "U:echo", "S:\"y\"", "K:fi", "L:# c"}},
    {"makefile", "all: $(OBJS) # c", {"B:$(OBJS)", "L:# c"}},
    {"Python", "if self.x is None: print(\"a\", 'b', 1.5j)",
     {"K:if", "U:self", "K:is", "K:None", "s:\"a\"", "h:'b'", "F:1.5j"}},
    {"Ruby", "def foo; puts \"x\"; end # c", {"K:def", "U:puts", "S:\"x\"", "K:end", "L:# c"}},
    {"Lua", "local x = 1 -- c", {"K:local", "I:1", "L:-- c"}},
    {"Tcl", "proc f {x} { return $x } ;# c", {"K:proc", "K:return", "L:# c"}},
    {"JavaScript", "const x = 10n; // c", {"K:const", "I:10n", "L:// c"}},
    {"TypeScript", "interface A { x: number }", {"K:interface", "K:number"}},
    {"CMake", "ADD_LIBRARY(x STATIC ${SRC}) # c",
     {"K:ADD_LIBRARY", "U:STATIC", "B:${SRC}", "L:# c"}},
    {"SQL", "SELECT * FROM t WHERE x = 'a'; -- c",
     {"K:SELECT", "K:FROM", "K:WHERE", "S:'a'", "L:-- c"}},
    {"HTML", "<p class=\"x\">Hi &amp; bye</p> <!-- c -->",
     {"B:<p class=\"x\">", "U:&amp", "B:</p>", "C:<!-- c -->"}},
    {"XML", "<a><![CDATA[x < y]]></a>", {"B:<a>", "S:<![CDATA[x < y]]>", "B:</a>"}},
    {"CSS", "body { color: #fff; margin: 10px 1.5em; } /* c */",
     {"K:color", "U:#fff", "K:margin", "I:10px", "F:1.5em", "C:/* c */"}},
    {"YAML", "key: true # c", {"U:key:", "K:true", "L:# c"}},
    {"JSON", "{\"a\": true, \"b\": -1.5e3, \"c\": null}",
     {"S:\"a\"", "K:true", "F:1.5e3", "K:null"}},
    {"Diff", "+added line", {"H:+added line"}},
    {"Diff", "@@ -1,3 +1,4 @@ int f()", {"B:@@ -1,3 +1,4 @@ int f()"}},
};

TEST_F(ShippedTest, SamplesColourSensibly) {
  for (const Sample& s : kSamples) {
    synLanguage* lang = Language(s.language);
    ASSERT_NE(lang, nullptr) << s.language;
    const std::string rendered = Render(lang, s.line);
    for (const char* run : s.runs) {
      EXPECT_NE(rendered.find(run), std::string::npos)
          << s.language << ": " << run << " not in " << rendered;
    }
    EXPECT_EQ(rendered.find("<GAP>"), std::string::npos) << rendered;
  }
}

TEST_F(ShippedTest, MultiLineConstructs) {
  auto rendered = RenderLines(Language("C"), {"#if 0", "int x;", "#else", "int y; /* a",
                                              "b */ int z;", "#endif"});
  EXPECT_EQ(rendered[1], "D:int x;");
  EXPECT_EQ(rendered[3], "K:int|.: y; |C:/* a");
  EXPECT_EQ(rendered[4], "C:b */|.: |K:int|.: z;");
  rendered = RenderLines(Language("Python"), {"s = \"\"\"doc", "if", "\"\"\" if"});
  EXPECT_EQ(rendered[1], "S:if");
  EXPECT_EQ(rendered[2], "S:\"\"\"|.: |K:if");
  rendered = RenderLines(Language("Perl"), {"=pod", "my doc", "=cut", "my $x;"});
  EXPECT_EQ(rendered[1], "C:my doc");
  EXPECT_EQ(rendered[3].substr(0, 4), "K:my");
  rendered = RenderLines(Language("HTML"), {"<div", "  class=\"a\">text"});
  EXPECT_EQ(rendered[1], "B:  class=\"a\">|.:text");
}

// Bad input: binary lines with every byte value, and lines of a megabyte in
// shapes that could make a scanner quadratic, colour completely, without
// gaps, and quickly in every shipped language; the quick parser takes them.
TEST_F(ShippedTest, BinaryAndMegabyteLinesColourCompletelyAndQuickly) {
  constexpr size_t kMegabyte = 1 << 20;
  std::mt19937 random(7);
  std::string binary, noise(kMegabyte, ' ');
  for (int b = 0; b < 1024; b++) binary += static_cast<char>(b & 0xff);
  for (int i = 0; i < 4096; i++) binary += static_cast<char>(random() & 0xff);
  for (char& c : noise) c = static_cast<char>(random() & 0xff);
  auto repeat = [&](const std::string& piece) {
    std::string s;
    while (s.size() < kMegabyte) s += piece;
    return s;
  };
  const std::vector<std::pair<std::string, std::vector<synState>>> lines = {
      {binary, {0, SYN_COMMENT, SYN_STRING, SYN_CHARACTER2, SYN_DEAD_CODE, SYN_BLOCK}},
      {repeat("1"), {0, SYN_STRING}},        {repeat("#"), {0, SYN_STRING}},
      {repeat("\\"), {0, SYN_STRING}},      {repeat("'"), {0, SYN_STRING}},
      {"/*" + repeat("x"), {0}},             {repeat("x #y "), {0, SYN_STRING}},
      {repeat("int a1.5e+3 "), {0}},         {noise, {0, SYN_STRING}}};
  double slowest = 0;
  for (int id = 1; id < index->Count(); id++) {
    synLanguage* lang = index->Entry(id)->GetLanguageDefinition();
    ASSERT_NE(lang, nullptr);
    for (const auto& [line, starts] : lines) {
      const int n = static_cast<int>(line.size());
      for (synState start : starts) {
        const auto t0 = std::chrono::steady_clock::now();
        std::pair<int, bool> covered{0, true};  // up to where, and in order
        lang->CalculateTextSynstate(
            start, line.data(), 0, n, n, false,
            [](synLanguageInterface*, void* c, const char*, int from, int count, synState) {
              auto* cover = static_cast<std::pair<int, bool>*>(c);
              if (from != cover->first || count <= 0) cover->second = false;
              cover->first = from + count;
            },
            &covered, nullptr);
        synState state = start;
        uint32_t condition = 0;
        lang->QuickLineParser(&state, 0, line.data(), n, &condition);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - t0;
        slowest = std::max(slowest, took.count());
        EXPECT_TRUE(covered.second && covered.first == n) << lang->name << " " << line.substr(0, 8);
      }
    }
  }
  std::printf("slowest 1 MB line (colouring and quick parse): %.3f s\n", slowest);
  EXPECT_LT(slowest, 0.5);
}

// The program's own lookup: the index and definitions beside the built
// program, a user's copy in ~/.qen winning.
class ConfiguredIndexTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gen_changeprogdir(DIFFVIEW_BIN);
    cfg_SetUserConfigDir(user.path().c_str());
    syn_Cleanup();
  }
  void TearDown() override {
    syn_Cleanup();
    cfg_SetUserConfigDir(nullptr);
  }
  std::string Choose(const std::string& name, const std::string& text) {
    const std::string path = files.Write(name, text);
    synLanguageInterface* lang = syn_LanguageOfFile(path.c_str());
    return lang ? lang->LanguageName() : "(null)";
  }
  syntest::TempDir user, files;
};

TEST_F(ConfiguredIndexTest, ShippedIndexIsFoundBesideTheProgram) {
  MessageCapture messages;
  syn_Init(false);
  ASSERT_NE(syn_GetIndex(), nullptr);
  EXPECT_NE(syn_GetIndex()->fileName().find("/defaults/syntax_coloring/index.gsc"),
            std::string::npos);
  EXPECT_EQ(Choose("x.c", "int x;\n"), "C");
  EXPECT_EQ(Choose("x.h", "int x;\n"), "C");
  EXPECT_EQ(Choose("y.h", "namespace a {\n"), "C++");
  EXPECT_EQ(Choose("tool", "#!/usr/bin/env python3\n"), "Python");
  EXPECT_EQ(Choose("run", "#!/bin/sh\n"), "bash");
  EXPECT_EQ(Choose("Makefile", "all:\n"), "makefile");
  EXPECT_EQ(Choose("CMakeLists.txt", "cmake_minimum_required(VERSION 3.25)\n"), "CMake");
  EXPECT_EQ(Choose("notes.txt", "hello\n"), "None");
  EXPECT_EQ(Choose("change.patch", "diff --git a/x b/x\n"), "Diff");
  EXPECT_EQ(messages.text(), "");
}

TEST_F(ConfiguredIndexTest, UserCopiesTakeThePlaceOfShippedFiles) {
  syntest::TempDir& home = user;
  home.Write("syntax_coloring/c.gsl",
             "language { general { name = \"C\"; separator = \" \" } "
             "keyword { name = \"mine\" } }");
  syn_Init(false);
  synLanguage* c = syn_GetLanguageFName("C", false);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(Render(c, "mine int"), "K:mine|.: int");
  EXPECT_NE(syn_GetLanguageFName("Python", false), nullptr);

  syn_Cleanup();
  home.Write("syntax_coloring/index.gsc",
             "Own { extension = \"own\"; definition_file = \"own.gsl\" }");
  home.Write("syntax_coloring/own.gsl", "language { general { name = \"Own\" } }");
  syn_Init(false);
  EXPECT_EQ(Choose("a.own", "x\n"), "Own");
  EXPECT_EQ(Choose("a.c", "x\n"), "None") << "the user's index replaces the shipped one";
}

TEST_F(ConfiguredIndexTest, MissingIndexLeavesEveryFileUncoloured) {
  gen_changeprogdir(user.path().c_str());
  syn_Init(false);
  ASSERT_NE(syn_GetIndex(), nullptr);
  EXPECT_EQ(syn_GetIndex()->Count(), 1);
  EXPECT_EQ(Choose("x.c", "int x;\n"), "None");
  gen_changeprogdir(DIFFVIEW_BIN);
}

}  // namespace
