#include "viewer/edit_file.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace {

const char* const kDefaultCommand = "xterm -e ${VISUAL:-${EDITOR:-vi}} +%l %f";

// Single quotes keep every character but the quote itself.
std::string shellQuote(const char* text) {
  std::string out = "'";
  for (const char* p = text; *p; p++) {
    if (*p == '\'') out += "'\\''";
    else out += *p;
  }
  return out + "'";
}

}  // namespace

std::string dv_EditCommand(const char* file, int line) {
  const char* configured = std::getenv("DIFFVIEW_EDITOR");
  std::string pattern = configured && *configured ? configured : kDefaultCommand;
  std::string out;
  for (size_t i = 0; i < pattern.size(); i++) {
    if (pattern[i] == '%' && i + 1 < pattern.size()) {
      char c = pattern[i + 1];
      if (c == 'f') { out += shellQuote(file); i++; continue; }
      if (c == 'l') { out += std::to_string(line < 1 ? 1 : line); i++; continue; }
      if (c == '%') { out += '%'; i++; continue; }
    }
    out += pattern[i];
  }
  return out;
}

// Two forks: the editor belongs to init, so it outlives the viewer and
// leaves no child for the viewer to reap.
bool ReuseEditTag(const char* file, int line, int, int, int) {
  if (!file || !*file) return false;
  std::string command = dv_EditCommand(file, line);
  pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    setsid();
    if (fork() == 0) {
      execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    _exit(0);
  }
  int status = 0;
  if (waitpid(child, &status, 0) < 0) return true;  // reaped by the toolkit first
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
