// Each system's backend on a real repository made here: three versions of
// a file whose name has a blank, quotes and a leading dash, then the
// versions listed, their neighbours and information, restoring to a
// version and to a date, the last edit of a line, and the errors of an
// unknown version, a date before the first version and broken
// repositories.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <thread>

#include "base/gen.h"
#include "kvc/kvc.h"
#include "test_support.h"
#include "vc_service/vc_backend.h"
#include "vc_service/vcs_run.h"

namespace {

const char* const kName = "-my \"odd\" file.txt";
const std::string kV1 = "alpha\nbeta\ngamma\n", kV2 = "alpha\nBETA\ngamma\n",
                  kV3 = "alpha\nBETA\ngamma\ndelta\n";

void sh(const std::vector<std::string>& argv, const std::string& dir) {
  const VcsResult r = vcs_Run(argv, dir);
  ASSERT_TRUE(r.ok()) << argv[0] << " " << argv[1] << ": " << r.error();
}

std::string utcNow() {
  const time_t t = time(nullptr);
  char buf[64];
  struct tm tm;
  strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S +0000", gmtime_r(&t, &tm));
  return buf;
}

class Backend : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    gen_init("test_vc_service", 0, 0);
    b_ = vcs_MakeBackend(GetParam());
    ASSERT_TRUE(b_);
    work_ = dir_ / "work";
    if (std::string(GetParam()) == "CVS") {
      sh({"cvs", "-d", dir_ / "repo", "init"}, dir_.path());
      sh({"mkdir", dir_ / "repo/mod"}, dir_.path());
      sh({"cvs", "-Q", "-d", dir_ / "repo", "checkout", "-d", "work", "mod"}, dir_.path());
    } else {
      sh({"mkdir", "-p", work_ + "/RCS"}, dir_.path());
    }
    if (std::string(GetParam()) == "Git") {
      sh({"git", "init", "-q", "."}, work_);
      sh({"git", "config", "user.name", "Ann"}, work_);
      sh({"git", "config", "user.email", "ann@example.org"}, work_);
    }
    file_ = work_ + "/" + kName;
    check(kV1, "first", true);
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    between_ = utcNow();
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    check(kV2, "second", false);
    check(kV3, "third", false);
  }
  void check(const std::string& text, const char* comment, bool first) {
    if (!first && !b_->optimistic()) {
      ASSERT_EQ(b_->checkOut(file_), "");
    }
    write(text);
    std::string version;
    ASSERT_EQ(first ? b_->place(file_, comment) : b_->checkIn(file_, comment, &version), "");
  }

  // CVS sees a change by the file's time: each write is a second later.
  void write(const std::string& text) {
    dir_.write("work/" + std::string(kName), text);
    std::filesystem::last_write_time(
        file_, std::filesystem::file_time_type::clock::now() + std::chrono::seconds(++bump_));
  }

  test_support::ScratchDir dir_;
  int bump_ = 0;
  std::unique_ptr<VcBackend> b_;
  std::string work_, file_, between_;
};

TEST_P(Backend, VersionsNeighboursRestoringAndLastEdit) {
  bool under = false;
  EXPECT_EQ(b_->underVC(file_, &under), "");
  EXPECT_TRUE(under);
  History_Info h;
  ASSERT_EQ(b_->history(file_, &h), "");
  ASSERT_EQ(h.items.size(), 3u);
  const std::string v1 = h.items[2].version, v2 = h.items[1].version, v3 = h.items[0].version;
  const std::string system = GetParam();
  const char* expected = system == "KVC" ? "123" : system == "Git" ? "" : "1.11.21.3";
  if (*expected) {
    EXPECT_EQ(v1 + v2 + v3, expected);
  }
  EXPECT_EQ(h.items[1].comments, "second");

  std::string out;
  EXPECT_EQ(b_->previous(file_, v3, &out), "");
  EXPECT_EQ(out, v2);
  EXPECT_EQ(b_->previous(file_, "", &out), "");
  EXPECT_EQ(out, v3);
  EXPECT_EQ(b_->next(file_, v1, &out), "");
  EXPECT_EQ(out, v2);
  EXPECT_NE(b_->next(file_, v3, &out), "");
  EXPECT_NE(b_->previous(file_, v1, &out), "");
  VersionInfo info;
  EXPECT_EQ(b_->info(file_, v2, &info), "");
  EXPECT_EQ(info.comments, "second");
  EXPECT_FALSE(info.author.empty() || info.date.empty());

  const std::string copy = dir_ / "copy";
  ASSERT_EQ(b_->restoreVersion(file_, copy, v1), "");
  EXPECT_EQ(test_support::readFile(copy), kV1);
  ASSERT_EQ(b_->restoreDate(file_, copy, between_), "");
  EXPECT_EQ(test_support::readFile(copy), kV1);
  EXPECT_NE(b_->restoreDate(file_, copy, "2001-02-03 04:05:06 +0000"), "");
  EXPECT_NE(b_->restoreVersion(file_, copy, "777"), "");
  EXPECT_NE(b_->restoreVersion(file_, copy, "--output=x"), "");

  VcLastEdit e;
  ASSERT_EQ(b_->lastEdit(file_, 2, 3, v3, &e), "");
  EXPECT_EQ(e.postVersion + " " + e.version + " " + std::to_string(e.postLine) + " " +
                std::to_string(e.line),
            v2 + " " + v1 + " 2 2");
  ASSERT_EQ(b_->lastEdit(file_, 4, 4, "", &e), "");
  EXPECT_EQ(e.postVersion + " " + e.version, v3 + " " + v2);
  EXPECT_NE(b_->lastEdit(file_, 5, 9, "", &e), "");
  ASSERT_EQ(b_->lastEdit(file_, 1, 1, v1, &e), "");
  EXPECT_EQ(e.version, "original");

  History_Info told;
  EXPECT_EQ(vcs_MakeBackend("")->history(file_, &told), "");
  EXPECT_EQ(told.items.size(), 3u);

  VcStatus s;
  if (!b_->optimistic()) b_->checkOut(file_);
  write("edited\n");
  ASSERT_EQ(b_->status(file_, &s), "");
  EXPECT_EQ(s.type, VC_STATUS_MODIFIED) << s.text;
}

