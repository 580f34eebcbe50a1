// The drop-down (or context) menu itself: a popup listing entries with
// check marks, dimmed items, separators, underlined mnemonics and
// right-aligned accelerators.  While it is up it holds the pointer and the
// keyboard: Up/Down move over the selectable entries, Enter or a mnemonic
// chooses, Escape or a click elsewhere closes, a release on an entry after
// the pointer has been in the menu chooses it (press-drag-release).
#pragma once

#include <string>
#include <vector>

#include "gui/core/popup.h"
#include "gui/menus/menu.h"
#include "gui/menus/menu_layout.h"

// Told what became of the menu.  menuChosen and menuCancelled come after
// the menu has been taken down; the listener may delete it then.
class WMenuPopupListener {
 public:
  virtual ~WMenuPopupListener() = default;
  virtual void menuChosen(int index) = 0;
  virtual void menuCancelled() = 0;
  // Left (-1) or Right (+1) was pressed.
  virtual void menuStep(int /*direction*/) {}
  // A key the menu has no use for (Alt+letter); true when taken.
  virtual bool menuKey(xinLibSt* /*event*/) { return false; }
  // A pointer event outside the menu (root coordinates; action as in event
  // records); true when taken.  An untaken press closes the menu.
  virtual bool menuPointerOutside(int /*action*/, int /*rootX*/, int /*rootY*/) {
    return false;
  }
};

class WMenuPopup : public WPopup {
 public:
  // `title` empty: no title row.
  WMenuPopup(WMenuPopupListener* listener, std::vector<WMenuEntry> entries,
             std::string title = "");

  // Shows the menu with its top-left corner at the root point (moved to
  // stay on the screen) and takes the input; opened from the keyboard the
  // first selectable entry is highlighted.  False (nothing shown) when the
  // input could not be taken.
  bool open(int rootX, int rootY, bool fromKeyboard);

  const std::vector<WMenuEntry>& entries() const { return entries_; }
  const std::string& title() const { return title_; }
  int highlighted() const { return highlighted_; }
  // An entry's row in the menu's coordinates; all zero for a bad index.
  DrawRect entryRect(int index) const;
  const WMenuLayout& layout() const { return layout_; }

  bool handleExpose(int x, int y, int width, int height) override;
  bool handleMousePress(xinLibSt* event) override;
  bool handleMouseMotion(xinLibSt* event) override;
  bool handleMouseRelease(xinLibSt* event) override;
  bool handleKey(xinLibSt* event) override;

 private:
  void measure();
  void highlight(int index);
  bool insideMenu(const xinLibSt* e) const;
  void choose(int index);
  void cancel();
  bool handleNavigationKey(int code);
  void paintEntry(DrawTarget* t, int index);
  void paintCheckMark(DrawTarget* t, const DrawRect& row, Pixel colour);

  WMenuPopupListener* listener_;
  std::vector<WMenuEntry> entries_;
  std::string title_;
  WMenuLayout layout_;
  int highlighted_ = -1;
  bool armed_ = false;  // the pointer has been in the menu: a release chooses
};
