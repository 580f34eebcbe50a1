// The only file of the syntax library that reads the configuration: file
// lookup in the configuration directories and the colouring options.
#include "syntax/syn_config.h"

#include <unistd.h>

#include "base/gen.h"
#include "config/config_dirs.h"
#include "config/config_vars.h"
#include "syntax/syn_colors.h"

namespace {

// The slot's pixel when the toolkit allocated one, else its RGB value, else
// `fallback`.
synPixel SlotPixel(const cfg_ColorSlot& slot, synPixel fallback) {
  if (slot.allocated) return slot.pixel;
  if (!slot.parsed) return fallback;
  return (static_cast<synPixel>(slot.rgb.red >> 8) << 16) |
         (static_cast<synPixel>(slot.rgb.green >> 8) << 8) | (slot.rgb.blue >> 8);
}

}  // namespace

char* syn_FindConfigFile(const char* name) {
  return name ? cfg_SearchFileInConfigDirs(name, R_OK) : nullptr;
}

char* syn_FindDefinitionFile(const char* name) {
  if (!name) return nullptr;
  if (char* found = syn_FindConfigFile(name)) return found;
  char* joined = gen_concat("syntax_coloring/", name);
  char* found = syn_FindConfigFile(joined);
  gen_free(joined);
  return found;
}

void syn_ReadConfiguredSettings() {
  synSettings& s = syn_Settings();
  s.colorsyntax = colorsyntax;
  s.colorString = colorsyntax_string;
  s.colorChar = colorsyntax_char;
  s.colorDeadcode = colorsyntax_deadcode;
  s.colorComment = colorsyntax_comment;
  s.colorKeyword = colorsyntax_keyword;
  s.colorNumber = colorsyntax_number;
  s.colorCustomized = colorsyntax_customized;
  s.cppCommentsInC = cppCommentsInC;

  synDefaultPixels& d = syn_DefaultPixels();
  d.fg = SlotPixel(cfg_colors[CFG_COLOR_foreground], d.fg);
  d.string = SlotPixel(cfg_colors[CFG_COLOR_string], d.string);
  d.character = SlotPixel(cfg_colors[CFG_COLOR_character], d.character);
  d.deadcode = SlotPixel(cfg_colors[CFG_COLOR_deadcode], d.deadcode);
  d.comment = SlotPixel(cfg_colors[CFG_COLOR_comment], d.comment);
  d.keyword = SlotPixel(cfg_colors[CFG_COLOR_keyword], d.keyword);
  d.integer = SlotPixel(cfg_colors[CFG_COLOR_number], d.integer);
  d.customized = SlotPixel(cfg_colors[CFG_COLOR_customized], d.customized);
}
