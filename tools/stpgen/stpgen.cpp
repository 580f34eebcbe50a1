// stpgen: generates the endpoint classes of a service interface from its
// description (see description.h for the format):
//   stpgen <description> <output folder> [<include folder>]
// writes <Interface>_<side>_Impl.h and .cpp for both sides into the output
// folder; the sources include their header as "<include folder>/<name>.h".
// A description it cannot read gives "<file>:<line>: error: ..." and
// status 1, and no file is written.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tools/stpgen/description.h"
#include "tools/stpgen/emit.h"

namespace {

// Writes only when the text differs, so that unchanged classes are not
// compiled again.
bool writeIfChanged(const std::filesystem::path& path, const std::string& text) {
  std::ifstream old(path, std::ios::binary);
  std::stringstream current;
  current << old.rdbuf();
  if (old && current.str() == text) return true;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    fprintf(stderr, "usage: stpgen <description> <output folder> [<include folder>]\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    fprintf(stderr, "%s:1: error: cannot read the description\n", argv[1]);
    return 1;
  }
  std::stringstream text;
  text << in.rdbuf();
  stpgen::Interface iface;
  std::string error;
  if (!stpgen::parseDescription(argv[1], text.str(), &iface, &error)) {
    fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  std::filesystem::path outDir = argv[2];
  std::error_code ec;
  std::filesystem::create_directories(outDir, ec);
  std::string source = std::filesystem::path(argv[1]).filename().string();
  std::string includeDir = argc > 3 ? argv[3] : "";
  for (const stpgen::Side& side : iface.sides) {
    std::string base = stpgen::className(iface, side);
    if (!writeIfChanged(outDir / (base + ".h"), stpgen::emitHeader(iface, side, source)) ||
        !writeIfChanged(outDir / (base + ".cpp"),
                        stpgen::emitSource(iface, side, source, includeDir))) {
      fprintf(stderr, "stpgen: error: cannot write %s in %s\n", base.c_str(), argv[2]);
      return 1;
    }
  }
  return 0;
}
