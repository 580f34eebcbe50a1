// Runs the built vdiff as a user would, with its own temporary directory,
// capturing what it prints and how it ends.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace vdiff_test {

struct Result {
  int status = -1;  // exit status, or 128 + signal
  std::string out;
  std::string err;
};

// A scratch directory for one test; removed afterwards.
class Scratch {
 public:
  Scratch();
  ~Scratch();
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  std::string Write(const std::string& name, const std::string& bytes) const;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The program's path.
std::string VdiffPath();
// Runs vdiff with `args`, TMPDIR set to `tmpdir`, and waits for it.
Result Run(const std::vector<std::string>& args, const std::string& tmpdir);
// Starts vdiff without waiting; output goes to files in `tmpdir`'s parent.
pid_t Start(const std::vector<std::string>& args, const std::string& tmpdir);
// Waits for a started process; returns its status as Run does.
int Wait(pid_t pid);
// Names in a directory.
std::vector<std::string> Entries(const std::filesystem::path& dir);
std::string ReadFile(const std::string& path);

}  // namespace vdiff_test