INSTANTIATE_TEST_SUITE_P(Systems, Backend, ::testing::Values("RCS", "CVS", "Git", "KVC"));

TEST(GitRenames, VersionsBeforeARenameAreFetchedUnderTheOldName) {
  gen_init("test_vc_service", 0, 0);
  test_support::ScratchDir dir;
  const std::string work = dir / "g";
  dir.write("g/old name", "one\n");
  for (const std::vector<std::string>& c :
       {std::vector<std::string>{"git", "init", "-q", "."}, {"git", "add", "old name"},
        {"git", "-c", "user.name=A", "-c", "user.email=a@example.org", "commit", "-q", "-m", "1"},
        {"git", "mv", "old name", "new"},
        {"git", "-c", "user.name=A", "-c", "user.email=a@example.org", "commit", "-q", "-m", "2"}})
    sh(c, work);
  auto git = vcs_MakeBackend("Git");
  History_Info h;
  ASSERT_EQ(git->history(work + "/new", &h), "");
  ASSERT_EQ(h.items.size(), 2u);
  std::string text;
  EXPECT_EQ(git->fetch(work + "/new", h.items[1].version, &text), "");
  EXPECT_EQ(text, "one\n");
  EXPECT_EQ(git->previous(work + "/new", "HEAD", &text), "");
  EXPECT_EQ(text, h.items[1].version);
}

TEST(Commands, AHungCommandIsStoppedAndAMissingOneSaysSo) {
  const VcsResult hung = vcs_Run({"sh", "-c", "sleep 30 & sleep 30"}, ".", 200);
  EXPECT_TRUE(hung.timedOut);
  EXPECT_EQ(hung.error(), "sh did not finish within 200 ms and was stopped");
  const VcsResult missing = vcs_Run({"no-such-vc-tool", "x"}, ".");
  EXPECT_EQ(missing.status, 127);
  EXPECT_EQ(missing.error(), "cannot run no-such-vc-tool: No such file or directory");
}

TEST(BrokenRepositories, GiveTheSystemsMessage) {
  gen_init("test_vc_service", 0, 0);
  test_support::ScratchDir dir;
  History_Info h;
  dir.write("r/RCS/f,v", "head 1.1; this is no RCS file\n");
  const std::string rcs = dir.write("r/f", "x\n");
  EXPECT_NE(vcs_MakeBackend("RCS")->history(rcs, &h), "");
  const std::string cvs = dir.write("c/f", "x\n");
  dir.write("c/CVS/Root", dir / "nowhere\n");
  dir.write("c/CVS/Repository", "mod\n");
  dir.write("c/CVS/Entries", "/f/1.1///\n");
  EXPECT_NE(vcs_MakeBackend("CVS")->history(cvs, &h), "");
  const std::string git = dir.write("g/f", "x\n");
  sh({"git", "init", "-q", "."}, dir / "g");
  dir.write("g/other", "y\n");
  sh({"git", "add", "other"}, dir / "g");
  sh({"git", "-c", "user.name=A", "-c", "user.email=a@example.org", "commit", "-q", "-m", "o"},
     dir / "g");
  EXPECT_EQ(vcs_MakeBackend("Git")->history(git, &h), git + " has no versions in git");
  const std::string kvc = dir.write("k/f", "x\n");
  EXPECT_EQ(vcs_MakeBackend("KVC")->history(kvc, &h), kvc + " is not under version control");
  dir.write("k/kvc.log/f", "KVC log 1\nhead 2\n");
  EXPECT_EQ(vcs_MakeBackend("KVC")->history(kvc, &h).rfind("damaged version log ", 0), 0u);
  EXPECT_TRUE(h.items.empty());
}

}  // namespace
