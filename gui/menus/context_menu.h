// Context menus: commands that decide their own label, visibility,
// enabling and check mark from what was clicked (a MenuContext), and the
// manager that pops them up as a titled menu at the pointer.  Commands are
// usually single static instances shared by every window; a manager only
// refers to them.
#pragma once

#include <memory>
#include <string>
#include <vector>

class WMenuPopup;

// What a context menu was opened on; each kind of menu derives its own.
class MenuContext {
 public:
  virtual ~MenuContext() = default;
};

// One command of a context menu, asked about an untyped context.
class MenuCommand {
 public:
  virtual ~MenuCommand() = default;
  // "" keeps the label the command was appended with.
  virtual std::string menuLabel(MenuContext& context) = 0;
  virtual bool menuVisible(MenuContext& context) = 0;
  virtual bool menuEnabled(MenuContext& context) = 0;
  virtual bool menuChecked(MenuContext& context) = 0;
  virtual void menuAction(MenuContext& context) = 0;
};

// Base of commands for one kind of context.  A context of another kind
// gets the neutral answers: empty label, visible, enabled, not checked, and
// no action.
template <class Context>
class MenuCommandHelper : public MenuCommand {
 public:
  virtual std::string label(Context&) { return ""; }
  virtual bool visible(Context&) { return true; }
  virtual bool enabled(Context&) { return true; }
  virtual bool checked(Context&) { return false; }
  virtual void action(Context&) {}

  std::string menuLabel(MenuContext& c) final {
    Context* t = dynamic_cast<Context*>(&c);
    return t ? label(*t) : std::string();
  }
  bool menuVisible(MenuContext& c) final {
    Context* t = dynamic_cast<Context*>(&c);
    return t ? visible(*t) : true;
  }
  bool menuEnabled(MenuContext& c) final {
    Context* t = dynamic_cast<Context*>(&c);
    return t ? enabled(*t) : true;
  }
  bool menuChecked(MenuContext& c) final {
    Context* t = dynamic_cast<Context*>(&c);
    return t ? checked(*t) : false;
  }
  void menuAction(MenuContext& c) final {
    if (Context* t = dynamic_cast<Context*>(&c)) action(*t);
  }
};

class ContextMenuManager {
 public:
  ContextMenuManager() = default;
  ~ContextMenuManager();
  ContextMenuManager(const ContextMenuManager&) = delete;
  ContextMenuManager& operator=(const ContextMenuManager&) = delete;

  // The command is not owned; it must outlive the manager.
  void append(MenuCommand* command, const std::string& defaultLabel);
  void appendSeparator();
  int size() const { return static_cast<int>(items_.size()); }

  // Pops up a menu titled `title` at the pointer (or at the root point when
  // both coordinates are given), listing the commands visible for the
  // context with their labels, dimming and check marks, and runs the loop
  // until the user chooses or closes it.  The chosen command's action runs
  // after the menu is down.  Returns the chosen command's index in the
  // order appended, or -1 (closed, nothing visible, input refused).
  int show(const std::string& title, MenuContext& context, int rootX = -1, int rootY = -1);

  // The menu while show() waits; null otherwise.
  WMenuPopup* openPopup() const { return current_; }
  // The manager whose menu is up, if any.
  static ContextMenuManager* active();

 private:
  struct Item {
    MenuCommand* command;  // null for a separator
    std::string defaultLabel;
  };

  WMenuPopup* current_ = nullptr;
  std::vector<Item> items_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
