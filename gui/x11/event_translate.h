// Translation of X events into the toolkit's event record, private to
// gui/x11/.  The rules that need no display (the lone Alt/Meta release,
// click counting, which keys gather typed-ahead presses) are small pure
// pieces; gui_translateXEvent applies them to an XEvent, pulling related
// queued events (motion, typed-ahead keys) along.
#pragma once

#include <X11/Xlib.h>

#include "gui/x11/event.h"

// Follows presses and releases: a release of Alt or Meta that directly
// follows its own press (no other key in between) is to be reported.
class LoneModifierTracker {
 public:
  void keyPressed(int code) { pending_ = W_isLoneModifierCode(code) ? code : 0; }
  // True when this release is to be delivered.
  bool keyReleased(int code);

 private:
  int pending_ = 0;
};

// Counts repeated presses of one button in one window, each within the
// interval of the previous one and a few pixels of it.
class ClickCounter {
 public:
  int press(unsigned long window, int button, unsigned long timeMs, int x, int y);
  int current() const { return count_; }
  void setIntervalMs(unsigned long ms) { interval_ = ms; }

 private:
  unsigned long window_ = 0, last_ = 0, interval_ = 400;
  int button_ = 0, x_ = 0, y_ = 0, count_ = 0;
};

// Whether a key code is a printable character that may gather typed-ahead
// key presses into one delivery (no Control, no Alt).
bool W_keyGathers(int code, unsigned state);

// Translates one event; false when nothing is to be delivered (key
// releases, exposures, which become damage, and events of grab endings).
// The decoded characters stay valid until the next translation.
bool gui_translateXEvent(XEvent* event, xinLibSt* out);

// Selection traffic (selection.cpp): requests of other clients answered,
// clears of our offers, answers to our paste requests.  1 with *out filled
// when a record is to be delivered, 0 when consumed, -1 when the event is
// not about a selection of ours.
int gui_translateSelection(XEvent* event, xinLibSt* out);
int gui_translatePasteAnswer(const XSelectionEvent& event, xinLibSt* out);
// A piece of a paste that comes in pieces (INCR), as gui_translateSelection.
int gui_translatePastePiece(const XPropertyEvent& event, xinLibSt* out);
// A piece of one of our texts sent in pieces taken by its requestor: the
// next one is written.  False when the event is about no such transfer.
bool gui_sendNextPiece(const XPropertyEvent& event);
