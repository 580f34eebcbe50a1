#include "app/colouring.h"

#include "gui/core/pixels.h"
#include "gui/x11/display.h"
#include "gui/x11/draw.h"
#include "syntax/syntax.h"
#include "text/file.h"

namespace {

bool allocate(const char* name, synPixel* out) {
  Pixel p = 0;
  if (!draw_parseColor(name, &p)) return false;
  *out = p;
  return true;
}

void* languageOf(const char* name) { return syn_LanguageOfFile(name); }

}  // namespace

void app_StartSyntaxColouring() {
  synColorHooks hooks;
  hooks.allocate = allocate;
  hooks.bell = gui_bell;
  syn_SetColorHooks(hooks);
  syn_DefaultPixels() = synDefaultPixels{fg_pixel,   string_fg,  character_fg,
                                         deadcode_fg, comment_fg, keyword_fg,
                                         integer_fg,  customized_fg};
  syn_Init(false);
  FileSetLanguageHook(languageOf);
}

void app_StopSyntaxColouring() {
  FileSetLanguageHook(nullptr);
  syn_Cleanup();
  syn_SetColorHooks(synColorHooks{});
}
