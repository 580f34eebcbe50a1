// Invariants over many random pairs (fixed seeds, so failures repeat), with
// the refinement of repetitive stretches on: every unpaired line lies in
// exactly one range and no paired line in any; paired lines are equal
// under the options and in the same order on both sides; ranges ascend
// without overlapping; symbol counts match the tables; one symbol is one
// text; the streaming reader pairs as the text model does, and still only
// equal lines when fingerprints collide; and the edit script rebuilds
// side 2 exactly.  Then a repetitive pair against GNU diff's count.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "diff/engine.h"
#include "tests/diff/diff_test_util.h"

namespace {

using text_test::ScratchDir;
using text_test::WriteBytes;
using Lines = std::vector<std::string>;

const int kOptionSets[] = {0, 1, 2, 4, 8, 2 | 8, 1 | 2, 1 | 8, 4 | 8, 4 | 2};

// Lines that collide under some options and not others.
const Lines kVocabulary = {"a b",  "a  b", "ab",   "A B", "x = y;", "x=y;", "int x",
                           "intx", "",     "  ",   "}",   "{",      "\tq",  "Q",
                           "r\rs", "end",  "END",  "z"};

struct Pair {
  Lines left, right;
  int options = 0;
  bool crlf = false;
  bool noFinalNewline = false;
};

Lines RandomLines(std::mt19937& rng, size_t vocabulary, int maxCount) {
  Lines lines(rng() % (maxCount + 1));
  for (auto& l : lines) l = kVocabulary[rng() % vocabulary];
  return lines;
}

// The right side: the left one with random edits, or its blocks moved.
Lines Edit(std::mt19937& rng, Lines lines, size_t vocabulary) {
  const int edits = static_cast<int>(rng() % 6);
  for (int e = 0; e < edits; ++e) {
    const size_t at = lines.empty() ? 0 : rng() % (lines.size() + 1);
    switch (rng() % 4) {
      case 0:
        lines.insert(lines.begin() + at, kVocabulary[rng() % vocabulary]);
        break;
      case 1:
        if (at < lines.size()) lines.erase(lines.begin() + at);
        break;
      case 2:
        if (at < lines.size()) lines[at] = kVocabulary[rng() % vocabulary];
        break;
      default: {
        if (lines.size() < 4) break;
        const size_t from = rng() % (lines.size() - 2);
        const size_t size = 1 + rng() % std::min<size_t>(5, lines.size() - from - 1);
        Lines block(lines.begin() + from, lines.begin() + from + size);
        lines.erase(lines.begin() + from, lines.begin() + from + size);
        const size_t to = rng() % (lines.size() + 1);
        lines.insert(lines.begin() + to, block.begin(), block.end());
      }
    }
  }
  return lines;
}

Pair RandomPair(std::mt19937& rng, size_t vocabulary, int maxCount) {
  Pair p;
  p.left = RandomLines(rng, vocabulary, maxCount);
  p.right = rng() % 8 == 0 ? RandomLines(rng, vocabulary, maxCount)
                           : Edit(rng, p.left, vocabulary);
  p.options = kOptionSets[rng() % std::size(kOptionSets)];
  p.crlf = rng() % 5 == 0;
  p.noFinalNewline = rng() % 5 == 0;
  return p;
}

std::string Join(const Lines& lines, bool crlf, bool noFinalNewline) {
  std::string out;
  for (size_t k = 0; k < lines.size(); ++k) {
    out += lines[k];
    if (k + 1 < lines.size() || !noFinalNewline) out += crlf ? "\r\n" : "\n";
  }
  return out;
}

std::string Canonical(const std::string& s, int options) {
  std::string out(s.size() + 1, '\0');
  out.resize(diff_canonicalize(s.data(), static_cast<long>(s.size()), options, out.data()));
  return out;
}

// Each symbol holds one canonical text and each text one symbol.
void CheckSymbols(const diffInfo* info, const Lines& left, const Lines& right, int options) {
  std::map<int32_t, std::string> textOf;
  std::map<std::string, int32_t> symbolOf;
  for (int side = 1; side <= 2; ++side) {
    const Lines& lines = side == 1 ? left : right;
    const diffLineTableStruct* table = side == 1 ? info->firstLines : info->secondLines;
    for (size_t k = 0; k < lines.size(); ++k) {
      const std::string text = Canonical(lines[k], options);
      const int32_t symbol = table[k + 1].symbol;
      EXPECT_EQ(textOf.emplace(symbol, text).first->second, text) << "symbol " << symbol;
      EXPECT_EQ(symbolOf.emplace(text, symbol).first->second, symbol) << text;
    }
  }
}

// Checks the tables of one comparison against the texts it compared.
void CheckTables(const diffInfo* info, const Lines& left, const Lines& right, int options) {
  ASSERT_EQ(info->firstCount, static_cast<int32_t>(left.size()));
  ASSERT_EQ(info->secondCount, static_cast<int32_t>(right.size()));
  int32_t lastPartner = 0;
  std::vector<int> unpaired1(info->symbolCount), unpaired2(info->symbolCount);
  for (int32_t i = 1; i <= info->firstCount; ++i) {
    const diffLineTableStruct& e = info->firstLines[i];
    if (!e.matched) {
      unpaired1[e.symbol]++;
      continue;
    }
    ASSERT_GE(e.partner, 1);
    ASSERT_LE(e.partner, info->secondCount);
    EXPECT_EQ(info->secondLines[e.partner].partner, i);
    EXPECT_EQ(info->secondLines[e.partner].symbol, e.symbol);
    EXPECT_EQ(Canonical(left[i - 1], options), Canonical(right[e.partner - 1], options));
    EXPECT_GT(e.partner, lastPartner) << "pairings cross";
    lastPartner = e.partner;
  }
  for (int32_t j = 1; j <= info->secondCount; ++j) {
    if (!info->secondLines[j].matched) unpaired2[info->secondLines[j].symbol]++;
  }
  for (int32_t s = 0; s < info->symbolCount; ++s) {
    EXPECT_EQ(info->symbols[s].firstUnmatched, unpaired1[s]);
    EXPECT_EQ(info->symbols[s].secondUnmatched, unpaired2[s]);
  }
}

// Every unpaired line in exactly one range, paired lines in none, ranges
// ascending and disjoint, and the lines between ranges paired in step.
void CheckRanges(const diff_test::Comparison& c) {
  const diffInfo* info = c.info();
  std::vector<int> cover1(info->firstCount + 2), cover2(info->secondCount + 2);
  int32_t end1 = 1, end2 = 1;
  for (int k = 0; k < c.count(); ++k) {
    const RangeInfo* a = c.side1(k);
    const RangeInfo* b = c.side2(k);
    EXPECT_LE(a->start, a->end);
    EXPECT_LE(b->start, b->end);
    EXPECT_TRUE(a->end > a->start || b->end > b->start) << "empty difference";
    EXPECT_GE(a->start, end1);
    EXPECT_GE(b->start, end2);
    EXPECT_EQ(a->start - end1, b->start - end2) << "common stretches differ in length";
    for (int32_t i = end1, j = end2; i < a->start; ++i, ++j) {
      EXPECT_EQ(info->firstLines[i].partner, j);
    }
    for (int32_t i = a->start; i < a->end; ++i) cover1[i]++;
    for (int32_t j = b->start; j < b->end; ++j) cover2[j]++;
    end1 = a->end;
    end2 = b->end;
  }
  EXPECT_EQ(info->firstCount + 1 - end1, info->secondCount + 1 - end2);
  for (int32_t i = 1; i <= info->firstCount; ++i) {
    EXPECT_EQ(cover1[i], info->firstLines[i].matched ? 0 : 1) << "side 1 line " << i;
  }
  for (int32_t j = 1; j <= info->secondCount; ++j) {
    EXPECT_EQ(cover2[j], info->secondLines[j].matched ? 0 : 1) << "side 2 line " << j;
  }
}

// Applies an edit script to side 1.
std::string Apply(char** script, int count, const std::vector<std::string>& side1) {
  std::string out;
  for (int k = 0; k < count; ++k) {
    int first = 0, last = 0;
    if (script[k][0] == 'm') {
      const int n = sscanf(script[k], "m%d,%d", &first, &last);
      if (n == 1) last = first;
      for (int i = first; i <= last; ++i) out += side1[i - 1];
    } else {
      const int added = atoi(script[k] + 1);
      for (int a = 0; a < added; ++a) out += script[++k];
    }
  }
  return out;
}

// Side 1's lines as diff_fgets reads them (newline kept).
std::vector<std::string> StreamLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    end = end == std::string::npos ? bytes.size() : end + 1;
    lines.push_back(bytes.substr(start, end - start));
    start = end;
  }
  return lines;
}

