// Shared set-up of the tests that need an X server: one Xvfb per test
// program, the toolkit started on it, a second client connection that
// plays the window manager and the user, and bounded waiting helpers.
#pragma once

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <functional>
#include <string>
#include <vector>

#include "xvfb_server.h"

class ColWind;

class XSession : public ::testing::Test {
 public:
  static void shutDown();
  static Display* otherDisplay() { return other; }

 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;
  void TearDown() override;

  // Runs the loop (WEventAll, WYield) until cond holds or ms pass.
  static bool waitFor(const std::function<bool()>& cond, int ms = 3000);
  // Runs the loop for a while, for things that must not happen.
  static void settle(int ms = 150);
  // A window whose map has been seen.
  static ColWind* openWindow(const char* name, int width = 300, int height = 200);
  static int xdotool(const std::vector<std::string>& args);

  static XvfbServer* server;
  static Display* other;  // the test's own client connection
  static std::vector<std::string> keptArgs;
  static bool up;
};
