// The menu bar: titles from the registered description, the open menu as a
// popup below its title, switching between menus with the pointer and the
// arrow keys, and the window-wide accelerators.
#include "gui/menus/menu_bar.h"

#include <cctype>

#include "base/gen.h"
#include "gui/core/colwind.h"
#include "gui/core/fonts.h"
#include "gui/core/pixels.h"
#include "gui/x11/event.h"

namespace {

constexpr int kTitlePad = 8;

int textWidth(const std::string& s) {
  return s.empty() ? 0 : draw_textWidth(draw_defaultFont(), s.c_str(), -1);
}

}  // namespace

WMenuBar::WMenuBar(WWindowedItem* parent, DrawRect placement, const char* menuName)
    : WWindowedItem(parent, placement, control_pixel), name_(menuName ? menuName : "") {
  const std::vector<WMenuDesc>* desc = W_findMenuBar(name_);
  if (desc) build(*desc);
  else gen_warning("No menu bar is described as \"%s\"", name_.c_str());
  layoutTitles();
  window_ = getTopLevel();
  if (!window_) return;
  windowAlive_ = window_->aliveToken();
  cwAddKeyHook(window_, keyHook, this);
}

WMenuBar::~WMenuBar() {
  popup_.reset();
  if (window_ && !windowAlive_.expired()) cwRemoveKeyHook(window_, keyHook, this);
}

int WMenuBar::preferredHeight() { return font_h + 8; }

void WMenuBar::build(const std::vector<WMenuDesc>& menus) {
  for (const WMenuDesc& d : menus) {
    Menu m;
    m.title = d.title;
    m.dispatcher = d.dispatcher;
    for (const WMenuItemDesc& item : d.items) {
      WMenuEntry e;
      e.label = item.label;
      e.separator = item.label == "-";
      WAccel a;
      if (!e.separator && W_parseAccel(item.accelerator, &a)) e.accelText = item.accelerator;
      else a = WAccel{};
      m.entries.push_back(e);
      m.accels.push_back(a);
    }
    menus_.push_back(std::move(m));
  }
}

void WMenuBar::layoutTitles() {
  std::vector<int> widths;
  for (const Menu& m : menus_) widths.push_back(textWidth(W_menuLabelText(m.title)));
  titles_ = W_layoutMenuBar(widths, getHeight(), kTitlePad);
}

// ---- the description's state ------------------------------------------------------

int WMenuBar::itemCount(int menu) const {
  if (menu < 0 || menu >= menuCount()) return -1;
  return static_cast<int>(menus_[menu].entries.size());
}

std::string WMenuBar::menuTitle(int menu) const {
  return menu >= 0 && menu < menuCount() ? menus_[menu].title : "";
}

std::string WMenuBar::itemLabel(int menu, int item) const {
  const WMenuEntry* e = entryAt(menu, item);
  return e ? e->label : "";
}

const WMenuEntry* WMenuBar::entryAt(int menu, int item) const {
  if (item < 0 || item >= itemCount(menu)) return nullptr;
  return &menus_[menu].entries[item];
}

WMenuEntry* WMenuBar::entryAt(int menu, int item) {
  return const_cast<WMenuEntry*>(static_cast<const WMenuBar*>(this)->entryAt(menu, item));
}

void WMenuBar::setDispatcher(int menu, WMenuDispatcher dispatcher) {
  if (menu >= 0 && menu < menuCount()) menus_[menu].dispatcher = dispatcher;
}

bool WMenuBar::setChecked(int menu, int item, bool on) {
  WMenuEntry* e = entryAt(menu, item);
  if (!e || e->separator) return false;
  e->checked = on;
  return true;
}

bool WMenuBar::setDimmed(int menu, int item, bool on) {
  WMenuEntry* e = entryAt(menu, item);
  if (!e || e->separator) return false;
  e->dimmed = on;
  return true;
}

bool WMenuBar::isChecked(int menu, int item) const {
  const WMenuEntry* e = entryAt(menu, item);
  return e && e->checked;
}

bool WMenuBar::isDimmed(int menu, int item) const {
  const WMenuEntry* e = entryAt(menu, item);
  return e && e->dimmed;
}

DrawRect WMenuBar::titleRect(int menu) const {
  if (menu < 0 || menu >= static_cast<int>(titles_.size())) return DrawRect{0, 0, 0, 0};
  return titles_[menu];
}

// ---- opening and choosing ----------------------------------------------------------

void WMenuBar::askDims(int menu) {
  if (dims_) dims_(this, menu);
}

bool WMenuBar::openMenu(int menu, bool fromKeyboard) {
  closeMenu();
  if (itemCount(menu) <= 0) return false;
  auto alive = aliveToken();
  askDims(menu);
  if (alive.expired()) return false;
  W_itemRootOrigin(this, &rootX_, &rootY_);
  const DrawRect& t = titles_[menu];
  popup_ = std::make_unique<WMenuPopup>(static_cast<WMenuPopupListener*>(this),
                                        menus_[menu].entries);
  if (!popup_->open(rootX_ + t.x, rootY_ + t.y + t.height, fromKeyboard)) {
    popup_.reset();
    return false;
  }
  open_ = menu;
  invalidate();
  return true;
}