void CheckScript(const std::string& leftPath, const std::string& rightPath,
                 const std::string& leftBytes, const std::string& rightBytes) {
  int count = 0;
  char** script = nullptr;
  diffInfo* info = diff_kvc2(leftPath.c_str(), rightPath.c_str(), &count, &script);
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(Apply(script, count, StreamLines(leftBytes)), rightBytes);
  diff_freescript(count, script);
  diff_free(info);
}

// The files read by name pair exactly as the loaded files did; with weak
// fingerprints (many different texts colliding) pairs are still equal.
void CheckStreamed(const diff_test::Comparison& c, const std::string& left,
                   const std::string& right, int options) {
  const Lines lines1 = text_test::LinesOf(c.left), lines2 = text_test::LinesOf(c.right);
  diffInfo* info = diff_files(left.c_str(), right.c_str(), options);
  ASSERT_NE(info, nullptr);
  CheckSymbols(info, lines1, lines2, options);
  for (int32_t j = 1; j <= info->secondCount; ++j) {
    EXPECT_EQ(info->secondLines[j].matched, c.info()->secondLines[j].matched) << j;
    if (info->secondLines[j].matched) {
      EXPECT_EQ(info->secondLines[j].partner, c.info()->secondLines[j].partner) << j;
    }
  }
  diff_free(info);
  // Colliding texts are told apart by the sampled texts, or without a
  // sample by the check of the pairings and a byte-by-byte comparison.
  const long sample = diff_engine::sampleBytes;
  for (long bytes : {sample, 0L}) {
    diff_engine::fingerprintMask = 3;
    diff_engine::sampleBytes = bytes;
    info = diff_files(left.c_str(), right.c_str(), options);
    diff_engine::fingerprintMask = ~uint64_t{0};
    diff_engine::sampleBytes = sample;
    ASSERT_NE(info, nullptr);
    CheckTables(info, lines1, lines2, options);
    diff_free(info);
  }
}

