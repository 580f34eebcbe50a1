// Popup windows: override-redirect windows on the root (drop-down menus,
// context menus, tool tips) that the window manager leaves alone.  A popup
// may take the pointer and keyboard while it is up, so that everything the
// user does, also outside it, reaches the popup first.
#pragma once

#include "gui/core/item.h"

class WPopup : public WWindowedItem {
 public:
  // An unmapped popup at `placement` (root coordinates).
  WPopup(DrawRect placement, Pixel background);
  ~WPopup() override;  // gives back a grab it holds

  // Moves and sizes the popup (root coordinates), keeping it on the screen,
  // maps it and raises it above everything.
  void popUp(DrawRect placement);
  void popDown();

  // Takes the pointer and the keyboard: every pointer event then arrives
  // in the popup's coordinates, inside or not, and every key arrives here.
  // False when the server refused (another client holds a grab).
  bool grabInput();
  void releaseInput();
  bool hasGrab() const { return grabbed_; }

  // Whether a point in root coordinates lies on the popup.
  bool containsRoot(int rootX, int rootY) const;
  // Root coordinates of a point given in the popup's coordinates.
  int rootX(int x) const { return getX() + x; }
  int rootY(int y) const { return getY() + y; }

 private:
  bool grabbed_ = false;
};

// Root coordinates of the top-left corner of an item's window.
void W_itemRootOrigin(const WWindowedItem* item, int* rootX, int* rootY);
