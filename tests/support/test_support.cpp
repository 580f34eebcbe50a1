// The shared test helpers (see test_support.h): programs run in children with
// their output in files, scratch directories and argument vectors.
#include "test_support.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace test_support {

namespace fs = std::filesystem;

pid_t startProgram(const std::string& program, const std::vector<std::string>& args,
                   const std::vector<std::string>& env, const std::string& outFile,
                   const std::string& errFile) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  dup2(open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
  dup2(open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
  dup2(open("/dev/null", O_RDONLY), 0);
  for (const std::string& e : env) putenv(const_cast<char*>(e.c_str()));
  std::vector<std::string> words = {program};
  words.insert(words.end(), args.begin(), args.end());
  ArgVector argv(words);
  execvp(program.c_str(), argv.argv());  // a bare name is looked up on PATH
  _exit(127);
}

int waitProgram(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& env) {
  ScratchDir output;
  ProgramResult r;
  r.status = waitProgram(startProgram(program, args, env, output / "out", output / "err"));
  r.out = readFile(output / "out");
  r.err = readFile(output / "err");
  return r;
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

ScratchDir::ScratchDir() {
  static int serial = 0;
  const char* base = getenv("TMPDIR");
  path_ = fs::path(base && *base ? base : "/tmp") /
          ("test-" + std::to_string(getpid()) + "-" + std::to_string(++serial));
  fs::remove_all(path_);
  fs::create_directories(path_);
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string ScratchDir::write(const std::string& name, const std::string& bytes) const {
  const fs::path path = path_ / name;
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
  return path.string();
}

std::vector<std::string> ScratchDir::entries(const std::string& sub) const {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(path_ / sub)) names.push_back(e.path().filename());
  return names;
}

ArgVector::ArgVector(std::vector<std::string> words) : words_(std::move(words)) {
  for (std::string& w : words_) pointers_.push_back(w.data());
  pointers_.push_back(nullptr);
  argc = static_cast<int>(words_.size());
}

std::vector<std::string> ArgVector::words(int from) const {
  return std::vector<std::string>(pointers_.begin() + from, pointers_.begin() + argc);
}

}  // namespace test_support
