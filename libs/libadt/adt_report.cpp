// The reporting hook of the container library.  Until the foundation
// library installs its own printer, messages go to standard error exactly as
// given, with a newline added when the text does not end in one.
#include "libs/libadt/adt_report.h"

#include <cstdio>
#include <cstring>

namespace {

void default_report(int /*severity*/, const char* text) {
  if (text == nullptr) return;
  std::fputs(text, stderr);
  size_t n = std::strlen(text);
  if (n == 0 || text[n - 1] != '\n') std::fputc('\n', stderr);
  std::fflush(stderr);
}

adt_report_fn report_hook = default_report;

}  // namespace

void adt_set_report_hook(adt_report_fn fn) {
  report_hook = fn != nullptr ? fn : default_report;
}

void adt_report(int severity, const char* text) { report_hook(severity, text); }
