// Colour texts to RGB: the hexadecimal forms the window system accepts and
// the colour names of its name file (loaded once per file, matched
// ignoring case and blanks).  Turning RGB into pixels is the toolkit's job.
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <strings.h>

#include "base/gen.h"
#include "config/config.h"

namespace {

const char* const kDefaultNameFile = "/etc/X11/rgb.txt";

std::string nameFile = kDefaultNameFile;
std::string loadedFile;
std::map<std::string, cfg_Rgb> colourNames;

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads `n` hex digits at `s`; -1 when one is missing.
long hexValue(const char* s, int n) {
  long v = 0;
  for (int i = 0; i < n; i++) {
    int d = hexDigit(s[i]);
    if (d < 0) return -1;
    v = v * 16 + d;
  }
  return v;
}

// "#" followed by 3, 6, 9 or 12 digits: each channel is the most
// significant bits of a 16-bit value.
bool parseHash(const char* s, cfg_Rgb* out) {
  size_t len = strlen(s);
  if (len == 0 || len % 3 != 0 || len > 12) return false;
  int n = static_cast<int>(len / 3);
  unsigned short channels[3];
  for (int i = 0; i < 3; i++) {
    long v = hexValue(s + i * n, n);
    if (v < 0) return false;
    channels[i] = static_cast<unsigned short>(v << (16 - 4 * n));
  }
  *out = {channels[0], channels[1], channels[2]};
  return true;
}

// "rgb:r/g/b" with 1 to 4 digits per channel, each scaled to 16 bits.
bool parseRgbPrefix(const char* s, cfg_Rgb* out) {
  unsigned short channels[3];
  for (int i = 0; i < 3; i++) {
    int n = 0;
    while (hexDigit(s[n]) >= 0) n++;
    if (n < 1 || n > 4) return false;
    long max = (1L << (4 * n)) - 1;
    channels[i] = static_cast<unsigned short>(hexValue(s, n) * 65535 / max);
    s += n;
    if (i < 2 && *s++ != '/') return false;
  }
  if (*s) return false;
  *out = {channels[0], channels[1], channels[2]};
  return true;
}

std::string normalisedName(const char* s) {
  std::string out;
  for (; *s; s++) {
    if (*s == ' ' || *s == '\t') continue;
    out += (*s >= 'A' && *s <= 'Z') ? static_cast<char>(*s - 'A' + 'a') : *s;
  }
  return out;
}

void loadNames() {
  if (loadedFile == nameFile) return;
  loadedFile = nameFile;
  colourNames.clear();
  constexpr long kMaxFileBytes = 4L << 20;
  std::vector<std::string> lines;
  if (!gen_read_data_lines(nameFile.c_str(), kMaxFileBytes, "colour name file", &lines)) return;
  for (const std::string& line : lines) {
    int r, g, b, used = 0;
    if (line[0] == '!' || sscanf(line.c_str(), "%d %d %d %n", &r, &g, &b, &used) != 3) continue;
    std::string name = normalisedName(line.c_str() + used);
    if (name.empty() || r < 0 || r > 255 || g < 0 || g > 255 || b < 0 || b > 255) continue;
    auto scale = [](int v) { return static_cast<unsigned short>(v * 257); };
    colourNames.emplace(name, cfg_Rgb{scale(r), scale(g), scale(b)});
  }
}

}  // namespace

void cfg_SetColorNameFile(const char* path) {
  nameFile = path ? path : kDefaultNameFile;
}

bool cfg_ParseColor(const char* text, cfg_Rgb* out) {
  if (!text || !out) return false;
  while (*text == ' ' || *text == '\t') text++;
  if (*text == '#') return parseHash(text + 1, out);
  if (strncasecmp(text, "rgb:", 4) == 0) return parseRgbPrefix(text + 4, out);
  std::string name = normalisedName(text);
  if (name.empty()) return false;
  loadNames();
  auto it = colourNames.find(name);
  if (it == colourNames.end()) return false;
  *out = it->second;
  return true;
}
