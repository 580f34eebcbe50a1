// The first pass over the command line.
#include "app/command_line.h"

#include <cstring>

StartOptions parseStartOptions(int* argc, char** argv) {
  StartOptions o;
  int kept = 1;
  for (int i = 1; i < *argc; i++) {
    const char* a = argv[i];
    if (!a) continue;
    if (!strcmp(a, "-client")) {
      o.client = true;
    } else if (!strcmp(a, "-noclient")) {
      o.client = false;
    } else if (!strcmp(a, "-noreuse") || !strcmp(a, "-new")) {
      o.reuse = false;
    } else if (!strcmp(a, "-reuse")) {
      o.reuse = o.client = true;
    } else if (!strcmp(a, "--help") || !strcmp(a, "-h") || !strcmp(a, "-help")) {
      o.help = true;
      return o;
    } else if (!strcmp(a, "-add")) {
      o.add = o.reuse = true;
    } else if (!strcmp(a, "-ask")) {
      o.ask = true;
    } else if (!strcmp(a, "-wmhints")) {
      // The toolkit took note of it and left it for the program: no name.
    } else {
      if (!strcmp(a, "-b")) o.options |= 2;
      if (!strcmp(a, "-w")) o.options |= 1;
      if (!strcmp(a, "-i")) o.options |= 8;
      if (!strcmp(a, "-lang=c")) o.options |= 4;
      argv[kept++] = argv[i];
    }
  }
  for (int i = kept; i < *argc; i++) argv[i] = nullptr;
  *argc = kept;
  return o;
}
