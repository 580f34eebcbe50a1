// Mouse and key bindings of the toolkit's windows, written as short texts:
//   "Mouse1*Release1@Close=Close"  button 1, first release, on the Close glyph
//   "q|Control=Close"              the key q with Control
// A window parses the defaults once per process before it is created.
#pragma once

#include <string>
#include <vector>

struct WBinding {
  bool mouse = false;
  int button = 0;          // mouse: 1..5
  bool onPress = false;    // mouse: Press (true) or Release (false)
  int count = 1;           // mouse: which click of a series
  std::string options;     // mouse: "(AtOnce)" and the like, without parentheses
  std::string place;       // mouse: the glyph it applies to
  std::string key;         // key: the key's name
  unsigned modifiers = 0;  // key: WModifier bits
  std::string command;
};

// Parses one binding; false (and *out untouched) when the text is malformed.
bool W_parseBinding(const char* text, WBinding* out);

// Adds a binding from a configuration line to the windows' bindings, in
// place of one with the same key and modifiers (or the same button, click
// and place); false when the text is no binding.
bool W_addBinding(const char* text);

// Parses the default window bindings once; false when one does not parse.
bool W_defaultWindowBindings();
const std::vector<WBinding>& W_windowBindings();
// The command bound to a key (WModifier bits of the event), or null.  The
// commands a top-level window knows are "Close" and those of its command
// handler (cwSetCommandHandler).
const char* W_keyCommand(int code, unsigned modifiers);
void W_clearBindings();
