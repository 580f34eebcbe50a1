// Running vdiff in a child process (see run_vdiff.h).
#include "tests/tools/run_vdiff.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace vdiff_test {

namespace fs = std::filesystem;

Scratch::Scratch() {
  static int serial = 0;
  const char* base = getenv("TMPDIR");
  path_ = fs::path(base && *base ? base : "/tmp") /
          ("vdiff-" + std::to_string(getpid()) + "-" + std::to_string(++serial));
  fs::create_directories(path_);
}

Scratch::~Scratch() { fs::remove_all(path_); }

std::string Scratch::Write(const std::string& name, const std::string& bytes) const {
  const std::string path = (path_ / name).string();
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

std::string VdiffPath() { return std::string(DIFFVIEW_BIN) + "/vdiff"; }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> Entries(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
  return names;
}

namespace {

std::string OutputName(const std::string& tmpdir, const char* what) {
  return (fs::path(tmpdir).parent_path() / (fs::path(tmpdir).filename().string() + what))
      .string();
}

}  // namespace

pid_t Start(const std::vector<std::string>& args, const std::string& tmpdir) {
  const std::string out = OutputName(tmpdir, ".out");
  const std::string err = OutputName(tmpdir, ".err");
  const pid_t pid = fork();
  if (pid != 0) return pid;
  setenv("TMPDIR", tmpdir.c_str(), 1);
  const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  dup2(o, 1);
  dup2(e, 2);
  std::vector<char*> argv;
  const std::string program = VdiffPath();
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  execv(program.c_str(), argv.data());
  _exit(127);
}

int Wait(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WEXITSTATUS(status);
}

Result Run(const std::vector<std::string>& args, const std::string& tmpdir) {
  Result r;
  r.status = Wait(Start(args, tmpdir));
  r.out = ReadFile(OutputName(tmpdir, ".out"));
  r.err = ReadFile(OutputName(tmpdir, ".err"));
  fs::remove(OutputName(tmpdir, ".out"));
  fs::remove(OutputName(tmpdir, ".err"));
  return r;
}

}  // namespace vdiff_test
