// Drives the real diffview program on the test program's Xvfb as a person
// would: starts it, finds its window, presses keys and clicks through
// xdotool, and reads back its title, the state it publishes in the
// _DIFFVIEW_STATE property, and its pixels.
#pragma once

#include <sys/types.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "x_pixels.h"

using xtest::Band;
using xtest::Rect;

// The published state, one "key=value" per line.
struct ViewerState {
  std::map<std::string, std::string> values;
  std::string get(const std::string& key) const;
  int number(const std::string& key) const;  // -1 when absent
  Rect rect(const std::string& key) const;
};

class ViewerSession {
 public:
  ViewerSession() = default;
  ~ViewerSession();  // kills the program if it still runs
  ViewerSession(const ViewerSession&) = delete;
  ViewerSession& operator=(const ViewerSession&) = delete;

  // Starts diffview with a private configuration directory.
  bool start(const std::vector<std::string>& args, const std::string& configDir);
  // Waits until a top-level window whose title contains `title` publishes
  // its state; 0 when none does in time.
  unsigned long waitForWindow(const std::string& title);
  unsigned long window() const { return window_; }

  ViewerState state() const;
  // Polls the state until `ready` holds; the last state read.
  ViewerState waitFor(const std::function<bool(const ViewerState&)>& ready) const;
  int waitForCurrent(int current) const;  // the current difference then

  void key(const std::string& keys) const;  // focused first; xdotool key names
  void click(int x, int y, int button = 1) const;  // window coordinates
  // The colour runs down the right edge of a view, where short lines leave
  // only row backgrounds (window coordinates).
  std::vector<Band> rowBands(const std::string& view) const;

  // Waits for the program to end; its exit status (-1 after the time-out,
  // when it is killed).
  int wait();
  bool running();
  std::string errors() const;  // what it wrote to standard error

 private:
  pid_t pid_ = -1;
  unsigned long window_ = 0;
  std::string errFile_;
};

// Keys and typed text for whichever window has the focus.
void keys(const std::vector<std::string>& names);
void type(const std::string& text);
// Waits until exactly one viewable top-level window's title contains
// `title`, and focuses it; 0 when none appears.
unsigned long focusWindow(const std::string& title);
