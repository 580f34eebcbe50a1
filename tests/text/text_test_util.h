// Helpers for the text model's tests: a private scratch directory that is
// also where the model puts its cache files, so a test can check that
// nothing is left behind, and small file readers and writers.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/gen.h"
#include "test_support.h"
#include "text/file.h"

namespace text_test {

namespace fs = std::filesystem;

// A fresh directory that also serves as the temporary directory while the
// object lives.
class ScratchDir : public test_support::ScratchDir {
 public:
  ScratchDir() {
    current() = path().string();
    gen_temp_dir = [](const char*) { return current().c_str(); };
  }
  ~ScratchDir() { gen_temp_dir = gen_default_temp_dir; }
  // Entries of the directory other than the ones a test made itself.
  std::vector<std::string> Others(const std::vector<std::string>& mine = {}) const {
    std::vector<std::string> found;
    for (const std::string& name : entries())
      if (std::find(mine.begin(), mine.end(), name) == mine.end()) found.push_back(name);
    return found;
  }

 private:
  static std::string& current() {
    static std::string dir;
    return dir;
  }
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
