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

TEST_F(ChooseTest, LanguageOfEachFile) {
  const struct {
    const char *name, *text, *language;
  } cases[] = {
      {"x.c", "#!/bin/sh\n", "C"},  // a suffix listed once decides
      {"y.sh", "namespace x {}\n", "bash"},
      {"a.h", "\n  namespace foo {\n", "C++"},  // two candidates: their own patterns
      {"b.h", "int x;\n", "C"},                  // else the first of the two
      {"c.h", "#!/bin/sh\n", "C"},               // other suffixes' patterns are not tried
      {"d.h", "// -*- c++ -*-\n", "C++"},
      {"script", "#!/bin/bash\necho\n", "bash"},  // no suffix: the first non-blank line
      {"script2", "\n \n\t\n#!/bin/sh\n", "bash"},
      {"late", "\n\n\n\n\n\n\n\n\n\n#!/bin/sh\n", "None"},  // only 10 lines are read
      {"crlf", "#!/bin/sh\r\n", "bash"},
      {"notes.txt", "/* -*- C++ -*- */\n", "C++"},  // editor mode markers
      {"n2.txt", "-*-c-*-\n", "C"},
      {"n3.txt", "# -*- objc -*-\n", "C"},
      {"n4.txt", "# -*- idl -*-\n", "C++"},
      {"n5.txt", "# -*- asm -*-\n", "None"},
      {"n6.txt", "# -*- java -*-\n", "None"},  // Java is not in this index
      {"n7.txt", "# -*- c++ \n", "C++"},
      {"n8.txt", "# -*- c++", "None"},  // an unclosed marker
      {"Makefile", "all:\n\tcc x.c\n", "makefile"},  // makefiles by name
      {"GNUmakefile", "all:\n", "makefile"},
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