void RunRandomPairs(unsigned seed, int pairs, size_t vocabulary, int maxCount) {
  ScratchDir dir;
  std::mt19937 rng(seed);
  for (int n = 0; n < pairs; ++n) {
    const Pair p = RandomPair(rng, vocabulary, maxCount);
    const std::string l = Join(p.left, p.crlf, p.noFinalNewline);
    const std::string r = Join(p.right, rng() % 2 ? p.crlf : false, rng() % 3 == 0);
    WriteBytes(dir / "left", l);
    WriteBytes(dir / "right", r);
    SCOPED_TRACE("pair " + std::to_string(n) + " options " + std::to_string(p.options));
    {
      diff_test::Comparison c(dir / "left", dir / "right", p.options);
      ASSERT_NE(c.info(), nullptr);
      // The model drops CR of CR LF pairs, so compare against its lines.
      CheckTables(c.info(), text_test::LinesOf(c.left), text_test::LinesOf(c.right),
                  p.options);
      CheckSymbols(c.info(), text_test::LinesOf(c.left), text_test::LinesOf(c.right),
                   p.options);
      CheckStreamed(c, dir / "left", dir / "right", p.options);
      if (c.identical) {
        EXPECT_EQ(c.count(), 0);
      } else {
        CheckRanges(c);
      }
    }
    CheckScript(dir / "left", dir / "right", l, r);
    if (::testing::Test::HasFailure()) return;
  }
  EXPECT_EQ(dir.Others({"left", "right"}), Lines{});
}

TEST(PropertyTest, MixedLinesUnderEveryOptionSet) { RunRandomPairs(1, 250, kVocabulary.size(), 30); }

TEST(PropertyTest, HeavyDuplicates) { RunRandomPairs(2, 150, 3, 40); }

// Lines changed by the engine's ranges, and by GNU diff's normal output.
int ChangedLines(const std::string& left, const std::string& right, bool refine) {
  diff_test::RefineSwitch on(refine);
  diff_test::Comparison c(left, right, 0);
  int changed = 0;
  for (int k = 0; k < c.count(); ++k) {
    changed += c.side1(k)->end - c.side1(k)->start + c.side2(k)->end - c.side2(k)->start;
  }
  return changed;
}

int GnuChangedLines(const std::string& left, const std::string& right) {
  const auto r = test_support::runProgram("diff", {left, right});
  EXPECT_EQ(r.status, 1) << r.err;
  int changed = 0;
  std::istringstream out(r.out);
  for (std::string l; std::getline(out, l);) changed += l[0] == '<' || l[0] == '>';
  return changed;
}

// A file drawn from a handful of texts, with scattered edits from the same
// texts and new ones: refined, the engine changes about as many lines as
// GNU diff, where its first pairing changes far more.
TEST(PropertyTest, RepetitiveFileChangesAsFewLinesAsGnuDiff) {
  ScratchDir dir;
  std::mt19937 rng(3);
  const Lines texts = {"alpha();", "}", "", "  return beta;", "x = x + 1;"};
  Lines left(20000), right;
  for (auto& l : left) l = texts[rng() % texts.size()];
  for (const auto& l : left) {
    const unsigned r = rng() % 400;
    if (r == 0) continue;                                      // deleted
    if (r == 1) right.push_back("edit " + std::to_string(rng()));  // inserted
    right.push_back(r == 2 ? texts[rng() % texts.size()] : l);     // changed
  }
  WriteBytes(dir / "left", Join(left, false, false));
  WriteBytes(dir / "right", Join(right, false, false));
  const int gnu = GnuChangedLines(dir / "left", dir / "right");
  const int refined = ChangedLines(dir / "left", dir / "right", true);
  const int exact = ChangedLines(dir / "left", dir / "right", false);
  EXPECT_LE(refined, gnu * 11 / 10) << "GNU diff " << gnu << ", exact pairing " << exact;
  EXPECT_GT(exact, refined);
}

}  // namespace
