// The registry of menu bar descriptions and the label helpers shared by
// menu bars, drop-down menus and context menus.
#include "gui/menus/menu.h"

#include <cctype>
#include <map>

#include "base/gen.h"
#include "gui/menus/menu_accel.h"

namespace {

std::map<std::string, std::vector<WMenuDesc>>& registry() {
  static auto* bars = new std::map<std::string, std::vector<WMenuDesc>>;
  return *bars;
}

void dropUnreadableAccelerators(std::vector<WMenuDesc>* menus) {
  for (WMenuDesc& m : *menus) {
    for (WMenuItemDesc& item : m.items) {
      WAccel a;
      if (item.accelerator.empty() || W_parseAccel(item.accelerator, &a)) continue;
      gen_warning("Unknown accelerator \"%s\" for menu item \"%s\"", item.accelerator.c_str(),
                  item.label.c_str());
      item.accelerator.clear();
    }
  }
}

}  // namespace

void W_registerMenuBar(const std::string& name, const std::vector<WMenuDesc>& menus) {
  std::vector<WMenuDesc> copy = menus;
  dropUnreadableAccelerators(&copy);
  registry()[name] = std::move(copy);
}

const std::vector<WMenuDesc>* W_findMenuBar(const std::string& name) {
  auto it = registry().find(name);
  return it == registry().end() ? nullptr : &it->second;
}

std::string W_menuLabelText(const std::string& label, int* underline) {
  std::string text;
  int mark = -1;
  for (size_t i = 0; i < label.size(); i++) {
    if (label[i] != '&' || i + 1 == label.size()) {
      text += label[i];
      continue;
    }
    i++;  // the character after '&' is shown; "&&" shows one '&'
    if (label[i] != '&' && mark < 0) mark = static_cast<int>(text.size());
    text += label[i];
  }
  if (underline) *underline = mark;
  return text;
}

int W_menuMnemonic(const std::string& label) {
  int at;
  std::string text = W_menuLabelText(label, &at);
  return at < 0 ? 0 : std::tolower(static_cast<unsigned char>(text[at]));
}

int W_menuNextSelectable(const std::vector<WMenuEntry>& entries, int from, int step) {
  int n = static_cast<int>(entries.size());
  if (n == 0) return -1;
  if (from < 0 || from >= n) from = step > 0 ? -1 : n;
  for (int k = 1; k <= n; k++) {
    int i = ((from + step * k) % n + n) % n;
    if (entries[i].selectable()) return i;
  }
  return -1;
}

int W_menuEntryForMnemonic(const std::vector<WMenuEntry>& entries, int c) {
  c = std::tolower(c);
  for (size_t i = 0; i < entries.size(); i++)
    if (entries[i].selectable() && W_menuMnemonic(entries[i].label) == c)
      return static_cast<int>(i);
  return -1;
}
