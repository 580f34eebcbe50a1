// A narrow view beside a text view (the line numbers) whose clicks select
// whole lines of the text view: a press selects the line under it, and
// dragging down the margin extends the selection line by line.
#pragma once

#include <map>

#include "gui/x11/event.h"

class WTextView;
class WWindowedItem;

class SelectionMargin {
 public:
  // Serves `marginView` for `textView`; does nothing when either is null or
  // they are the same view.  Lives as long as the window that made it.
  SelectionMargin(WTextView* textView, WTextView* marginView);
  ~SelectionMargin();
  SelectionMargin(const SelectionMargin&) = delete;
  SelectionMargin& operator=(const SelectionMargin&) = delete;

  // The margin view's event-steal hook: finds the margin object for the
  // view and lets it handle the event.
  static bool stealEventHandler(xinLibSt* event, WWindowedItem* item);
  // Takes mouse events on the margin and hands them, adjusted, to the text
  // view; true when it took the event.
  bool handleStolenEvent(xinLibSt* event);

 private:
  WTextView* text_ = nullptr;
  WTextView* margin_ = nullptr;
  static std::map<WWindowedItem*, SelectionMargin*>* margins_;
};
