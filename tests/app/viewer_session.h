// Drives the real diffview program on a private X server as a person
// would: starts it, finds its window, presses keys and clicks through
// xdotool, and reads back what the window shows: its title, the state it
// publishes in the _DIFFVIEW_STATE property, and pixels.
#pragma once

#include <sys/types.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
};

// The published state, one "key=value" per line.
struct ViewerState {
  std::map<std::string, std::string> values;
  std::string get(const std::string& key) const;
  int number(const std::string& key) const;
  Rect rect(const std::string& key) const;
  bool empty() const { return values.empty(); }
};

// One horizontal band of equal colour down a column of a window.
struct Band {
  int top, bottom;  // bottom exclusive
  unsigned long pixel;
};

class ViewerSession {
 public:
  ViewerSession() = default;
  ~ViewerSession();  // kills the program if it still runs
  ViewerSession(const ViewerSession&) = delete;
  ViewerSession& operator=(const ViewerSession&) = delete;

  // Starts diffview with the arguments (a private configuration directory
  // is added); false when it could not be started.
  bool start(const std::vector<std::string>& args, const std::string& configDir);
  // Waits until a top-level window whose title contains `title` publishes
  // its state; 0 when none appears in time.
  unsigned long waitForWindow(const std::string& title, int timeoutMs = 10000);
  unsigned long window() const { return window_; }

  ViewerState state() const;
  // Polls the state until `ready` holds; the last state read.
  ViewerState waitFor(const std::function<bool(const ViewerState&)>& ready,
                      int timeoutMs = 5000) const;
  std::string title() const;
  Rect geometry() const;

  void key(const std::string& keys) const;       // xdotool key names, e.g. "ctrl+q"
  void type(const std::string& text) const;      // typed characters
  void click(int x, int y, int button = 1) const;  // window coordinates

  unsigned long pixel(int x, int y) const;
  // How many pixels of each colour an area of the window shows.
  std::map<unsigned long, int> colours(const Rect& area) const;
  // The colour bands down column x from y0 to y1 (window coordinates).
  std::vector<Band> bands(int x, int y0, int y1) const;

  // Waits for the program to end; its exit status, or -1 after the
  // time-out (the program is then killed).
  int wait(int timeoutMs = 10000);
  bool running();
  std::string errors() const;  // what it wrote to standard error

 private:
  pid_t pid_ = -1;
  int status_ = -1;  // once the program has ended
  unsigned long window_ = 0;
  std::string errFile_;
};

// Popup menus on the screen (mapped override-redirect windows).
std::vector<unsigned long> openPopups();
// Rows of `window` where a pixel between x0 and x1 differs from the row's
// background at x = 4: marks drawn in a strip (check marks of a menu).
std::vector<Band> inkRuns(unsigned long window, int x0, int x1);

// Top-level windows whose title contains `title`.
std::vector<unsigned long> findWindows(const std::string& title);
std::string windowTitle(unsigned long window);
