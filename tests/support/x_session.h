// The test program's own X server and the test's own client connection to
// it, shared by the toolkit tests and the viewer-window tests: one Xvfb per
// program, started on first use; xdotool run to completion; bounded polling
// instead of sleeps; what the server knows of windows.
#pragma once

#include <gtest/gtest.h>  // before Xlib, whose None and Bool macros trip it

#include <X11/Xlib.h>

#include <functional>
#include <string>
#include <vector>

namespace xtest {

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
};

// The test's own connection to the program's Xvfb, which the first call
// starts (DISPLAY then names it, for child processes too); null when no
// server would start.
Display* display();
// Called before anything is read back, so that another client of this
// process (the toolkit) has flushed its requests to the server.
void setFlush(void (*flush)());
void flush();

// Runs a program to completion, quietly; its exit status.
int run(const std::vector<std::string>& argv);
// Runs xdotool, without pauses between keys and clicks unless the
// arguments give a --delay; its exit status.  Its requests have all been
// carried out when it returns (closing its connection waits for that).
int xdotool(const std::vector<std::string>& args);

// Calls step, then asks cond, every few milliseconds until cond holds or
// ms pass; whether it held.
bool poll(const std::function<bool()>& cond, int ms = 5000,
          const std::function<void()>& step = nullptr);

std::string title(unsigned long window);
std::string property(unsigned long window, const char* name);
// Top-level windows whose title contains `part`.
std::vector<unsigned long> topWindows(const std::string& part);
// Mapped override-redirect windows: popup menus and tool tips.
std::vector<unsigned long> popups();
bool viewable(unsigned long window);
Rect geometry(unsigned long window);  // x and y inside the parent
// What a window manager sends for its close button.
void sendDelete(unsigned long window);

}  // namespace xtest
