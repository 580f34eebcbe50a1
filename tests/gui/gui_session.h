// The fixture of the toolkit tests that need a display: the toolkit started
// once per program on the program's Xvfb, the windows a test left open
// closed after it, waiting that runs the loop and the wait list, and
// xdotool aimed at items.
#pragma once

#include "x_pixels.h"  // gtest before Xlib

#include <functional>
#include <string>
#include <vector>

#include "gui/core/colwind.h"

// A toolkit rectangle as the pixel reader takes it.
inline xtest::Rect area(const DrawRect& r) { return {r.x, r.y, r.width, r.height}; }

class GuiSession : public ::testing::Test {
 public:
  // (Re)starts the toolkit as the test programs do; whether it came up.
  static bool startToolkit();
  static void stopToolkit();
  static std::vector<std::string> keptArgs;  // what start-up left of argv

 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  // Runs the loop (events, the wait list, a short sleep) until cond holds
  // or ms pass.
  static bool waitFor(const std::function<bool()>& cond, int ms = 3000);
  // Handles every event the server has sent so far.  After an xdotool
  // command has returned, its input is among them: what it should not have
  // caused can be checked at once.
  static void drain();
  // A top-level window whose map has been seen.
  static ColWind* openWindow(const char* name, int width = 300, int height = 200);

  static std::string id(const WWindowedItem* item) { return std::to_string(item->getWindow()); }
  static int xdotool(const std::vector<std::string>& args);
  static int move(const WWindowedItem* item, int x, int y);
  static int click(const WWindowedItem* item, int x, int y, int button = 1);
  // Focuses the item's top-level window, then presses the keys.
  static int keys(WWindowedItem* item, const std::vector<std::string>& names);
  static Display* other() { return xtest::display(); }
};
