// Accelerator texts read into key codes and matched against key events.
#include "gui/menus/menu_accel.h"

#include <cctype>
#include <strings.h>

#include <utility>
#include <vector>

namespace {

constexpr unsigned kAccelMods = WMOD_CONTROL | WMOD_SHIFT | WMOD_ALT;
constexpr int kFirstFunctionKey = 0x1BE;  // F1: 0x100 | low byte of its keysym

const std::pair<const char*, int> kNamedKeys[] = {
    {"Enter", WKEY_RETURN},  {"Return", WKEY_RETURN},     {"Esc", WKEY_ESCAPE},
    {"Escape", WKEY_ESCAPE}, {"Tab", WKEY_TAB},           {"Backspace", WKEY_BACKSPACE},
    {"Del", WKEY_DELETE},    {"Delete", WKEY_DELETE},     {"Ins", 0x163},
    {"Insert", 0x163},       {"Home", WKEY_HOME},         {"End", WKEY_END},
    {"PgUp", WKEY_PAGEUP},   {"PageUp", WKEY_PAGEUP},     {"PgDn", WKEY_PAGEDOWN},
    {"PageDown", WKEY_PAGEDOWN}, {"Up", WKEY_UP},         {"Down", WKEY_DOWN},
    {"Left", WKEY_LEFT},     {"Right", WKEY_RIGHT},       {"Space", ' '},
};

// Keypad keys that stand for a character.
const std::pair<int, int> kKeypad[] = {{0x1AA, '*'}, {0x1AB, '+'}, {0x1AD, '-'}, {0x1AF, '/'}};

bool modifierBit(const std::string& name, unsigned* bit) {
  if (!strcasecmp(name.c_str(), "Ctrl") || !strcasecmp(name.c_str(), "Control")) {
    *bit = WMOD_CONTROL;
  } else if (!strcasecmp(name.c_str(), "Shift")) {
    *bit = WMOD_SHIFT;
  } else if (!strcasecmp(name.c_str(), "Alt") || !strcasecmp(name.c_str(), "Meta")) {
    *bit = WMOD_ALT;
  } else {
    return false;
  }
  return true;
}

int keyCode(const std::string& name) {
  if (name.empty()) return 0;
  if (name.size() == 1) {
    unsigned char c = static_cast<unsigned char>(name[0]);
    return c > ' ' && c < 0x7F ? std::tolower(c) : 0;
  }
  for (const auto& [n, code] : kNamedKeys)
    if (!strcasecmp(name.c_str(), n)) return code;
  if ((name[0] == 'F' || name[0] == 'f') && name.size() <= 3) {
    int n = 0;
    for (size_t i = 1; i < name.size(); i++) {
      if (!std::isdigit(static_cast<unsigned char>(name[i]))) return 0;
      n = n * 10 + (name[i] - '0');
    }
    if (n >= 1 && n <= 12) return kFirstFunctionKey + n - 1;
  }
  return 0;
}

// "Ctrl++" ends in the key "+": a trailing '+' after a separator is the key.
std::vector<std::string> splitParts(const std::string& text) {
  std::vector<std::string> parts;
  std::string cur;
  for (size_t i = 0; i < text.size(); i++) {
    if (text[i] == '+' && !cur.empty()) {
      parts.push_back(cur);
      cur.clear();
      continue;
    }
    cur += text[i];
  }
  parts.push_back(cur);
  return parts;
}

int keypadCharacter(int code) {
  for (const auto& [pad, c] : kKeypad)
    if (code == pad) return c;
  return code;
}

}  // namespace

bool W_parseAccel(const std::string& text, WAccel* out) {
  if (text.empty()) return false;
  std::vector<std::string> parts = splitParts(text);
  WAccel a;
  for (size_t i = 0; i + 1 < parts.size(); i++) {
    unsigned bit;
    if (!modifierBit(parts[i], &bit)) return false;
    a.mods |= bit;
  }
  a.code = keyCode(parts.back());
  if (!a.code) return false;
  *out = a;
  return true;
}

bool W_accelMatches(const WAccel& accel, int code, unsigned state) {
  if (!accel.code) return false;
  code = keypadCharacter(code);
  if (code < 0x100) code = std::tolower(code);
  if (code != accel.code) return false;
  unsigned mods = state & kAccelMods;
  bool symbol = code < 0x100 && !std::isalnum(code);
  if (symbol && !(accel.mods & WMOD_SHIFT)) mods &= ~static_cast<unsigned>(WMOD_SHIFT);
  return mods == accel.mods;
}
