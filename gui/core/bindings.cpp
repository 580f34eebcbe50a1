// The binding texts of the toolkit's windows and the default set every
// top-level window starts with.
#include "gui/core/bindings.h"

#include <cstring>

#include "gui/x11/event.h"
#include "gui/x11/events.h"

namespace {

std::vector<WBinding> windowBindings;
bool parsed = false;

const char* const kDefaultBindings[] = {
    "Mouse1*Release1@Close=Close",    "Mouse1*Release1@Pop=Pop",
    "Mouse1*Press1(AtOnce)@Menu=MenuGlyph", "Mouse1*Release1@Help=Help",
    "Mouse1*Release1@Freeze=ToggleStop",    "q|Control=Close",
    "p|Control=Print",
};

bool parseModifiers(const std::string& text, unsigned* bits) {
  *bits = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t bar = text.find('|', start);
    std::string m = text.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
    if (m == "Control") *bits |= WMOD_CONTROL;
    else if (m == "Shift") *bits |= WMOD_SHIFT;
    else if (m == "Alt" || m == "Meta") *bits |= WMOD_ALT;
    else return false;
    if (bar == std::string::npos) return true;
    start = bar + 1;
  }
  return false;
}

// "Mouse<b>*<Press|Release><n>[(<options>)]@<place>"
bool parseMouse(const std::string& lhs, WBinding* b) {
  if (lhs.size() < 8 || lhs.compare(0, 5, "Mouse") || lhs[6] != '*') return false;
  if (lhs[5] < '1' || lhs[5] > '5') return false;
  b->mouse = true;
  b->button = lhs[5] - '0';
  size_t p = 7;
  if (!lhs.compare(p, 5, "Press")) b->onPress = true, p += 5;
  else if (!lhs.compare(p, 7, "Release")) p += 7;
  else return false;
  if (p >= lhs.size() || lhs[p] < '1' || lhs[p] > '9') return false;
  b->count = lhs[p++] - '0';
  if (p < lhs.size() && lhs[p] == '(') {
    size_t close = lhs.find(')', p);
    if (close == std::string::npos) return false;
    b->options = lhs.substr(p + 1, close - p - 1);
    p = close + 1;
  }
  if (p >= lhs.size() || lhs[p] != '@' || p + 1 == lhs.size()) return false;
  b->place = lhs.substr(p + 1);
  return true;
}

// A key as bindings name it: one character, or an X key name ("F3").
int keyCodeOf(const std::string& key) {
  if (key.size() == 1) return static_cast<unsigned char>(key[0]);
  return W_keyCodeOfName(key.c_str());
}

}  // namespace

bool W_parseBinding(const char* text, WBinding* out) {
  if (!text) return false;
  std::string s(text);
  size_t eq = s.rfind('=');
  if (eq == std::string::npos || eq == 0 || eq + 1 == s.size()) return false;
  WBinding b;
  b.command = s.substr(eq + 1);
  std::string lhs = s.substr(0, eq);
  if (!lhs.compare(0, 5, "Mouse") && lhs.find('*') != std::string::npos) {
    if (!parseMouse(lhs, &b)) return false;
  } else {
    size_t bar = lhs.find('|');
    b.key = lhs.substr(0, bar);
    if (b.key.empty()) return false;
    if (bar != std::string::npos && !parseModifiers(lhs.substr(bar + 1), &b.modifiers))
      return false;
  }
  *out = b;
  return true;
}

bool W_defaultWindowBindings() {
  if (parsed) return true;
  std::vector<WBinding> all;
  for (const char* text : kDefaultBindings) {
    WBinding b;
    if (!W_parseBinding(text, &b)) return false;
    all.push_back(b);
  }
  windowBindings = all;
  parsed = true;
  return true;
}

bool W_addBinding(const char* text) {
  WBinding b;
  if (!W_parseBinding(text, &b) || !W_defaultWindowBindings()) return false;
  if (!b.mouse && !keyCodeOf(b.key)) return false;  // no key of that name
  std::erase_if(windowBindings, [&](const WBinding& o) {
    return o.mouse == b.mouse && o.key == b.key && o.modifiers == b.modifiers &&
           o.button == b.button && o.onPress == b.onPress && o.count == b.count &&
           o.place == b.place;
  });
  windowBindings.push_back(b);
  return true;
}

const std::vector<WBinding>& W_windowBindings() { return windowBindings; }

const char* W_keyCommand(int code, unsigned modifiers) {
  unsigned wanted = modifiers & (WMOD_CONTROL | WMOD_SHIFT | WMOD_ALT);
  for (const WBinding& b : windowBindings) {
    if (b.mouse || b.modifiers != wanted) continue;
    int bound = keyCodeOf(b.key);
    if (bound && (bound == code || (code < 0x20 && bound == code + 0x60)))
      return b.command.c_str();
  }
  return nullptr;
}

void W_clearBindings() {
  windowBindings.clear();
  parsed = false;
}
