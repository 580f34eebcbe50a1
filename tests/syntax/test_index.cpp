// The language index and the language of a file: built-in entries, every warning
// of a malformed index, and the choice by suffix, by first-line pattern (among the
// suffix's languages only), by mode marker and by makefile name; a broken
// definition behaves as absent.
#include <gtest/gtest.h>

#include <unistd.h>

#include "base/gen.h"
#include "syn_test_util.h"
#include "syntax/syntax.h"

using syntest::MessageCapture;
using syntest::TempDir;

namespace {

std::string definitionDir;

// Definition names resolve inside the test's directory.
char* FindInTestDir(const char* name) {
  const std::string path = definitionDir + "/" + name;
  return access(path.c_str(), R_OK) == 0 ? gen_copy(path.c_str()) : nullptr;
}

std::string Definition(const std::string& name, const std::string& extra = "") {
  return "language { general { name = \"" + name + "\"; separator = \" \" } " + extra + " }";
}

class IndexTest : public ::testing::Test {
 protected:
  void SetUp() override {
    definitionDir = dir.path();
    dir.Write("a.gsl", Definition("Alpha", "keyword { name = \"alpha\" }"));
    dir.Write("b.gsl", Definition("Beta"));
    dir.Write("cpp.gsl", Definition("C++"));
  }
  // Loads an index text; returns the messages.
  std::string Load(synIndex* index, const std::string& text) {
    const std::string path = dir.Write("index.gsc", text);
    MessageCapture messages;
    index->Load(path.c_str());
    return messages.text();
  }
  TempDir dir;
};

TEST_F(IndexTest, EntriesFollowNoneInFileOrder) {
  synIndex index(FindInTestDir);
  EXPECT_EQ(Load(&index, R"D(
Alpha { extension = { "a", "aa" }; definition_file = "a.gsl" }
Beta { description = "Second"; extension = "b"; definition_file = "b.gsl" }
)D"), "");
  ASSERT_EQ(index.Count(), 3);
  EXPECT_EQ(index.Entry(0)->name, "None");
  EXPECT_EQ(index.Entry(1)->name, "Alpha");
  EXPECT_EQ(index.Entry(1)->description, "Alpha");
  EXPECT_EQ(index.Entry(2)->description, "Second");
  EXPECT_EQ(index.Entry(3), nullptr);
}

TEST_F(IndexTest, MalformedEntriesAreReported) {
  synIndex index(FindInTestDir);
  const std::string path = dir.path() + "/index.gsc";
  const std::string text = Load(&index, R"D(
stray = 1
other = 2
{ extension = "x"; definition_file = "a.gsl" }
Alpha { extension = "a"; definition_file = "a.gsl"; colour = "red"; sub { } }
NoExt { definition_file = "a.gsl" }
NoDef { extension = "n" }
Neither { hide = true }
Marker { description = "$(LINE_START)" }
Pattern { extension = "p"; definition_file = "b.gsl"; first_line_pattern = { "(", "^ok" } }
)D");
  const std::string in = " in file:\n\t" + path + "\n";
  const std::string expected[] = {
      "Warning: Invalid attribute(s) is ignored" + in,
      "Warning: The entry without defining language name is ignored" + in,
      "Warning: Invalid attribute Alpha.colour is ignored" + in,
      "Warning: Invalid attribute tree(s) of Alpha is ignored" + in,
      "Warning: No file extension is defined for NoExt" + in,
      "Warning: No language definition file is specified for NoDef" + in,
      "Warning: No file extension is defined for Neither" + in,
      "Warning: No language definition file is specified for Neither" + in,
      "Warning: Invalid first line pattern \"(\" of Pattern is ignored",
  };
  for (const std::string& e : expected) EXPECT_NE(text.find(e), std::string::npos) << e;
  EXPECT_EQ(text.find("Invalid attribute(s)", text.find("Invalid attribute(s)") + 1),
            std::string::npos) << "top-level attributes are reported once";
  ASSERT_EQ(index.Count(), 4);
  EXPECT_EQ(index.Entry(1)->name, "Alpha");
  EXPECT_EQ(index.Entry(2)->name, "Marker") << "a description of 0x01 keeps an entry";
  EXPECT_FALSE(index.Entry(2)->IsAvailable());
  EXPECT_EQ(index.Entry(3)->patterns.size(), 1u);
  EXPECT_TRUE(index.Entry(3)->MatchesFirstLine("ok then"));
}

class ChooseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    definitionDir = dir.path();
    for (const char* name : {"C", "C++", "bash", "makefile", "Fine"}) {
      dir.Write(std::string(name) + ".gsl",
                std::string("language { general { name = \"") + name + "\" } }");
    }
    const std::string path = dir.Write("index.gsc", R"D(
C { extension = { "c", "h" }; definition_file = "C.gsl" }
"C++" { extension = { "cc", "h" }; definition_file = "C++.gsl"; first_line_pattern = "^\\s*namespace\\b" }
bash { extension = "sh"; definition_file = "bash.gsl"; first_line_pattern = "^#!\\S*/(ba)?sh\\b" }
Broken { extension = "brk"; definition_file = "missing.gsl" }
Fine { extension = "brk"; definition_file = "Fine.gsl" }
makefile { extension = "mk"; definition_file = "makefile.gsl" }
)D");
    MessageCapture quiet;
    index.Load(path.c_str());
    ASSERT_EQ(index.Count(), 7);
  }
  void TearDown() override { syn_Settings() = synSettings(); }

