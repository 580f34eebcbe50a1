// Shared by the test programs: running a built program as a user would,
// a scratch directory per test, and mutable argument vectors built from
// words.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace test_support {

struct ProgramResult {
  int status = -1;  // exit status, or 128 + signal
  std::string out;  // standard output
  std::string err;  // standard error
};

// Runs `program` (a path, or a name looked up on PATH) with `args` and
// waits for it; `env` entries ("NAME=value") join the inherited environment.  Output goes through files, so a chatty
// program never blocks on a pipe.
ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& env = {});
// Starts a program without waiting, its output going to the two files.
pid_t startProgram(const std::string& program, const std::vector<std::string>& args,
                   const std::vector<std::string>& env, const std::string& outFile,
                   const std::string& errFile);
// Waits for a started program; its status as runProgram gives it.
int waitProgram(pid_t pid);

std::string readFile(const std::filesystem::path& path);

// A fresh directory under $TMPDIR (else /tmp), removed with the object.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& path() const { return path_; }
  // Writes `bytes` to `name`, making its folders; returns the full path.
  std::string write(const std::string& name, const std::string& bytes) const;
  // Names of the entries of a directory (this one by default).
  std::vector<std::string> entries(const std::string& sub = "") const;

 private:
  std::filesystem::path path_;
};

// A mutable, null-terminated argv made from words.
class ArgVector {
 public:
  explicit ArgVector(std::vector<std::string> words);
  ArgVector(const ArgVector&) = delete;
  ArgVector& operator=(const ArgVector&) = delete;
  int argc;
  char** argv() { return pointers_.data(); }
  // The words argv[from..argc) as they are now.
  std::vector<std::string> words(int from = 0) const;

 private:
  std::vector<std::string> words_;
  std::vector<char*> pointers_;
};

}  // namespace test_support