void WMenuBar::closeMenu() {
  popup_.reset();
  if (open_ < 0) return;
  open_ = -1;
  invalidate();
}

// Last thing done: the dispatcher may close the window and this bar.
void WMenuBar::dispatch(int menu, int item) {
  if (WMenuDispatcher d = menus_[menu].dispatcher) d(this, item);
}

void WMenuBar::menuChosen(int index) {
  int menu = open_;
  closeMenu();  // the menu that tells us goes with it; it touches nothing after
  if (menu >= 0) dispatch(menu, index);
}

void WMenuBar::menuCancelled() { closeMenu(); }

int WMenuBar::nextNonEmpty(int from, int step) const {
  int n = menuCount();
  for (int k = 1; k <= n; k++) {
    int i = ((from + step * k) % n + n) % n;
    if (itemCount(i) > 0) return i;
  }
  return -1;
}

void WMenuBar::menuStep(int direction) {
  int next = nextNonEmpty(open_, direction);
  if (next >= 0 && next != open_) openMenu(next, true);
}

bool WMenuBar::menuPointerOutside(int action, int rootX, int rootY) {
  int title = W_menuTitleAt(titles_, rootX - rootX_, rootY - rootY_);
  if (title < 0) return false;
  if (action == WMOUSE_PRESS && title == open_) closeMenu();
  else if (action != WMOUSE_RELEASE && title != open_ && itemCount(title) > 0)
    openMenu(title, false);
  return true;
}

bool WMenuBar::menuKey(xinLibSt* e) { return handleWindowKey(e); }

// ---- keys -----------------------------------------------------------------------

bool WMenuBar::keyHook(xinLibSt* event, void* data) {
  return static_cast<WMenuBar*>(data)->handleWindowKey(event);
}

int WMenuBar::menuForMnemonic(int c) const {
  for (int i = 0; i < menuCount(); i++)
    if (W_menuMnemonic(menus_[i].title) == std::tolower(c) && itemCount(i) > 0) return i;
  return -1;
}

bool WMenuBar::handleWindowKey(xinLibSt* e) {
  if (e->type != WEV_KEY) return false;
  if (W_isLoneModifierCode(e->code)) {
    int first = nextNonEmpty(-1, 1);
    return first >= 0 && openMenu(first, true);
  }
  bool alt = (e->state & WMOD_ALT) && !(e->state & WMOD_CONTROL);
  if (alt && e->code > ' ' && e->code < 0x100) {
    int menu = menuForMnemonic(e->code);
    if (menu >= 0) {
      openMenu(menu, true);
      return true;
    }
  }
  return runAccelerator(e);
}

bool WMenuBar::runAccelerator(xinLibSt* e) {
  for (int m = 0; m < menuCount(); m++) {
    for (int i = 0; i < itemCount(m); i++) {
      if (!W_accelMatches(menus_[m].accels[i], e->code, e->state)) continue;
      closeMenu();
      auto alive = aliveToken();
      askDims(m);
      if (alive.expired()) return true;
      if (menus_[m].entries[i].selectable()) dispatch(m, i);
      return true;  // a dimmed item's key does nothing, and nothing else either
    }
  }
  return false;
}

// ---- pointer and painting -------------------------------------------------------------

bool WMenuBar::handleMousePress(xinLibSt* e) {
  if (e->button != 1) return false;
  int title = W_menuTitleAt(titles_, e->x, e->y);
  if (title < 0) return true;
  if (title == open_) closeMenu();
  else openMenu(title, false);
  return true;
}

void WMenuBar::paintTitle(DrawTarget* t, int menu) {
  const DrawRect& r = titles_[menu];
  bool lit = menu == open_;
  if (lit) draw_fillRect(t, r.x, r.y, r.width, r.height, select_pixel);
  Pixel ink = lit ? selectreverse_pixel : itemCount(menu) > 0 ? fg_pixel : controlshadow_pixel;
  int underline;
  std::string text = W_menuLabelText(menus_[menu].title, &underline);
  int base = r.y + (r.height - font_h) / 2 + font_ascent;
  DrawFont* f = draw_defaultFont();
  draw_text(t, f, ink, r.x + kTitlePad, base, text.c_str(), -1);
  if (underline < 0) return;
  int x0 = r.x + kTitlePad + draw_textWidth(f, text.c_str(), underline);
  int x1 = r.x + kTitlePad + draw_textWidth(f, text.c_str(), underline + 1);
  draw_line(t, x0, base + 2, x1 - 1, base + 2, ink);
}

bool WMenuBar::handleConfigure(int width, int height) {
  WWindowedItem::handleConfigure(width, height);
  layoutTitles();
  return true;
}

bool WMenuBar::handleExpose(int x, int y, int width, int height) {
  DrawTarget* t = draw_begin(getWindow(), DrawRect{x, y, width, height});
  if (!t) return false;
  draw_fillRect(t, x, y, width, height, control_pixel);
  for (int i = 0; i < menuCount(); i++) paintTitle(t, i);
  draw_line(t, 0, getHeight() - 1, getWidth() - 1, getHeight() - 1, controlshadow_pixel);
  draw_end(t);
  return true;
}
