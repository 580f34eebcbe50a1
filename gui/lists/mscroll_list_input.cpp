// The column list's input: clicks select and call back, the wheel scrolls,
// move keys change the selection (calling the click path with the key
// event), and compiled key commands go to the owner's command handler.
#include <cctype>

#include "base/gen.h"
#include "gui/core/bindings.h"
#include "gui/lists/mscroll_list.h"
#include "gui/lists/mscroll_list_layout.h"
#include "gui/text/scroll_bar.h"
#include "gui/x11/events.h"

namespace {

constexpr int kWheelRows = 3;
constexpr unsigned kCommandModifiers = WMOD_CONTROL | WMOD_SHIFT | WMOD_ALT;

// A key named in a binding: one character, or a quoted X key name.
int keyCodeOfName(std::string name) {
  if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
    name = name.substr(1, name.size() - 2);
  if (name.size() == 1) return static_cast<unsigned char>(name[0]);
  if (name.empty()) return 0;
  return W_keyCodeOfName(name.c_str());
}

int foldCase(int code) { return code < 0x80 ? std::tolower(code) : code; }

// Control with a letter may arrive as the control character itself.
bool sameKey(int bound, int code) {
  if (code > 0 && code < 0x20) code += 0x60;
  return foldCase(bound) == foldCase(code);
}

// One key's UTF-8 may take several bytes; several ASCII bytes are several keys.
bool isAscii(const char* chars, int n) {
  for (int i = 0; i < n; i++)
    if (static_cast<unsigned char>(chars[i]) >= 0x80) return false;
  return true;
}

}  // namespace

// ---- selection -------------------------------------------------------------------

void MScrollList::setSelectedRow(int row, bool callClick) {
  if (row < -1 || row >= getRowCount()) return;
  select(row, nullptr);
  if (!callClick || row < 0) return;
  xinLibSt press;
  press.type = WEV_MOUSE;
  press.window = getWindow();
  press.code = WMOUSE_PRESS;
  press.clicks = 1;
  press.button = 1;
  clickPath(row, 0, 1, &press);
}

// Moves the selection and shows the row; the owner hears of it only when
// the user moved it (a key event or a mouse press is given).
void MScrollList::select(int row, xinLibSt* userEvent) {
  if (row == selected_) return;
  redrawRow(selected_);
  selected_ = row;
  if (row >= 0) {
    long top = mslTopShowing(top_, row, rowHeight_, bodyHeight());
    if (vScroller_) vScroller_->scrollTo(top);
    else handleVScroll(top);
  }
  redrawRow(selected_);
  if (userEvent && selectionChanged_) selectionChanged_(this, row);
}

void MScrollList::clickPath(int row, int column, int clicks, xinLibSt* event) {
  if (toggler_) toggler_->click(row, column, clicks, event);
  else if (singleClick_) singleClick_(this, row, column, clicks, event);
}

// ---- mouse ---------------------------------------------------------------------------

bool MScrollList::handleMousePress(xinLibSt* e) {
  activateMe();
  if (e->button == 4 || e->button == 5) {
    if (vScroller_) vScroller_->scrollByLines(e->button == 4 ? -kWheelRows : kWheelRows);
    return true;
  }
  if (e->x >= bodyWidth()) return true;
  if (e->y < getHeaderHeight()) {
    int column = mslColumnAt(widths(), e->x);
    if (e->button == 1 && column >= 0 && headerClick_) headerClick_(this, column);
    return true;
  }
  int row = mslRowAt(e->y, getHeaderHeight(), top_, rowHeight_, getRowCount());
  int column = mslColumnAt(widths(), e->x);
  if (row < 0 || column < 0) return true;
  if (e->button == 3) {
    if (rightClick_) rightClick_(this, row, column, e);
    return true;
  }
  if (e->button != 1) return true;
  auto alive = aliveToken();
  select(row, e);
  if (alive.expired() || row >= getRowCount()) return true;
  if (e->clicks == 2 && doubleClick_) doubleClick_(this, row, column, e->clicks, e);
  else clickPath(row, column, e->clicks, e);
  return true;
}

