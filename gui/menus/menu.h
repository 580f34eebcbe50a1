// Menu descriptions: what a menu bar shows, registered once under a name
// and built into any number of bars.  Labels mark their mnemonic with "&"
// ("&&" is a literal ampersand); a label "-" is a separator.  Item indices
// count separators, so they match the order of the description.
#pragma once

#include <string>
#include <vector>

class WMenuBar;

// Receives the 0-based index of the chosen item of one menu.
using WMenuDispatcher = void (*)(WMenuBar* bar, int index);
// Called just before a menu opens (or an accelerator of it is tried), so
// the owner can set check marks and dim items.
using WMenuDimsHandler = void (*)(WMenuBar* bar, int menu);

struct WMenuItemDesc {
  std::string label;
  std::string accelerator;  // "Ctrl+O", "Ctrl+Shift+O", "Ctrl+*"; "" for none
};

struct WMenuDesc {
  std::string title;
  std::vector<WMenuItemDesc> items;
  WMenuDispatcher dispatcher = nullptr;
};

// Registers (or replaces) the description of a menu bar.  Accelerators that
// cannot be read are dropped with a warning; the rest is kept as given.
void W_registerMenuBar(const std::string& name, const std::vector<WMenuDesc>& menus);
// The registered description, or null.
const std::vector<WMenuDesc>* W_findMenuBar(const std::string& name);

// One row of a shown menu.
struct WMenuEntry {
  std::string label;       // with its "&"
  std::string accelText;   // shown right-aligned
  bool separator = false;
  bool checked = false;
  bool dimmed = false;
  bool selectable() const { return !separator && !dimmed; }
};

// A label as shown: without the mnemonic marks.  `underline` gets the byte
// offset of the mnemonic character in the shown text, or -1.
std::string W_menuLabelText(const std::string& label, int* underline = nullptr);
// The mnemonic character of a label, lower case; 0 when it has none.
int W_menuMnemonic(const std::string& label);
// The next selectable entry after `from` going `step` (+1 or -1), wrapping
// round; -1 when no entry is selectable.  from = -1 starts before the first.
int W_menuNextSelectable(const std::vector<WMenuEntry>& entries, int from, int step);
// The first selectable entry whose mnemonic is `c` (any case), or -1.
int W_menuEntryForMnemonic(const std::vector<WMenuEntry>& entries, int c);
