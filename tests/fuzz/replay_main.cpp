// Runs a fuzz target over the files of its seed corpus (and over any files
// or folders named on the command line), so that the normal test run
// replays what the fuzzers found without needing libFuzzer.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

int runFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 0;
  for (int i = 1; i < argc; i++) {
    std::filesystem::path arg = argv[i];
    if (!std::filesystem::is_directory(arg)) {
      runFile(arg);
      runs++;
      continue;
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(arg)) {
      if (!entry.is_regular_file()) continue;
      runFile(entry.path());
      runs++;
    }
  }
  std::printf("replayed %d inputs\n", runs);
  return runs > 0 ? 0 : 1;  // an empty corpus is a broken test
}
