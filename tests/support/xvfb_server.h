// A private X server for GUI tests: Xvfb on a free display number it picks
// itself, started by the test and checked by connecting to it, killed at
// the end.
#pragma once

#include <string>

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
