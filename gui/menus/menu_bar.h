// The menu bar: a row of menu titles built from a registered description
// (gui/menu.h).  A click, Alt with a title's mnemonic, or a lone Alt opens
// a menu; Left/Right move to the neighbouring menu; the chosen item's index
// goes to the menu's dispatcher.  The bar also serves the accelerators of
// its items for its whole window, before the window's active item sees the
// key.  Check marks and dimming are kept per bar; the dims handler is asked
// just before a menu opens so the owner can bring them up to date.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gui/core/item.h"
#include "gui/menus/menu.h"
#include "gui/menus/menu_accel.h"
#include "gui/menus/menu_popup.h"

class WMenuBar : public WWindowedItem, private WMenuPopupListener {
 public:
  // The bar described under `menuName`; an unknown name gives an empty bar
  // and a warning.
  WMenuBar(WWindowedItem* parent, DrawRect placement, const char* menuName);
  ~WMenuBar() override;

  // The height a bar wants for the default font.
  static int preferredHeight();

  const std::string& menuName() const { return name_; }
  int menuCount() const { return static_cast<int>(menus_.size()); }
  // -1 for a menu index out of range.
  int itemCount(int menu) const;
  // Texts as described (with "&"); "" for indices out of range.
  std::string menuTitle(int menu) const;
  std::string itemLabel(int menu, int item) const;

  // Replaces the description's dispatcher of one menu.
  void setDispatcher(int menu, WMenuDispatcher dispatcher);
  void setDimsHandler(WMenuDimsHandler handler) { dims_ = handler; }
  // False (and nothing changed) for indices out of range or a separator.
  bool setChecked(int menu, int item, bool on);
  bool setDimmed(int menu, int item, bool on);
  bool isChecked(int menu, int item) const;
  bool isDimmed(int menu, int item) const;
  void setUserData(void* data) { userData_ = data; }
  void* getUserData() const { return userData_; }

  // Opens a menu below its title (after the dims handler); false for an
  // index out of range, a menu without items, or refused input.
  bool openMenu(int menu, bool fromKeyboard);
  void closeMenu();
  int openMenuIndex() const { return open_; }
  WMenuPopup* openPopup() const { return popup_.get(); }
  // A title's place in the bar; all zero out of range.
  DrawRect titleRect(int menu) const;

  // The window's keys: a lone Alt, Alt+mnemonic of a title, accelerators.
  // True when the key was taken.
  bool handleWindowKey(xinLibSt* event);

  bool handleExpose(int x, int y, int width, int height) override;
  bool handleConfigure(int width, int height) override;
  bool handleMousePress(xinLibSt* event) override;

 private:
  struct Menu {
    std::string title;
    std::vector<WMenuEntry> entries;
    std::vector<WAccel> accels;  // code 0 for none
    WMenuDispatcher dispatcher = nullptr;
  };

  static bool keyHook(xinLibSt* event, void* data);
  void build(const std::vector<WMenuDesc>& menus);
  void layoutTitles();
  WMenuEntry* entryAt(int menu, int item);
  const WMenuEntry* entryAt(int menu, int item) const;
  int menuForMnemonic(int c) const;
  int nextNonEmpty(int from, int step) const;
  bool runAccelerator(xinLibSt* event);
  void dispatch(int menu, int item);
  void askDims(int menu);
  void paintTitle(DrawTarget* t, int menu);

  void menuChosen(int index) override;
  void menuCancelled() override;
  void menuStep(int direction) override;
  bool menuKey(xinLibSt* event) override;
  bool menuPointerOutside(int action, int rootX, int rootY) override;

  std::string name_;
  std::vector<Menu> menus_;
  std::vector<DrawRect> titles_;
  WMenuDimsHandler dims_ = nullptr;
  void* userData_ = nullptr;
  std::unique_ptr<WMenuPopup> popup_;
  int open_ = -1;
  int rootX_ = 0, rootY_ = 0;  // the bar's origin while a menu is open
  ColWind* window_ = nullptr;  // whose keys the bar serves
  std::weak_ptr<bool> windowAlive_;
};
