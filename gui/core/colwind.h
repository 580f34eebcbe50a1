// Top-level windows (`ColWind`): created, named, given status messages and
// closed through the `cw` functions.  A close, whether asked by the program
// or by the window manager's close button, first asks the close callback,
// which may refuse it.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "gui/core/item.h"

class ColWind;

// Answers 0 to keep the window open.
using ColWindCloseFn = int (*)(ColWind* window);
// Sees the window's own events (configure, client messages, keys no item
// consumed); answers 1 when it consumed the event.
using ColWindEventFn = int (*)(xinLibSt* event, ColWind* window);

// Sees the window's keys before the active item does (menu accelerators);
// true when it consumed the key.
using ColWindKeyHook = bool (*)(xinLibSt* event, void* data);

// Where status messages go instead of the title area.
class WStatusItem {
 public:
  virtual ~WStatusItem() = default;
  virtual void setStatusText(const char* text) = 0;
};

constexpr int COLWIND_KIND_TOPLEVEL = 0x20000001;

class ColWind : public WWindowedItem {
 public:
  ColWind(DrawRect placement, Pixel background);
  ~ColWind() override;

  int kind = COLWIND_KIND_TOPLEVEL;
  std::string name;
  std::string title;
  std::string iconName;
  std::string message;            // what the title area shows now
  std::string permanentMessage;   // shown when the message is cleared
  WStatusItem* statusBox = nullptr;
  WWindowedItem* toolbar = nullptr;
  ColWindCloseFn closeCallback = nullptr;
  ColWindEventFn eventCallback = nullptr;
  void* returnData = nullptr;
  int activation = 0;
  int sequence = 0;  // creation order, from 1
  // Sized or placed by "-geometry": neither a saved geometry nor the
  // program's own sizing overrides what it gave.
  bool sizeGiven = false, placeGiven = false;
  bool geometryGiven() const { return sizeGiven || placeGiven; }
  bool closing = false;
  bool titleBarShown = true;

  // Runs a command a key is bound to; true when it knew the command.
  std::function<bool(const char* command)> commandHandler;
  // Asked in the order added, before the active item; see cwAddKeyHook.
  std::vector<std::pair<ColWindKeyHook, void*>> keyHooks;

  int handleEvent(xinLibSt* event) override;

 protected:
  ColWind* asTopLevel() override { return this; }
};

// Creates a mapped top-level window; x or y below 0 lets the toolkit place
// it.  `title` and `iconName` default to the name.  Null when the display is
// not open or the default bindings do not parse.
ColWind* cwxCreatexy(int x, int y, const char* name, const char* title,
                     const char* iconName, ColWindCloseFn closeCallback,
                     ColWindEventFn eventCallback, int width, int height,
                     void* returnData);
// Moves and resizes a top-level window, telling the window manager that the
// user chose the place (so it is not placed again by its own rules).  The
// position is that of the window's outer frame when a window manager adds one.
void cwSetGeometry(ColWind* window, DrawRect placement);
// Stores the name and titles the X window and its icon with the title (or
// the name); an active version-control view is appended to the title.
void cwSetName(ColWind* window, const char* name, const char* title, const char* iconName);
// Shows a one-line status message (cut at the first line break); an empty
// or null message restores the permanent message.  `flag` is reserved.
void cwSetMsg(ColWind* window, const char* message, int flag);
void cwSetPermanentMsg(ColWind* window, const char* message);
void cwSetStatusBox(ColWind* window, WStatusItem* statusItem);
// Closes the window unless its close callback answers 0.  1 when destroyed.
int cwDestroy(ColWind* window);
// Calls proc on every open top-level window, oldest first.
void cwCallProcOnAll(void (*proc)(ColWind* window, void* data), void* data);
int cwCount();
ColWind* cwFromWindow(WindowId window);
// Key hooks of a window; a hook may remove itself or others while it runs.
void cwAddKeyHook(ColWind* window, ColWindKeyHook hook, void* data);
// The commands of the window's key bindings besides "Close" ("next",
// "prev", ...): a key bound to one the handler knows runs it before the
// window's items see the key.
void cwSetCommandHandler(ColWind* window, std::function<bool(const char*)> handler);
void cwRemoveKeyHook(ColWind* window, ColWindKeyHook hook, void* data);

// The view name appended to titles ("     (VIEW: name)"); null for none.
void cwSetVersionControlView(const char* view);
