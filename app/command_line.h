// The program's first pass over its command line: the words that steer
// the process (client or local, reuse, add, ask) are taken out, the
// comparison option words are noted and kept for the request.
#pragma once

struct StartOptions {
  bool client = true;
  bool reuse = true;
  bool add = false;
  bool ask = false;
  bool help = false;  // "-h", "-help", "--help": print usage and stop
  int options = 0;
};

// Walks argv[1..*argc-1] once, later words overriding earlier ones, and
// compacts the kept words to the front; *argc becomes the number kept
// (program name included) and the freed slots are nulled.  Stops at a help
// word, leaving the rest untouched.
StartOptions parseStartOptions(int* argc, char** argv);
