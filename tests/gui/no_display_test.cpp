// Without a display the toolkit says why, in its exact words, and the
// process ends with status 1.  Each case runs in a child process.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "base/gen.h"
#include "gui/core/wgui.h"

namespace {

struct Outcome {
  int status = -1;
  std::string err;
};

// Runs WGUIInit in a child with DISPLAY as given (null: unset).
Outcome startWithout(const char* display, std::vector<std::string> args, int kind) {
  std::string errFile = std::string(P_tmpdir) + "/nodisplay-" + std::to_string(getpid());
  pid_t pid = fork();
  if (pid == 0) {
    if (display) setenv("DISPLAY", display, 1);
    else unsetenv("DISPLAY");
    if (!freopen(errFile.c_str(), "w", stderr)) _exit(98);
    gen_changeprogname("diffview");
    args.insert(args.begin(), "diffview");
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int argc = static_cast<int>(args.size());
    WGUIInit(&argc, argv.data(), nullptr, false, false, kind);
    _exit(99);  // only when start-up wrongly succeeded
  }
  Outcome o;
  int status;
  waitpid(pid, &status, 0);
  o.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream in(errFile);
  std::stringstream ss;
  ss << in.rdbuf();
  o.err = ss.str();
  unlink(errFile.c_str());
  return o;
}

const char* const kTail =
    "Check that your DISPLAY environment variable is set appropriately, or\n"
    "enter the display name on the command line with 'diffview -display xxx'\n";

TEST(NoDisplay, UnsetDisplay) {
  Outcome o = startWithout(nullptr, {}, WGUI_KIND_APPLICATION);
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err, std::string("diffview failed to start up in GUI mode\n") + kTail +
                       "This program is only available in GUI mode, so you must have an X "
                       "server\n");
}

TEST(NoDisplay, WrongDisplayIsNamed) {
  Outcome o = startWithout(":999", {}, WGUI_KIND_APPLICATION);
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err, std::string("diffview failed to start up in GUI mode\n") +
                       "Unknown display: :999\n" + kTail +
                       "This program is only available in GUI mode, so you must have an X "
                       "server\n");
}

TEST(NoDisplay, DisplayOptionWinsAndTheIdeOffersNonGuiMode) {
  Outcome o = startWithout(nullptr, {"-display", ":998", "file"}, WGUI_KIND_IDE);
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err, std::string("diffview failed to start up in GUI mode\n") +
                       "Unknown display: :998\n" + kTail +
                       "To start VORNE in non-GUI mode, type 'diffview -nodisplay'\n");
}

}  // namespace