  // The name of the language chosen for a file holding `text`.
  std::string Choose(const std::string& name, const std::string& text) {
    const std::string path = dir.Write(name, text);
    synLanguageInterface* lang = index.LanguageOfFile(path.c_str());
    return lang ? lang->LanguageName() : "(null)";
  }

  TempDir dir;
  synIndex index{FindInTestDir};
};

TEST_F(ChooseTest, LanguageOfEachFile) {
  const struct {
    const char *name, *text, *language;
  } cases[] = {
      {"y.sh", "namespace x {}\n", "bash"},
      {"b.h", "int x;\n", "C"},                  // else the first of the two
      {"c.h", "#!/bin/sh\n", "C"},               // other suffixes' patterns are not tried
      {"d.h", "// -*- c++ -*-\n", "C++"},
      {"late", "\n\n\n\n\n\n\n\n\n\n#!/bin/sh\n", "None"},  // only 10 lines are read
      {"crlf", "#!/bin/sh\r\n", "bash"},
      {"notes.txt", "/* -*- C++ -*- */\n", "C++"},  // editor mode markers
      {"n4.txt", "# -*- idl -*-\n", "C++"},
      {"n5.txt", "# -*- asm -*-\n", "None"},
      {"n8.txt", "# -*- c++", "None"},  // an unclosed marker
      {"sub/makefile.inc", "all:\n", "makefile"},
      {"Makefile2", "#!/bin/sh\n", "bash"},  // a first line decides first
      {"x.mk", "all:\n", "makefile"},
      {"x.brk", "anything\n", "Fine"},  // a broken definition behaves as absent
  };
  MessageCapture quiet;
  for (const auto& c : cases) EXPECT_EQ(Choose(c.name, c.text), c.language) << c.name;
}

TEST_F(ChooseTest, UnreadableFilesSkipTheFirstLineRules) {
  synLanguageInterface* lang = index.LanguageOfFile((dir.path() + "/no/such.txt").c_str());
  ASSERT_NE(lang, nullptr);
  EXPECT_TRUE(lang->IsNone());
  lang = index.LanguageOfFile((dir.path() + "/no/Makefile").c_str());
  ASSERT_NE(lang, nullptr);
  EXPECT_STREQ(lang->LanguageName(), "makefile");
  EXPECT_TRUE(index.LanguageOfFile(nullptr)->IsNone());
}

TEST_F(ChooseTest, ColouringOffChoosesNothing) {
  syn_Settings().colorsyntax = false;
  EXPECT_EQ(Choose("x.c", "int x;\n"), "(null)");
}

}  // namespace
