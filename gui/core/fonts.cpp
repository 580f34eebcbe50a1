// Opening the default font and deriving the metrics every text widget
// lays out with: font_h (line height), font_n (character width) and
// font_ascent.
#include "gui/core/fonts.h"

#include <string>

#include "base/gen.h"
#include "gui/x11/display.h"
#include "gui/x11/draw.h"

const char* const kDefaultFontName = "DejaVu Sans Mono:size=10";

int font_h = 0, font_n = 0, font_ascent = 0;

namespace {

const char* (*fontSource)() = nullptr;
std::string openName;  // what the default font was opened as

const char* wantedName() {
  const char* name = fontSource ? fontSource() : nullptr;
  return name && *name ? name : gui_getResource("font");
}

DrawFont* openWithFallback(const char* wanted) {
  DrawFont* f = wanted ? draw_openFont(wanted) : nullptr;
  if (f) return f;
  if (wanted) gen_warning("Cannot load font \"%s\", using \"%s\"", wanted, kDefaultFontName);
  f = draw_openFont(kDefaultFontName);
  if (!f) f = draw_openFont("monospace:size=10");
  return f;
}

}  // namespace

void gui_setFontSource(const char* (*source)()) { fontSource = source; }

void gui_openDefaultFont() {
  const char* name = wantedName();
  openName = name ? name : "";
  DrawFont* f = openWithFallback(name);
  draw_setDefaultFont(f);
  DrawFontMetrics m = draw_fontMetrics(f);
  font_h = m.height;
  font_ascent = m.ascent;
  font_n = f ? draw_textWidth(f, "M", 1) : 0;
  if (font_n <= 0) font_n = m.maxAdvance;
}

void gui_reloadDefaultFont() {
  const char* name = wantedName();
  if (draw_defaultFont() && openName == (name ? name : "")) return;
  gui_closeDefaultFont();
  gui_openDefaultFont();
}

void gui_closeDefaultFont() {
  draw_closeFont(draw_defaultFont());
  draw_setDefaultFont(nullptr);
}
