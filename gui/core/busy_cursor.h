// The busy cursor: while a long piece of work runs, every top-level window
// shows the watch.  Calls nest; the normal arrow comes back when the last
// one ends.  Prefer WBusyCursor, which cannot forget to end.
#pragma once

// Shows the watch on every open top-level window (also those opened since
// an outer call) and sends it to the server at once, so that the user sees
// it before the work starts.
void gui_BusyCursorOn();
// Ends one gui_BusyCursorOn; the last one restores the normal cursor.  An
// unmatched call is ignored.
void gui_BusyCursorOff();
// How many gui_BusyCursorOn calls are not ended yet.
int gui_BusyCursorDepth();

// The busy cursor for the lifetime of the object.
class WBusyCursor {
 public:
  WBusyCursor() { gui_BusyCursorOn(); }
  ~WBusyCursor() { gui_BusyCursorOff(); }
  WBusyCursor(const WBusyCursor&) = delete;
  WBusyCursor& operator=(const WBusyCursor&) = delete;
};
