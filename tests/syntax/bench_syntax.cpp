// Benchmark (not a test): colours every line of a generated 200,000-line C
// file, first the start states line by line (what the text model does at
// load), then the runs of every line (what the viewer does when it shows
// them), and prints the time of each per million lines.
//
//   bench_syntax [lines]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/debugflag.h"
#include "base/gen.h"
#include "syntax/syn_definition.h"
#include "syntax/syntax.h"

namespace {

// Lines typical of C sources: code, comments, strings, numbers and
// preprocessor conditionals.
const char* const kTemplate[] = {
    "#include <stdio.h>",
    "#if 0",
    "static int unused(void) { return 42; }",
    "#endif",
    "/* A block comment that spans",
    "   two lines of text. */",
    "static const char* names[] = { \"alpha\", \"beta\\n\", \"gamma\" };",
    "int compute(struct item* it, unsigned long count) {",
    "    double scale = 1.5e-3 * it->weight + 0x1Ful;  // mixed numbers",
    "    for (unsigned long i = 0; i < count; i++) {",
    "        if (it[i].flags & 0x80) continue;",
    "        printf(\"%s: %lu\\n\", names[i % 3], i);",
    "    }",
    "    return (int)(scale * 100.0f) + 'x';",
    "}",
    "",
};

}  // namespace

int main(int argc, char** argv) {
  gen_init(argv[0], 0, 0);
  InitDebugFlag();
  const int count = argc > 1 ? std::atoi(argv[1]) : 200000;
  const std::string definition = std::string(DIFFVIEW_SOURCE) +
                                 "/data/defaults/syntax_coloring/c.gsl";
  std::unique_ptr<synLanguage> c = syn_LoadOneFile(definition.c_str());
  if (!c) {
    std::fprintf(stderr, "cannot load %s\n", definition.c_str());
    return 1;
  }
  std::vector<std::string> lines;
  const int templateLines = sizeof kTemplate / sizeof kTemplate[0];
  for (int i = 0; i < count; i++) lines.push_back(kTemplate[i % templateLines]);

  using Clock = std::chrono::steady_clock;
  const auto t0 = Clock::now();
  std::vector<synLineStart> starts(lines.size());
  for (size_t i = 1; i < lines.size(); i++) {
    starts[i] = syn_GetSynstate(c.get(), &starts[i - 1], lines[i - 1].data(),
                                static_cast<int>(lines[i - 1].size()));
  }
  const auto t1 = Clock::now();
  std::vector<synRun> runs;
  size_t total = 0;
  for (size_t i = 0; i < lines.size(); i++) {
    syn_ColorLine(c.get(), starts[i], lines[i].data(), static_cast<int>(lines[i].size()),
                  &runs);
    total += runs.size();
  }
  const auto t2 = Clock::now();
  const double millions = count / 1e6;
  const double startSecs = std::chrono::duration<double>(t1 - t0).count();
  const double runSecs = std::chrono::duration<double>(t2 - t1).count();
  std::printf("%d lines, %zu runs\n", count, total);
  std::printf("start states: %.3f s per million lines\n", startSecs / millions);
  std::printf("runs:         %.3f s per million lines\n", runSecs / millions);
  std::printf("both:         %.3f s per million lines\n", (startSecs + runSecs) / millions);
  return 0;
}
