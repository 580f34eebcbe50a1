// The toolkit's windowed item: a widget with an X child window of its own.
// It receives translated events (gui/event.h) through EventParse, which
// offers them to an event filter, then an event-steal hook, then the
// handler the event type names.  Parents own their children.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gui/x11/draw.h"
#include "gui/x11/event.h"

class ColWind;
class WWindowedItem;

// The tool tips watch the pointer over every item and hear when a top-level
// window starts closing; they fill these hooks at start-up.
struct WToolTipHooks {
  // Sees every pointer event (crossings, motion, presses) of an item before
  // the item does.
  void (*seeEvent)(const xinLibSt* event, WWindowedItem* item) = nullptr;
  // A window is closing: any tip goes, the message line is restored.
  void (*close)() = nullptr;
};
void W_setToolTipHooks(const WToolTipHooks& hooks);
const WToolTipHooks& W_toolTipHooks();

// Asked before the item's own handlers; true when it consumed the event.
using WEventStealHook = bool (*)(xinLibSt* event, WWindowedItem* item);
// Offered every event first, with its own data; true when it consumed it.
using WEventFilter = bool (*)(xinLibSt* event, WWindowedItem* item, void* data);

class WWindowedItem {
 public:
  // Makes an X child window of the parent's window at `placement` (parent
  // coordinates), mapped, painted with `background` between repaints.
  WWindowedItem(WWindowedItem* parent, DrawRect placement, Pixel background);
  virtual ~WWindowedItem();  // deletes the children, then the X window
  WWindowedItem(const WWindowedItem&) = delete;
  WWindowedItem& operator=(const WWindowedItem&) = delete;

  WindowId getWindow() const { return window_; }
  WWindowedItem* getParent() const { return parent_; }
  ColWind* getTopLevel();
  const std::vector<WWindowedItem*>& getChildren() const { return children_; }
  int getX() const { return rect_.x; }
  int getY() const { return rect_.y; }
  int getWidth() const { return rect_.width; }
  int getHeight() const { return rect_.height; }
  void setGeometry(DrawRect placement);
  void show();
  void hide();
  bool isShown() const { return shown_; }
  Pixel getBackground() const { return background_; }
  void setBackground(Pixel background);
  // Pointer motion without a button held (hover, tooltips).
  void selectPointerMotion(bool on);

  // "short text@@long text": the short text pops up beside the resting
  // pointer, the long one fills the window's message line while the pointer
  // is over the item.  Either part may be empty; "" removes the tip.
  void setToolTip(const char* text) { toolTip_ = text ? text : ""; }
  const std::string& getToolTip() const { return toolTip_; }

  // Makes this item the one that receives its top-level window's keys.
  void activateMe();
  bool isActive();
  // On a top-level window: the item that receives its keys, or null.
  WWindowedItem* getActiveItem() const { return activeItem_; }

  void setEventStealHook(WEventStealHook hook) { stealHook_ = hook; }
  WEventStealHook getEventStealHook() const { return stealHook_; }
  void setEventFilter(WEventFilter filter, void* data) {
    filter_ = filter;
    filterData_ = data;
  }

  // Asks for a repaint (a type 0 event in this loop turn); the whole item
  // without an argument.
  void invalidate(DrawRect area);
  void invalidate();

  // Becomes false when the item is deleted: lets a callback tell whether
  // its item survived what it called.
  std::weak_ptr<bool> aliveToken() const { return alive_; }

  // Offers the event to the filter, then handleEvent.  1 when consumed.
  int EventParse(xinLibSt* event);
  // The steal hook, then the handler named by the type.  1 when consumed.
  virtual int handleEvent(xinLibSt* event);

  // Handlers; each answers whether it consumed the event.
  virtual bool handleExpose(int x, int y, int width, int height);
  virtual bool handleConfigure(int width, int height);
  virtual bool handleShow() { return false; }
  virtual bool handleHide() { return false; }
  virtual bool handleClientMessage(xinLibSt*) { return false; }
  virtual bool handleFocused() { return false; }
  virtual bool handleUnfocused() { return false; }
  virtual bool handleSelClear(xinLibSt*) { return false; }
  virtual bool handleSelText(xinLibSt*) { return false; }
  virtual bool handleSelBits(xinLibSt*) { return false; }
  virtual bool handleSelLines(xinLibSt*) { return false; }
  virtual bool handleSelRect(xinLibSt*) { return false; }
  virtual bool handleMessage(xinLibSt*) { return false; }
  virtual bool handleMousePress(xinLibSt*) { return false; }
  virtual bool handleMouseMotion(xinLibSt*) { return false; }
  virtual bool handleMouseRelease(xinLibSt*) { return false; }
  virtual bool handleKey(xinLibSt*) { return false; }
  virtual bool handleHelp(xinLibSt*) { return false; }
  virtual bool handleMouseEnter(xinLibSt*) { return false; }
  virtual bool handleMouseLeave(xinLibSt*) { return false; }

 protected:
  // For top-level windows: the subclass makes the X window itself.
  struct TopLevelTag {};
  WWindowedItem(TopLevelTag, DrawRect placement, Pixel background);
  void adoptWindow(WindowId window) { window_ = window; }
  // The top-level window this item is, when it is one.
  virtual ColWind* asTopLevel() { return nullptr; }

 private:
  int dispatchByType(xinLibSt* event);
  void detachChild(WWindowedItem* child);
  WWindowedItem* root();

  WindowId window_ = 0;
  WWindowedItem* parent_ = nullptr;
  WWindowedItem* activeItem_ = nullptr;  // kept on top-level windows
  std::vector<WWindowedItem*> children_;
  DrawRect rect_;
  Pixel background_;
  bool shown_ = true;
  WEventStealHook stealHook_ = nullptr;
  WEventFilter filter_ = nullptr;
  void* filterData_ = nullptr;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  std::string toolTip_;
};
