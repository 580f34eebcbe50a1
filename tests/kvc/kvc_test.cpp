// The KVC store: many random edits checked in and every version rebuilt
// byte for byte from a log that stays small; damaged logs refused with a
// message; the kvc command's check-in, check-out by version and date, and
// log.
#include <gtest/gtest.h>

#include <random>

#include "base/gen.h"
#include "kvc/kvc.h"
#include "test_support.h"

namespace {

// One random edit of `text`: lines inserted, deleted or changed, and now
// and then a last line without a newline, a carriage return or a NUL.
std::string edit(std::string text, std::mt19937& rng, int round) {
  std::vector<std::string> lines;
  for (std::string_view l : kvc_SplitLines(text)) lines.emplace_back(l);
  const size_t at = lines.empty() ? 0 : rng() % (lines.size() + 1);
  switch (rng() % 4) {
    case 0:
      if (!lines.empty() && at < lines.size()) lines.erase(lines.begin() + at);
      break;
    case 1:
      if (at < lines.size()) lines[at] = "changed " + std::to_string(round) + "\r\n";
      break;
    default:
      for (unsigned k = rng() % 5; k > 0; k--)
        lines.insert(lines.begin() + at, "line " + std::to_string(rng() % 7) + "\n");
  }
  std::string out;
  for (const std::string& l : lines) out += l;
  out += "round " + std::to_string(round) + (round % 5 ? "\n" : std::string("\0x", 2));
  return out;
}

TEST(Kvc, RandomEditsRebuildEveryVersionFromASmallLog) {
  gen_init("test_kvc", 0, 0);
  test_support::ScratchDir dir;
  const std::string file = dir / "notes.txt";
  std::mt19937 rng(7);
  std::vector<std::string> versions;
  std::string text, error;
  for (int round = 1; round <= 80; round++) {
    text = edit(text, rng, round);
    dir.write("notes.txt", text);
    int number = 0;
    ASSERT_TRUE(kvc_CheckIn(file, "round " + std::to_string(round), &number, &error)) << error;
    ASSERT_EQ(number, round);
    versions.push_back(text);
  }
  std::unique_ptr<KvcLog> log = KvcLog::readFor(file, &error);
  ASSERT_TRUE(log) << error;
  ASSERT_EQ(log->head(), 80);
  for (int v = 1; v <= 80; v++) {
    std::string got;
    ASSERT_TRUE(log->text(v, &got, &error)) << error;
    ASSERT_EQ(got, versions[v - 1]) << "version " << v;
  }
  EXPECT_EQ(log->versions()[2].comment, "round 3");
  size_t total = 0;
  for (const std::string& v : versions) total += v.size();
  EXPECT_LT(test_support::readFile(kvc_LogPath(file)).size(), total / 4);
  int number = 0;
  EXPECT_FALSE(kvc_CheckIn(file, "", &number, &error));
  EXPECT_NE(error.find("unchanged since version 80"), std::string::npos) << error;
}

TEST(Kvc, DamagedLogsAreRefusedWithAMessage) {
  gen_init("test_kvc", 0, 0);
  test_support::ScratchDir dir;
  const std::string file = dir.write("f", "one\ntwo\nthree\n");
  std::string error, text;
  int number = 0;
  ASSERT_TRUE(kvc_CheckIn(file, "first", &number, &error)) << error;
  dir.write("f", "one\nthree\nfour\n");
  ASSERT_TRUE(kvc_CheckIn(file, "second", &number, &error)) << error;
  const std::string good = test_support::readFile(kvc_LogPath(file));
  for (size_t cut = 0; cut < good.size(); cut++) {
    error.clear();
    EXPECT_FALSE(KvcLog::parse(good.substr(0, cut), "log", &error)) << cut;
    EXPECT_EQ(error.rfind("damaged version log log: ", 0), 0u) << error;
  }
  // A script that copies beyond the newer version parses but cannot rebuild.
  std::string bad = good;
  bad.replace(bad.find("m 1 1\n"), 6, "m 1 9\n");
  std::unique_ptr<KvcLog> log = KvcLog::parse(bad, "log", &error);
  ASSERT_TRUE(log) << error;
  EXPECT_FALSE(log->text(1, &text, &error));
  EXPECT_NE(error.find("does not fit version 2"), std::string::npos) << error;
}

TEST(Kvc, CommandChecksInAndOutByVersionAndDate) {
  test_support::ScratchDir dir;
  const std::string kvc = DIFFVIEW_BIN "/kvc";
  const std::string file = dir.write("-a b\"c", "first\n");
  auto run = [&](std::vector<std::string> args) { return test_support::runProgram(kvc, args); };
  EXPECT_EQ(run({"co", "--", file}).err,
            "kvc: error: " + file + " is not under version control\n");
  ASSERT_EQ(run({"ci", "-m", "one", "--", file}).status, 0);
  dir.write("-a b\"c", "second\n");
  ASSERT_EQ(run({"ci", "-m", "two", "--", file}).out, file + ": version 2\n");
  EXPECT_EQ(run({"co", "-r", "1", "--", file}).out, "first\n");
  EXPECT_EQ(run({"co", "-D", "2999-01-01", "--", file}).out, "second\n");
  const auto early = run({"co", "-D", "2000-01-01", "--", file});
  EXPECT_EQ(early.status, 1);
  EXPECT_NE(early.err.find("no version of " + file + " at or before 2000/01/01 00:00:00"),
            std::string::npos) << early.err;
  EXPECT_NE(run({"co", "-r", "3", "--", file}).err.find("no version 3"), std::string::npos);
  ASSERT_EQ(run({"co", "-r", "1", "-o", dir / "out", "--", file}).status, 0);
  EXPECT_EQ(test_support::readFile(dir / "out"), "first\n");
  const std::string log = run({"log", "--", file}).out;
  EXPECT_LT(log.find("version 2 "), log.find("version 1 "));
  EXPECT_NE(log.find("\ntwo\n"), std::string::npos) << log;
}

}  // namespace
