// Warnings of the language file readers go to the program's message output
// in their own wording ("Warning: ..."), so they carry no severity prefix.
#include "syntax/syn_report.h"

#include <cstdarg>

#include "base/gen.h"
#include "libs/libcxxutil/options_database.h"

namespace {

void Print(const char* format, va_list args) {
  char* text = gen_avsprintf(format, args);
  gen_message(GEN_MSG_PLAIN, "%s", text);
  gen_free(text);
}

}  // namespace

void syn_PrepareDatabase(ut_options_database* database) {
  const char* dir = gen_getprogdir();
  database->add_macro("_VORNE_DIR", dir ? dir : ".");
  database->add_macro("LINE_START", "\x01");
  database->add_macro("LINE_END", "\x02");
  database->set_allow_int32_lists(true);
  database->set_compatibility_mode(true);
}

void synReport::Warn(const char* format, ...) {
  va_list args;
  va_start(args, format);
  Print(format, args);
  va_end(args);
  count_++;
}

void synReport::Say(const char* format, ...) {
  va_list args;
  va_start(args, format);
  Print(format, args);
  va_end(args);
}
