// Toolkit start-up before the display is opened: the debug switches are
// settled (built-in defaults, switch files, command line, constraints) and
// the toolkit's own options are taken out of the argument list.
#pragma once

// What the toolkit options on the command line asked for.
struct ToolkitOptions {
  const char* configDir = nullptr;  // "-configdir DIR"; points into argv
  bool wmHints = false;             // "-wmhints"
  int lowBandwidth = 0;             // "-isdn[N]" (1 without a digit), "-noicons" (9)
  bool splash = true;               // "-splash" / "-nosplash" / $NOSPLASH
  bool noDefaultConfig = false;     // "-nocfg"
};
extern ToolkitOptions toolkitOptions;

// Settles the debug switches and consumes the toolkit's options from
// argv[1..*argc-1], compacting the rest in order and nulling the freed
// slots; *argc becomes the count kept (program name included).
void init_prior_to_gui(int* argc, char** argv);

// Registers the About box texts (shown by the toolkit's About window).
void abSetup(const char* title, const char* subtitle, const char* windowTitle,
             const char* extra);
const char* abGetText(int which);  // 0 title, 1 subtitle, 2 window title, 3 extra
