// The options-file reader and the language definitions built from it: the
// input is read as a definition file, a language is built from the tree,
// and the input's own lines are coloured with it.  What reads back must
// write out and read again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/gen.h"
#include "libs/libcxxutil/options_database.h"
#include "libs/libcxxutil/options_reader.h"
#include "syntax/syn_definition.h"
#include "syntax/syn_language.h"
#include "syntax/syn_report.h"
#include "syntax/syntax.h"

namespace {

void colourLines(synLanguage* language, const std::string& text) {
  synLineStart start{};
  std::vector<std::string> lines = gen_split_lines(text);
  if (lines.size() > 200) lines.resize(200);
  std::vector<synRun> runs;
  for (const std::string& line : lines) {
    runs.clear();
    syn_ColorLine(language, start, line.data(), static_cast<int>(line.size()), &runs);
    start = syn_GetSynstate(language, &start, line.data(), static_cast<int>(line.size()));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool started = (gen_init("fuzz_options", 0, 0), true);
  (void)started;
  std::string text(reinterpret_cast<const char*>(data), size);
  ut_options_database database;
  syn_PrepareDatabase(&database);
  if (!database.read_from_string(text, "fuzz")) return 0;
  // A tree that was read writes out as text that reads again.
  ut_options_node again;
  ut_reader_settings settings;
  settings.allow_lists = true;
  if (!ut_read_options(ut_write_options(*database.get_root_node(), true), "rewritten", settings,
                       &again)
           .ok)
    __builtin_trap();
  auto language = syn_BuildLanguage(*database.get_root_node(), "fuzz", false,
                                    database.get_error_count());
  if (language) colourLines(language.get(), text);
  return 0;
}
