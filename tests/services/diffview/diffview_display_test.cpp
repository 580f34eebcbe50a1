// The display side of the diff view service without a router: request
// strings split as the sending side writes them, and each message doing
// its part on viewers recorded by test openers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/gen.h"
#include "services/diffview/diffview.h"
#include "viewer/opener.h"

namespace {

TEST(DiffViewCommand, SplitsAsTheSenderQuotes) {
  const struct {
    const char* command;
    std::vector<std::string> words;
  } cases[] = {
      {"", {}},
      {"   a b", {"a", "b"}},
      {"a b ", {"a", "b", ""}},  // a blank after the last word
      {"\"my file.c\" other", {"my file.c", "other"}},
      {"-v 1.2 x\\ y", {"-v", "1.2", "x\\ y"}},  // the backslash stays
      {"\"a \\\" b\" c", {"a \\\" b", "c"}},
      {"mid\"dle", {"mid\"dle"}},  // only an opening quote is special
  };
  for (const auto& c : cases) {
    std::vector<std::string> words{"stale"};
    EXPECT_TRUE(DiffView_splitCommand(c.command, &words)) << c.command;
    EXPECT_EQ(words, c.words) << c.command;
  }
  std::vector<std::string> words;
  for (const char* bad : {"\"open", "a \"b c", "end\\"})
    EXPECT_FALSE(DiffView_splitCommand(bad, &words)) << bad;
}

// Viewers that only record what they were asked.
struct Recorded : DiffViewer {
  std::vector<std::string> calls;
  void gotoRange(int index) override { calls.push_back("goto " + std::to_string(index)); }
  void raiseWindow() override { calls.push_back("raise"); }
  void loadNewDiff(const char* f1, const char*, const char*, const char* f2, const char*,
                   const char*, loadType type, int) override {
    calls.push_back("load " + std::string(f1) + " " + f2 + " " + std::to_string(type));
  }
};
std::vector<Recorded*> opened;

class DiffViewDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    opened.clear();
    last_diffview = nullptr;
    diffViewerOpeners.openViewer = [](const char* f1, const char*, const char*, const char* f2,
                                      const char*, const char*, int) -> DiffViewer* {
      opened.push_back(new Recorded);
      opened.back()->calls.push_back("open " + std::string(f1) + " " + f2);
      return opened.back();
    };
  }
  void TearDown() override {
    for (Recorded* r : opened) delete r;
    last_diffview = nullptr;
    diffViewerOpeners = {};
    display->delRef();
  }
  DiffView_Display* display = new DiffView_Display;
};

TEST_F(DiffViewDisplay, MessagesOpenReuseAndPositionItsViewer) {
  EXPECT_EQ(DiffView_Display::_num_displays_open, 1);
  display->msg_GotoRange(5, 9);  // no viewer yet: nothing happens
  char* error = gen_copy("stale");
  display->msg_CreateNewDiffByFilename("/x/a", nullptr, nullptr, "/x/b", nullptr, nullptr, 1, 0,
                                       0, &error);
  EXPECT_EQ(error, nullptr);
  ASSERT_EQ(opened.size(), 1u);  // reuse without a viewer opens one
  display->msg_CreateNewDiffByFilename("/x/c", nullptr, nullptr, "/x/d", nullptr, nullptr, 0, 1,
                                       0, &error);
  display->msg_GotoRange(5, 9);
  EXPECT_EQ(opened[0]->calls, (std::vector<std::string>{"open /x/a /x/b", "raise",
                                                         "load /x/c /x/d 2", "goto 5", "raise"}));

  display->msg_CreateNewDiff("\"/x/a b", nullptr, 1, 0, &error);
  EXPECT_STREQ(error, "non-terminated quoted string");
  gen_free(error);
  EXPECT_EQ(opened.size(), 1u);
  display->msg_CreateNewDiff("/nonexistent/q /x/b", nullptr, 1, 0, &error);
  EXPECT_STREQ(error, "Cannot open file for reading: /nonexistent/q");
  gen_free(error);
}

}  // namespace
