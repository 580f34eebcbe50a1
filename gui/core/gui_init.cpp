// The toolkit's command-line pass: "-X<switch>" and "-Z<switch>" turn debug
// switches on and off, a handful of words set toolkit options, and "-run"
// ends the pass so that everything after it reaches the application as is.
#include "gui/core/gui_init.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/debugflag.h"
#include "base/gen.h"
#include "config/config_dirs.h"

ToolkitOptions toolkitOptions;

namespace {

std::string aboutTexts[4];

enum class Take { No, One, Two, Stop };

// Looks at one argument (without its dash); says how many words it consumes.
Take toolkitOption(const char* word, const char* next) {
  if (word[0] == 'X' || word[0] == 'Z') {
    if (!setXSwitch(word + 1, word[0] == 'X'))
      gen_warning("Ignoring unknown switch \"-%s\"", word);
    return Take::One;
  }
  if (!strcmp(word, "run") || !strcmp(word, "rungui")) return Take::Stop;
  if (!strcmp(word, "console")) {
    gen_warning("No console mode available on UNIX yet\n");
    return Take::One;
  }
  if (!strcmp(word, "configdir")) {
    if (!next) return Take::No;
    toolkitOptions.configDir = next;
    cfg_SetUserConfigDir(next);
    return Take::Two;
  }
  if (!strcmp(word, "wmhints")) {
    toolkitOptions.wmHints = true;
    return Take::No;  // the window manager wrapper reads it later
  }
  if (!strncmp(word, "isdn", 4) && (!word[4] || (isdigit((unsigned char)word[4]) && !word[5]))) {
    toolkitOptions.lowBandwidth = word[4] ? word[4] - '0' : 1;
    return Take::One;
  }
  if (!strcmp(word, "nosplash") || !strcmp(word, "splash")) {
    toolkitOptions.splash = word[0] == 's';
    return Take::One;
  }
  if (!strcmp(word, "nocfg")) {
    toolkitOptions.noDefaultConfig = true;
    cfg_SetNoConfigFiles(true);
    return Take::One;
  }
  if (!strcmp(word, "noicons")) {
    toolkitOptions.lowBandwidth = 9;
    return Take::One;
  }
  return Take::No;
}

}  // namespace

void init_prior_to_gui(int* argc, char** argv) {
  InitDebugFlag();
  ReadXSWFiles();
  if (getenv("NOSPLASH")) toolkitOptions.splash = false;

  int kept = 1;
  int i = 1;
  for (; i < *argc; i++) {
    const char* arg = argv[i];
    Take take = Take::No;
    if (arg && arg[0] == '-')
      take = toolkitOption(arg + 1, i + 1 < *argc ? argv[i + 1] : nullptr);
    if (take == Take::Stop) break;
    if (take == Take::Two) i++;
    if (take == Take::No) argv[kept++] = argv[i];
  }
  for (; i < *argc; i++) argv[kept++] = argv[i];
  for (int j = kept; j < *argc; j++) argv[j] = nullptr;
  *argc = kept;

  ConstrainXSwitches();
}

void abSetup(const char* title, const char* subtitle, const char* windowTitle,
             const char* extra) {
  const char* texts[4] = {title, subtitle, windowTitle, extra};
  for (int i = 0; i < 4; i++) aboutTexts[i] = texts[i] ? texts[i] : "";
}

const char* abGetText(int which) {
  if (which < 0 || which > 3) return nullptr;
  return aboutTexts[which].c_str();
}
