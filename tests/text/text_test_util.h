// Helpers for the text model's tests: a private scratch directory that is
// also where the model puts its cache files, so a test can check that
// nothing is left behind, and small file readers and writers.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/gen.h"
#include "text/file.h"

namespace text_test {

namespace fs = std::filesystem;

// A fresh directory that also serves as the temporary directory while the
// object lives.
class ScratchDir {
 public:
  ScratchDir() {
    static int serial = 0;
    const char* base = getenv("TMPDIR");
    path_ = fs::path(base && *base ? base : "/tmp") /
            ("text-" + std::to_string(getpid()) + "-" + std::to_string(++serial));
    fs::create_directories(path_);
    current() = path_.string();
    gen_temp_dir = [](const char*) { return current().c_str(); };
  }
  ~ScratchDir() {
    gen_temp_dir = gen_default_temp_dir;
    fs::remove_all(path_);
  }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  const fs::path& path() const { return path_; }
  // Entries of the directory other than the ones a test made itself.
  std::vector<std::string> Others(const std::vector<std::string>& mine = {}) const {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(path_)) {
      const std::string name = entry.path().filename().string();
      bool own = false;
      for (const auto& m : mine) own = own || m == name;
      if (!own) found.push_back(name);
    }
    return found;
  }

 private:
  static std::string& current() {
    static std::string dir;
    return dir;
  }
  fs::path path_;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::vector<std::string> LinesOf(file* f) {
  std::vector<std::string> lines;
  for (line* l = f ? f->firstLine : nullptr; l; l = l->next) {
    const char* text = FileLineText(f, l);
    lines.emplace_back(text ? std::string(text, l->length) : std::string("<null>"));
  }
  return lines;
}

}  // namespace text_test
