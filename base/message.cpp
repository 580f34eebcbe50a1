// Uniform messages and fatal exits.  Every message reads
// "<program>: <severity>: <text>" on standard error; the printer is a hook
// so a program can redirect messages, and each severity is counted.
// gen_printf output is plain text for the user and goes to standard output.
#include "base/gen.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/gen_private.h"
#include "libs/libadt/adt_report.h"
#include "libs/libadt/format.h"

int gen_error_count[7] = {};
int gen_any_error = 0;
int gen_alt_error_msgs = 0;
gen_exit_fn gen_exit = gen_default_exit;
gen_domessage_fn gen_domessage = gen_default_domessage;

namespace {

const char* const normal_prefix[7] = {nullptr, "disaster", "fatal", "error",
                                      "warning", "info",     nullptr};
const char* const alt_prefix[7] = {"ERROR",   "ERROR: DISASTER", "ERROR: FATAL",
                                   "ERROR",   "WARNING",         "INFO",
                                   nullptr};

volatile bool exit_started = false;

void append_to_string(void* ctx, const char* s, long n) {
  static_cast<std::string*>(ctx)->append(s, static_cast<size_t>(n));
}

// Routes container reports into the program's own message format.
void report_through_messages(int severity, const char* text) {
  if (severity == GEN_MSG_WARNING) {
    gen_warning("%s", text);
  } else {
    gen_error("%s", text);
  }
}

}  // namespace

namespace gen_private {

bool exiting() { return exit_started; }

void install_adt_report_hook() { adt_set_report_hook(report_through_messages); }

}  // namespace gen_private

int gen_default_domessage(int code, const char* format, va_list args) {
  const int saved_errno = errno;
  const int severity = code > 100 ? code - 100 : code;
  const char* prefix = nullptr;
  if (severity >= 0 && severity <= 6) {
    prefix = (gen_alt_error_msgs ? alt_prefix : normal_prefix)[severity];
    gen_error_count[severity]++;
    if (severity < 4) gen_any_error++;
  }
  std::string text;
  if (format) MT_Vsprintf(append_to_string, &text, format, args);

  fflush(stdout);
  FILE* out = severity == GEN_MSG_PRINTF ? stdout : stderr;
  const char* name = gen_getprogname();
  if (*name && severity != GEN_MSG_PRINTF) fprintf(out, "%s: ", name);
  if (prefix) fprintf(out, "%s: ", prefix);
  fputs(text.c_str(), out);
  if (code > 100 && saved_errno != 0) {
    // Messages written for this ("Unable to open x for input: ") already
    // end in the separator; don't print it twice.
    bool hasSeparator = text.size() >= 2 && text.compare(text.size() - 2, 2, ": ") == 0;
    fprintf(out, hasSeparator ? "%s\n" : ": %s\n", strerror(saved_errno));
    errno = 0;
  } else if (text.empty() || text.back() != '\n') {
    fputc('\n', out);
  }
  fflush(out);
  return code;
}

namespace {

int vmessage(int code, const char* format, va_list args) {
  return gen_domessage(code, format, args);
}

}  // namespace

int gen_error(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int result = vmessage(GEN_MSG_ERROR, format, args);
  va_end(args);
  return result;
}

int gen_warning(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int result = vmessage(GEN_MSG_WARNING, format, args);
  va_end(args);
  return result;
}

int gen_info(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int result = vmessage(GEN_MSG_INFO, format, args);
  va_end(args);
  return result;
}

int gen_printf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int result = vmessage(GEN_MSG_PRINTF, format, args);
  va_end(args);
  return result;
}

int gen_perror(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int result = vmessage(GEN_MSG_ERRNO + GEN_MSG_ERROR, format, args);
  va_end(args);
  return result;
}

int gen_message(int code, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int result = vmessage(code, format, args);
  va_end(args);
  return result;
}

void gen_default_exit(int status) {
  if (exit_started) _exit(status);
  exit_started = true;
  exit(status);
}

// A replaced exit hook that returns still ends the process.
void gen_errorexit(int status, const char* format, ...) {
  va_list args;
  va_start(args, format);
  vmessage(status != 0 ? GEN_MSG_FATAL : GEN_MSG_PLAIN, format, args);
  va_end(args);
  gen_exit(status);
  gen_default_exit(status);
}

void gen_perrorexit(int status, const char* format, ...) {
  va_list args;
  va_start(args, format);
  vmessage(GEN_MSG_ERRNO + GEN_MSG_FATAL, format, args);
  va_end(args);
  gen_exit(status);
  gen_default_exit(status);
}

void gen_successexit(int /*status*/) {
  gen_exit(0);
  gen_default_exit(0);
}

void __Assert(int cond, const char* text, const char* file, int line, int extra) {
  if (cond) return;
  fflush(stdout);
  fputs("Assertion ", stderr);
  if (text) fprintf(stderr, "(%s) ", text);
  if (extra != 0) fprintf(stderr, "[%d] ", extra);
  fprintf(stderr, "failed in '%s' on line %d", file ? file : "", line);
  const char* name = gen_getprogname();
  if (*name) fprintf(stderr, " in %s", name);
  fputc('\n', stderr);
  fflush(stderr);
  gen_exit(1);
}
