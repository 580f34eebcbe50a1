// Window geometries per class: read from the file at every look-up (it is a
// few lines, and another run of the program may have rewritten it), and
// rewritten whole through a temporary file and a rename, so a crash or a
// full disk never leaves half a file behind.
#include "gui/core/window_config.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdio>
#include <sstream>
#include <vector>

#include "base/gen.h"
#include "config/config_dirs.h"
#include "gui/core/colwind.h"
#include "gui/x11/display.h"
#include "gui/x11/window.h"

namespace {

// Limits that keep a stray large file from being read into memory.
constexpr int kMaxLines = 1000;
constexpr size_t kMaxLineLength = 512;
constexpr long kMaxFileBytes = kMaxLines * (kMaxLineLength + 1);
constexpr int kMaxCoordinate = 32767;

using Entry = WindowGeometryEntry;

// A class is one word, since it is the first field of its line.
bool validClass(const char* windowClass) {
  if (!windowClass || !*windowClass) return false;
  for (const char* c = windowClass; *c; c++)
    if (*c <= ' ' || *c == 0x7f) return false;
  return true;
}

bool parseNumber(const std::string& text, int low, int high, int* out) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, *out);
  return ec == std::errc() && ptr == end && *out >= low && *out <= high;
}

bool parseLine(const std::string& line, Entry* out) {
  if (line.size() > kMaxLineLength) return false;
  std::istringstream in(line);
  std::string fields[6];
  int n = 0;
  while (n < 6 && in >> fields[n]) n++;
  if (n != 5 || !validClass(fields[0].c_str())) return false;
  out->windowClass = fields[0];
  DrawRect& r = out->rect;
  return parseNumber(fields[1], -kMaxCoordinate, kMaxCoordinate, &r.x) &&
         parseNumber(fields[2], -kMaxCoordinate, kMaxCoordinate, &r.y) &&
         parseNumber(fields[3], 1, kMaxCoordinate, &r.width) &&
         parseNumber(fields[4], 1, kMaxCoordinate, &r.height);
}

std::string geometryFile(bool createDir) {
  if (cfg_GetNoConfigFiles()) return "";
  char* dir = cfg_GetUserConfigDir(createDir);
  std::string file = dir ? std::string(dir) + "/windows.geom" : "";
  gen_free(dir);
  return file;
}

std::vector<Entry> readEntries(const std::string& file) {
  long size = 0;
  char* text = gen_read_data_file(file.c_str(), kMaxFileBytes, &size, "window geometry file");
  if (!text) return {};
  std::vector<Entry> entries = WindowConfig_Parse(std::string_view(text, size));
  gen_free(text);
  return entries;
}

constexpr char kTempInfix[] = ".tmp.";

// Temporary files of runs killed between writing and renaming go, so that
// they do not pile up.
void removeStaleTemps(const std::string& file) {
  const std::string dir = file.substr(0, file.rfind('/') + 1);
  const std::string prefix = file.substr(dir.size()) + kTempInfix;
  DIR* d = opendir(dir.c_str());
  if (!d) return;
  while (dirent* e = readdir(d)) {
    const std::string name = e->d_name;
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string digits = name.substr(prefix.size());
    int pid = 0;
    if (!parseNumber(digits, 1, INT_MAX, &pid) || gen_process_exists(pid)) continue;
    unlink((dir + name).c_str());
  }
  closedir(d);
}

// Exclusive and not through a link; a leftover of an earlier run with this
// process number is replaced.
FILE* createTemp(const std::string& temp) {
  const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
  int fd = open(temp.c_str(), flags, 0600);
  if (fd < 0 && errno == EEXIST && unlink(temp.c_str()) == 0) fd = open(temp.c_str(), flags, 0600);
  FILE* f = fd >= 0 ? fdopen(fd, "w") : nullptr;
  if (fd >= 0 && !f) close(fd);
  return f;
}

bool writeEntries(const std::string& file, const std::vector<Entry>& entries) {
  removeStaleTemps(file);
  std::string temp = file + kTempInfix + std::to_string(getpid());
  FILE* f = createTemp(temp);
  if (!f) return false;
  for (const Entry& e : entries)
    fprintf(f, "%s %d %d %d %d\n", e.windowClass.c_str(), e.rect.x, e.rect.y, e.rect.width,
            e.rect.height);
  bool written = !ferror(f);
  written = fclose(f) == 0 && written;
  if (written && rename(temp.c_str(), file.c_str()) == 0) return true;
  unlink(temp.c_str());
  return false;
}

// A window saved on a larger screen comes back whole on this one, and one
// saved (or edited) down to a few pixels comes back large enough to use.
DrawRect clampToScreen(DrawRect r) {
  constexpr int kMinWidth = 320, kMinHeight = 200;
  int sw, sh;
  gui_screenSize(&sw, &sh);
  r.width = std::max(r.width, kMinWidth), r.height = std::max(r.height, kMinHeight);
  r.width = std::min(r.width, sw), r.height = std::min(r.height, sh);
  r.x = std::clamp(r.x, 0, sw - r.width), r.y = std::clamp(r.y, 0, sh - r.height);
  return r;
}

}  // namespace

// Damaged lines are left out (and so disappear at the next rewrite).
std::vector<WindowGeometryEntry> WindowConfig_Parse(std::string_view text) {
  std::vector<Entry> entries;
  std::vector<std::string> lines = gen_split_lines(text);
  if (lines.size() > static_cast<size_t>(kMaxLines)) lines.resize(kMaxLines);
  for (const std::string& line : lines) {
    Entry e;
    if (parseLine(line, &e)) entries.push_back(e);
  }
  return entries;
}

std::string WindowConfig_File() { return geometryFile(false); }

bool WindowConfig_Lookup(const char* windowClass, DrawRect* out) {
  if (!validClass(windowClass)) return false;
  std::string file = geometryFile(false);
  if (file.empty()) return false;
  for (const Entry& e : readEntries(file)) {
    if (e.windowClass != windowClass) continue;
    if (out) *out = e.rect;
    return true;
  }
  return false;
}

void WindowConfig_CreateWindow(const char* windowClass, ColWind* window) {
  if (!window || !window->getWindow() || !XWindowsOn() || window->geometryGiven()) return;
  DrawRect saved;
  if (WindowConfig_Lookup(windowClass, &saved)) cwSetGeometry(window, clampToScreen(saved));
}

void WindowConfig_DestroyWindow(const char* windowClass, ColWind* window) {
  if (!window || !window->getWindow() || !XWindowsOn() || !validClass(windowClass)) return;
  DrawRect now;
  if (!xwin_frameGeometry(window->getWindow(), &now)) return;
  std::string file = geometryFile(true);
  if (file.empty()) return;
  std::vector<Entry> entries = readEntries(file);
  std::erase_if(entries, [&](const Entry& e) { return e.windowClass == windowClass; });
  entries.push_back(Entry{windowClass, now});
  writeEntries(file, entries);
}
