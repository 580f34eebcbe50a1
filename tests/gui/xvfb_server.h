// A private X server for GUI tests: Xvfb on a free display number it picks
// itself, started by the test and checked by connecting to it, killed at
// the end.
// Also runs small X clients (xdotool, xprop) to completion.
#pragma once

#include <string>
#include <vector>

class XvfbServer {
 public:
  ~XvfbServer() { stop(); }
  // Starts the server and sets DISPLAY to it; false when none would start.
  bool start();
  void stop();
  const std::string& display() const { return name_; }

 private:
  bool launch();
  int pid_ = 0;
  std::string name_;
};

// Runs a program with arguments, waiting for it; its exit status (-1 when
// it could not run).  Standard output is returned in *out when given.
int runProgram(const std::vector<std::string>& argv, std::string* out = nullptr);
