// The life of a generated window class: the object owns its top-level
// window and goes with it.  Closing (by the window manager, Control+Q or
// the program) asks isCloseAllowed, saves the window's geometry under the
// class name, forgets the window and, unless the object is already on its
// way out, destroys it through destroyClass.  Deleting the object closes
// its window.
#pragma once

#include "gui/core/colwind.h"

class WGeneratedWindow {
 public:
  // `windowClass` names the saved geometry; null saves none.
  explicit WGeneratedWindow(const char* windowClass = nullptr) : windowClass_(windowClass) {}
  virtual ~WGeneratedWindow();
  WGeneratedWindow(const WGeneratedWindow&) = delete;
  WGeneratedWindow& operator=(const WGeneratedWindow&) = delete;

  ColWind* window = nullptr;
  bool closing = false;

  // The defaults: closing is allowed, close destroys the window, and
  // destroyClass deletes the object when closing is allowed.
  virtual void destroyClass();
  virtual bool isCloseAllowed() { return true; }
  virtual void close();
  // The window's own events (configure, keys nobody used).
  virtual void CallEvent(xinLibSt*) {}

  // Creates the window with this object in it (the owner restores the
  // saved geometry once it has sized the window); false without a display.
  bool createWindow(const char* name, const char* title, int width, int height);
  // The object of a window made by createWindow, or null.
  static WGeneratedWindow* fromWindow(ColWind* window);

 private:
  static int cleanup(ColWind* window);
  static int event(xinLibSt* event, ColWind* window);
  const char* windowClass_;
};
