// Context menus: the commands asked about the clicked context, the menu
// built from their answers, and the wait in the event loop for the choice
// (the context usually lives on the caller's stack, so show() returns only
// when the menu is down).
#include "gui/menus/context_menu.h"

#include "gui/core/event_loop.h"
#include "gui/menus/menu_popup.h"
#include "gui/x11/display.h"
#include "gui/x11/window.h"

namespace {

ContextMenuManager* activeManager = nullptr;

// Remembers how the menu ended.
class Waiter : public WMenuPopupListener {
 public:
  void menuChosen(int index) override {
    chosen = index;
    done = true;
  }
  void menuCancelled() override { done = true; }
  bool done = false;
  int chosen = -1;
};

void addSeparator(std::vector<WMenuEntry>* entries, std::vector<int>* rows, int index) {
  if (entries->empty() || entries->back().separator) return;
  WMenuEntry e;
  e.label = "-";
  e.separator = true;
  entries->push_back(e);
  rows->push_back(index);
}

}  // namespace

ContextMenuManager::~ContextMenuManager() {
  *alive_ = false;
  if (activeManager == this) activeManager = nullptr;
}

void ContextMenuManager::append(MenuCommand* command, const std::string& defaultLabel) {
  if (command) items_.push_back(Item{command, defaultLabel});
}

void ContextMenuManager::appendSeparator() { items_.push_back(Item{nullptr, "-"}); }

ContextMenuManager* ContextMenuManager::active() { return activeManager; }

int ContextMenuManager::show(const std::string& title, MenuContext& context, int rootX,
                             int rootY) {
  if (current_ || !XWindowsOn()) return -1;  // one menu at a time
  std::vector<WMenuEntry> entries;
  std::vector<int> rows;  // appended index of each shown row
  for (size_t i = 0; i < items_.size(); i++) {
    const Item& it = items_[i];
    if (!it.command) {
      addSeparator(&entries, &rows, static_cast<int>(i));
      continue;
    }
    if (!it.command->menuVisible(context)) continue;
    WMenuEntry e;
    e.label = it.command->menuLabel(context);
    if (e.label.empty()) e.label = it.defaultLabel;
    e.dimmed = !it.command->menuEnabled(context);
    e.checked = it.command->menuChecked(context);
    entries.push_back(e);
    rows.push_back(static_cast<int>(i));
  }
  while (!entries.empty() && entries.back().separator) entries.pop_back(), rows.pop_back();
  if (entries.empty()) return -1;

  if (rootX < 0 || rootY < 0) xwin_pointerOnRoot(&rootX, &rootY);
  Waiter waiter;
  WMenuPopup popup(&waiter, entries, title);
  if (!popup.open(rootX, rootY, false)) return -1;
  current_ = &popup;
  ContextMenuManager* outer = activeManager;
  activeManager = this;
  std::weak_ptr<bool> alive = alive_;
  while (!waiter.done && XWindowsOn()) WMainLoopTurn();
  popup.popDown();
  if (alive.expired()) return -1;  // the manager went while the menu was up
  current_ = nullptr;
  activeManager = outer;
  if (waiter.chosen < 0) return -1;
  int index = rows[waiter.chosen];
  items_[index].command->menuAction(context);
  return index;
}