// ---- keys ------------------------------------------------------------------------------

bool MScrollList::takeKey(xinLibSt* e) {
  if (!e || e->type != WEV_KEY) return false;
  if (e->nchars > 1 && e->chars && isAscii(e->chars, e->nchars)) return takeTypedAhead(e);
  unsigned modifiers = e->state & kCommandModifiers;
  for (const KeyCommand& k : commands_) {
    if (k.modifiers != modifiers || !sameKey(k.code, e->code)) continue;
    KeyCommand copy = k;  // the handler may compile new commands
    if (runCommand(copy, e)) return true;
    break;
  }
  if (!mslIsMoveKey(e->code) || (modifiers & (WMOD_CONTROL | WMOD_ALT))) return false;
  return moveByKey(e->code, e);
}

// Printable keys typed quickly arrive as one event with several
// characters; each is a key press of its own to the list.
bool MScrollList::takeTypedAhead(xinLibSt* e) {
  std::string typed(e->chars, e->nchars);
  auto alive = aliveToken();
  bool used = false;
  for (unsigned char c : typed) {
    xinLibSt one = *e;
    one.code = c;
    one.chars = nullptr;
    one.nchars = 0;
    used = takeKey(&one) || used;
    if (alive.expired()) return true;
  }
  return used;
}

// The click path hears of a key move with the key event itself.
bool MScrollList::moveByKey(int key, xinLibSt* e) {
  if (rows_.empty()) return false;
  int next = mslMoveSelection(selected_, key, getRowCount(), bodyHeight() / rowHeight_);
  if (next == selected_) return true;
  auto alive = aliveToken();
  select(next, e);
  if (!alive.expired() && next < getRowCount()) clickPath(next, 0, 1, e);
  return true;
}

bool MScrollList::runCommand(const KeyCommand& k, xinLibSt* e) {
  CmdInfo info{k.kind.c_str(), k.command.c_str(), k.line.c_str(), selected_, e};
  auto alive = aliveToken();
  int answer = commandHandler_ ? commandHandler_(this, &info) : 0;
  if (alive.expired() || answer == MSL_CMD_HANDLED) return true;
  // Commands the owner left alone that the list knows itself: the move
  // keys by name.
  static const struct { const char* name; int key; } builtIn[] = {
      {"Up", WKEY_UP},           {"Down", WKEY_DOWN}, {"PageUp", WKEY_PAGEUP},
      {"PageDown", WKEY_PAGEDOWN}, {"Home", WKEY_HOME}, {"End", WKEY_END},
  };
  for (const auto& b : builtIn)
    if (k.command == b.name) return moveByKey(b.key, e);
  return false;
}

// ---- compiling commands ------------------------------------------------------------------

int MScrollList::compileCommands(const char* const* lines, int n) {
  int kept = 0;
  for (int i = 0; lines && i < n; i++) {
    const char* line = lines[i] ? lines[i] : "";
    WBinding b;
    const char* problem = nullptr;
    int code = 0;
    std::string kind, command;
    if (!W_parseBinding(line, &b) || b.mouse) {
      problem = "not a key binding";
    } else if (!(code = keyCodeOfName(b.key))) {
      problem = "unknown key";
    } else {
      size_t space = b.command.find(' ');
      kind = b.command.substr(0, space);
      if (space != std::string::npos) command = b.command.substr(space + 1);
      if (kind != "Cli" || command.empty()) problem = "the command is not \"Cli <name>\"";
    }
    if (problem) {
      gen_warning("Ignoring list command \"%s\": %s", line, problem);
      continue;
    }
    commands_.push_back(KeyCommand{code, b.modifiers, kind, command, line});
    kept++;
  }
  return kept;
}

int mslCompileCommands(MScrollList* list, const char* const* lines, int n) {
  return list ? list->compileCommands(lines, n) : 0;
}
