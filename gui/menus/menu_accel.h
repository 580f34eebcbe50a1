// Menu accelerators: the text shown beside an item ("Ctrl+Shift+O") read
// into a key code and modifiers, and matched against key events.  Pure
// functions; no display needed.
#pragma once

#include <string>

#include "gui/x11/event.h"

struct WAccel {
  int code = 0;         // key code as in event records; letters lower case
  unsigned mods = 0;    // WMOD_CONTROL, WMOD_SHIFT, WMOD_ALT
};

// Reads "Ctrl+O", "Ctrl+Shift+O", "Ctrl+*", "Alt+F4", "F5", "Ctrl++".
// Modifier names: Ctrl/Control, Shift, Alt/Meta; keys: one character, F1..F12
// and the names of the common function keys.  False when the text is not
// understood (out untouched).
bool W_parseAccel(const std::string& text, WAccel* out);

// Whether a key event (code, modifier state) is the accelerator.  Letters
// and function keys want exactly the accelerator's modifiers; for other
// characters Shift is not looked at (it may be needed to type them), and
// the keypad's "*", "+", "-" and "/" count as those characters.
bool W_accelMatches(const WAccel& accel, int code, unsigned state);
