// Choosing the language of a file: by suffix, by first-line pattern (only
// among the suffix's languages when two list it), by editor mode marker,
// by the makefile name rule; broken definitions behave as absent.
#include <gtest/gtest.h>

#include <unistd.h>

#include "base/gen.h"
#include "syn_test_util.h"
#include "syntax/syntax.h"

using syntest::MessageCapture;
using syntest::TempDir;

namespace {

std::string definitionDir;

char* FindInTestDir(const char* name) {
  const std::string path = definitionDir + "/" + name;
  return access(path.c_str(), R_OK) == 0 ? gen_copy(path.c_str()) : nullptr;
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

TEST_F(ChooseTest, ASuffixListedOnceDecides) {
  EXPECT_EQ(Choose("x.c", "#!/bin/sh\n"), "C");
  EXPECT_EQ(Choose("y.sh", "namespace x {}\n"), "bash");
}

TEST_F(ChooseTest, TwoCandidatesAreSettledByTheirOwnPatterns) {
  EXPECT_EQ(Choose("a.h", "\n  namespace foo {\n"), "C++");
  EXPECT_EQ(Choose("b.h", "int x;\n"), "C") << "the first of two";
  EXPECT_EQ(Choose("c.h", "#!/bin/sh\n"), "C") << "patterns of other suffixes are not tried";
  EXPECT_EQ(Choose("d.h", "// -*- c++ -*-\n"), "C++");
}

TEST_F(ChooseTest, FilesWithoutSuffixUseTheFirstNonBlankLine) {
  EXPECT_EQ(Choose("script", "#!/bin/bash\necho\n"), "bash");
  EXPECT_EQ(Choose("script2", "\n \n\t\n#!/bin/sh\n"), "bash");
  EXPECT_EQ(Choose("late", std::string(10, '\n') + "#!/bin/sh\n"), "None")
      << "only the first 10 lines are read";
  EXPECT_EQ(Choose("crlf", "#!/bin/sh\r\n"), "bash");
}

TEST_F(ChooseTest, ModeMarkers) {
  EXPECT_EQ(Choose("notes.txt", "/* -*- C++ -*- */\n"), "C++");
  EXPECT_EQ(Choose("n2.txt", "-*-c-*-\n"), "C");
  EXPECT_EQ(Choose("n3.txt", "# -*- objc -*-\n"), "C");
  EXPECT_EQ(Choose("n4.txt", "# -*- idl -*-\n"), "C++");
  EXPECT_EQ(Choose("n5.txt", "# -*- asm -*-\n"), "None");
  EXPECT_EQ(Choose("n6.txt", "# -*- java -*-\n"), "None") << "Java is not in this index";
  EXPECT_EQ(Choose("n7.txt", "# -*- c++ \n"), "C++");
  EXPECT_EQ(Choose("n8.txt", "# -*- c++"), "None") << "an unclosed marker";
}

TEST_F(ChooseTest, MakefilesByName) {
  EXPECT_EQ(Choose("Makefile", "all:\n\tcc x.c\n"), "makefile");
  EXPECT_EQ(Choose("GNUmakefile", "all:\n"), "makefile");
  EXPECT_EQ(Choose("sub/makefile.inc", "all:\n"), "makefile");
  EXPECT_EQ(Choose("Makefile2", "#!/bin/sh\n"), "bash") << "a first line decides first";
  EXPECT_EQ(Choose("x.mk", "all:\n"), "makefile");
}

TEST_F(ChooseTest, BrokenDefinitionsBehaveAsAbsent) {
  MessageCapture quiet;
  EXPECT_EQ(Choose("x.brk", "anything\n"), "Fine");
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

TEST(ModeMarker, Parsing) {
  EXPECT_STREQ(syn_ModeMarkerLanguage("-*- Ada -*-"), "Ada");
  EXPECT_STREQ(syn_ModeMarkerLanguage("x -*-  fortran  -*-"), "Fortran");
  EXPECT_STREQ(syn_ModeMarkerLanguage("-*-f90-*-"), "Fortran");
  EXPECT_STREQ(syn_ModeMarkerLanguage("-*- pascal "), "Pascal");
  EXPECT_STREQ(syn_ModeMarkerLanguage("-*- qen -*-"), "QEN-Script");
  EXPECT_EQ(syn_ModeMarkerLanguage("-*- mode: c -*-"), nullptr);
  EXPECT_EQ(syn_ModeMarkerLanguage("-*- -*-"), nullptr);
  EXPECT_EQ(syn_ModeMarkerLanguage("no marker"), nullptr);
}

}  // namespace
