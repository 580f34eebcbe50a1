// Bad input for the colourer and the quick parser: binary lines with every
// byte value and embedded zeros, and lines of a megabyte in shapes that
// could make a scanner quadratic.  Each must colour completely, without
// gaps, and quickly.
#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "syn_test_util.h"

namespace {

constexpr int kMegabyte = 1 << 20;

struct Coverage {
  int covered = 0;
  bool ordered = true;
};

void CheckRun(synLanguageInterface*, void* context, const char*, int start, int count,
              synState) {
  auto* c = static_cast<Coverage*>(context);
  if (start != c->covered || count <= 0) c->ordered = false;
  c->covered = start + count;
}

// Colours `line` in `lang` from each of `starts` and checks the runs cover
// it; returns the slowest time in seconds.
double ColourEverywhere(synLanguage* lang, const std::string& line,
                        std::initializer_list<synState> starts) {
  double slowest = 0;
  const int n = static_cast<int>(line.size());
  for (synState start : starts) {
    const auto t0 = std::chrono::steady_clock::now();
    Coverage c;
    lang->CalculateTextSynstate(start, line.data(), 0, n, n, false, CheckRun, &c, nullptr);
    synState state = start;
    uint32_t condition = 0;
    lang->QuickLineParser(&state, 0, line.data(), n, &condition);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - t0;
    slowest = std::max(slowest, took.count());
    EXPECT_TRUE(c.ordered) << lang->name;
    EXPECT_EQ(c.covered, n) << lang->name;
  }
  return slowest;
}

std::vector<std::unique_ptr<synLanguage>> AllShipped() {
  std::vector<std::unique_ptr<synLanguage>> all;
  for (const char* file : {"c.gsl", "cpp.gsl", "java.gsl", "csharp.gsl", "go.gsl", "rust.gsl",
                           "ada.gsl", "pascal.gsl", "fortran.gsl", "perl.gsl", "shell.gsl",
                           "python.gsl", "ruby.gsl", "lua.gsl", "tcl.gsl", "javascript.gsl",
                           "typescript.gsl", "makefile.gsl", "cmake.gsl", "sql.gsl",
                           "html.gsl", "xml.gsl", "css.gsl", "yaml.gsl", "json.gsl",
                           "diff.gsl"}) {
    all.push_back(syntest::LoadShipped(file));
    EXPECT_NE(all.back(), nullptr) << file;
    if (!all.back()) all.pop_back();
  }
  return all;
}

TEST(Robustness, BinaryLinesColourCompletely) {
  std::string binary;
  for (int round = 0; round < 4; round++) {
    for (int b = 0; b < 256; b++) binary += static_cast<char>(b);
  }
  std::mt19937 random(7);
  for (int i = 0; i < 4096; i++) binary += static_cast<char>(random() & 0xff);
  for (auto& lang : AllShipped()) {
    ColourEverywhere(lang.get(), binary, {0, SYN_COMMENT, SYN_STRING, SYN_CHARACTER2,
                                          SYN_DEAD_CODE, SYN_BLOCK, SYN_LINE_COMMENT});
  }
}

TEST(Robustness, MegabyteLinesColourQuickly) {
  std::mt19937 random(11);
  std::string noise(kMegabyte, ' ');
  for (char& c : noise) c = static_cast<char>(random() & 0xff);
  const std::vector<std::string> shapes = {
      std::string(kMegabyte, 'a'),
      std::string(kMegabyte, '1'),
      std::string(kMegabyte, '#'),
      std::string(kMegabyte, '\\'),
      std::string(kMegabyte, '\''),
      std::string(kMegabyte, '"'),
      "/*" + std::string(kMegabyte, 'x'),
      "\"" + std::string(kMegabyte, '\\'),
      [] { std::string s; while (s.size() < kMegabyte) s += "x #y "; return s; }(),
      [] { std::string s; while (s.size() < kMegabyte) s += "int a1.5e+3 "; return s; }(),
      [] { std::string s; while (s.size() < kMegabyte) s += "'a' b'c "; return s; }(),
      noise,
  };
  double slowest = 0;
  for (auto& lang : AllShipped()) {
    for (size_t i = 0; i < shapes.size(); i++) {
      slowest = std::max(slowest, ColourEverywhere(lang.get(), shapes[i], {0, SYN_STRING}));
    }
  }
  std::printf("slowest 1 MB line (colouring and quick parse): %.3f s\n", slowest);
  EXPECT_LT(slowest, 0.5);
}

}  // namespace
