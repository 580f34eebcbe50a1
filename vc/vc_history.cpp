// Showing a file's history: the configured command of the custom type, or
// the history fetched from the service and handed to the history window;
// and the one type of a list of checkout directories.
#include <unistd.h>

#include <sstream>

#include "base/gen.h"
#include "config/config_vars.h"
#include "gui/loop/extra_process.h"
#include "vc/vc.h"
#include "vc/vc_detect.h"
#include "vc/vc_private.h"

namespace {

vc_HistoryBrowser_PT historyBrowser = nullptr;

// The words of a command: blanks separate them, double quotes hold blanks.
std::vector<std::string> wordsOf(const char* command) {
  std::vector<std::string> words;
  std::string word;
  bool quoted = false, any = false;
  for (const char* p = command; *p; p++) {
    if (*p == '"') {
      quoted = !quoted, any = true;
    } else if ((*p == ' ' || *p == '\t') && !quoted) {
      if (any) words.push_back(word);
      word.clear(), any = false;
    } else {
      word += *p, any = true;
    }
  }
  if (any) words.push_back(word);
  return words;
}

// The configured command runs on its own, reaped by the main loop.
bool runHistoryCommand(const char* command, const char* file) {
  std::vector<std::string> words = wordsOf(command);
  if (words.empty()) return false;
  words.push_back(file);
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    execvp(argv[0], argv.data());
    _exit(127);
  }
  if (pid < 0) return false;
  ExtraProcess_Create(EP_CHILD, pid, nullptr, nullptr, nullptr);
  return true;
}

}  // namespace

void vc_SetHistoryBrowser(vc_HistoryBrowser_PT browser) { historyBrowser = browser; }

bool vc_ShowHistory(const char* file) {
  if (!Vorne_VC_Module::VCEnabled()) {
    ReportVCError("Version control is disabled; Can't show history");
    return false;
  }
  if (vc_Module()->configuredType() == VC_CUSTOM && cfg_vc_show_history_command &&
      *cfg_vc_show_history_command)
    return runHistoryCommand(cfg_vc_show_history_command, file);
  History_Info history;
  if (!vc_GetHistory(file, &history)) return false;
  if (history.items.empty()) {
    std::string text = "No versions of ";
    text += file;
    text += " have been checked in.";
    vc_Alert(text.c_str());
    return false;
  }
  if (historyBrowser) historyBrowser(file, history);
  return true;
}

int vc_TypeOfCheckouts(const char* directories) {
  std::string list = directories ? directories : "";
  for (char& c : list)
    if (c == ':' || c == ';') c = ' ';
  std::istringstream in(list);
  int type = -1;
  for (std::string dir; in >> dir;) {
    const int here = vc_DetectDirectory(dir.c_str());
    if (type >= 0 && here != type) {
      vc_Alert("Browsing checkouts under different version control types is not supported.");
      return -1;
    }
    type = here;
  }
  return type;
}
