// The switches and default pixels of syntax colouring and the colour
// allocation seam: the toolkit installs its allocator, bell and named
// pixels here; without it colours are their RGB values.
#include "syntax/syn_colors.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "base/gen.h"

namespace {

synSettings settings;
synDefaultPixels defaultPixels;
synColorHooks hooks;

struct NamedRGB {
  const char* name;
  synPixel rgb;
};

// Common colour names, so that definitions read well without a display.
const NamedRGB kColourNames[] = {
    {"black", 0x000000},     {"white", 0xffffff},      {"red", 0xff0000},
    {"green", 0x00ff00},     {"blue", 0x0000ff},       {"yellow", 0xffff00},
    {"magenta", 0xff00ff},   {"cyan", 0x00ffff},       {"gray", 0xbebebe},
    {"grey", 0xbebebe},      {"orange", 0xffa500},     {"brown", 0xa52a2a},
    {"purple", 0xa020f0},    {"navy", 0x000080},       {"maroon", 0xb03060},
    {"darkgreen", 0x006400}, {"darkblue", 0x00008b},   {"darkred", 0x8b0000},
    {"darkcyan", 0x008b8b},  {"darkmagenta", 0x8b008b}, {"darkorange", 0xff8c00},
    {"forestgreen", 0x228b22}, {"seagreen", 0x2e8b57}, {"steelblue", 0x4682b4},
    {"firebrick", 0xb22222}, {"sienna", 0xa0522d},     {"teal", 0x008080},
    {"olive", 0x808000},     {"pink", 0xffc0cb},       {"violet", 0xee82ee},
};

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The top 8 bits of a hexadecimal field of `digits` digits.
bool HexField(const char* s, int digits, unsigned* out) {
  unsigned value = 0;
  for (int i = 0; i < digits; i++) {
    const int v = HexValue(s[i]);
    if (v < 0) return false;
    value = value * 16 + static_cast<unsigned>(v);
  }
  const int bits = digits * 4;
  *out = bits >= 8 ? value >> (bits - 8) : value * 0x11;
  return true;
}

bool ParseHash(const char* hex, synPixel* out) {
  const size_t n = std::strlen(hex);
  if (n == 0 || n % 3 != 0 || n > 12) return false;
  const int digits = static_cast<int>(n / 3);
  unsigned r, g, b;
  if (!HexField(hex, digits, &r) || !HexField(hex + digits, digits, &g) ||
      !HexField(hex + 2 * digits, digits, &b)) {
    return false;
  }
  *out = (r << 16) | (g << 8) | b;
  return true;
}

// "rgb:r/g/b" with one to four hexadecimal digits per field.
bool ParseRgbSpec(const char* spec, synPixel* out) {
  unsigned parts[3];
  const char* p = spec;
  for (int i = 0; i < 3; i++) {
    const char* end = std::strchr(p, i < 2 ? '/' : '\0');
    const int digits = static_cast<int>(end - p);
    if (digits < 1 || digits > 4 || !HexField(p, digits, &parts[i])) return false;
    p = end + 1;
  }
  *out = (parts[0] << 16) | (parts[1] << 8) | parts[2];
  return true;
}

}  // namespace

synSettings& syn_Settings() { return settings; }
synDefaultPixels& syn_DefaultPixels() { return defaultPixels; }
void syn_SetColorHooks(const synColorHooks& h) { hooks = h; }

void syn_Bell() {
  if (hooks.bell) hooks.bell();
}

bool syn_ParseColorName(const char* name, synPixel* out) {
  if (!name || !*name) return false;
  if (name[0] == '#') return ParseHash(name + 1, out);
  if (gen_strcaseprefix(name, "rgb:")) return ParseRgbSpec(name + 4, out);
  for (const NamedRGB& c : kColourNames) {
    if (gen_strequal(name, c.name)) {
      *out = c.rgb;
      return true;
    }
  }
  return false;
}

synColorClass syn_ColorClassOfStatus(synState status) {
  switch (GetPureSyntaxStatus(status)) {
    case SYN_STRING: case SYN_STRING2: return synColorClass::string;
    case SYN_CHARACTER: case SYN_CHARACTER2: return synColorClass::character;
    case SYN_DEAD_CODE: return synColorClass::deadcode;
    case SYN_COMMENT: case SYN_LINE_COMMENT: return synColorClass::comment;
    case SYN_KEYWORD: case SYN_PREPROCESSOR: return synColorClass::keyword;
    case SYN_INTEGER: case SYN_FLOAT: return synColorClass::number;
    case SYN_BLOCK: case SYN_CUSTOMIZED: return synColorClass::customized;
    default: return synColorClass::plain;
  }
}

bool synColor::Set(const char* colourName) {
  Release();
  name_ = colourName ? colourName : "";
  if (gen_strequal(name_.c_str(), "none")) return true;
  synPixel pixel = 0;
  const bool ok = hooks.allocate ? hooks.allocate(name_.c_str(), &pixel)
                                 : syn_ParseColorName(name_.c_str(), &pixel);
  if (!ok) return false;
  pixel_ = pixel;
  allocated_ = true;
  return true;
}

void synColor::Release() {
  if (allocated_ && hooks.release) hooks.release(pixel_);
  allocated_ = false;
  pixel_ = 0;
}

void synColor::MoveTo(synColor& to) {
  to.Release();
  to.name_ = name_;
  to.pixel_ = pixel_;
  to.allocated_ = allocated_;
  allocated_ = false;
  pixel_ = 0;
}
