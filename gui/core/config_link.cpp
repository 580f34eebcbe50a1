// Hooks between the configuration and the toolkit: resource lookups for
// option defaults, pixel allocation for colour options, and reaction to
// changed options.
#include "gui/core/config_link.h"

#include "config/config.h"
#include "config/config_hooks.h"
#include "config/config_vars.h"
#include "gui/core/bindings.h"
#include "gui/core/colwind.h"
#include "gui/core/event_loop.h"
#include "gui/core/fonts.h"
#include "gui/core/pixels.h"
#include "gui/x11/display.h"

namespace {

// A colour option takes a new colour: its pixel is allocated now when the
// display is up (otherwise at start-up with the others).
int allocateColour(_ConfigOption*, cfg_ColorSlot* slot, const cfg_Rgb* rgb) {
  if (cfg_blackwhite) return 0;
  if (!XWindowsOn()) return 1;
  slot->pixel = draw_allocRGB(rgb->red >> 8, rgb->green >> 8, rgb->blue >> 8);
  slot->allocated = true;
  return 1;
}

void repaintAll() {
  cwCallProcOnAll(
      [](ColWind* w, void*) {
        std::vector<WWindowedItem*> items{w};
        while (!items.empty()) {
          WWindowedItem* i = items.back();
          items.pop_back();
          i->invalidate();
          items.insert(items.end(), i->getChildren().begin(), i->getChildren().end());
        }
      },
      nullptr);
}

void optionChanged(_ConfigOption* option) {
  if (!XWindowsOn() || !option) return;
  if (option->refresh & (CFG_REFRESH_COLORS | CFG_REFRESH_FONTS)) gui_applyConfiguration();
  else WEventSetClickPause(cfg_clickpause);
}

// "q|Control: Close" and the like: the binding joins the windows' bindings.
int bindingLine(const char* name, const char* value) {
  if (!*value) return 0;
  std::string text = name;
  text += "=";
  text += value;
  return W_addBinding(text.c_str()) ? 1 : 0;
}

}  // namespace

void gui_connectConfiguration() {
  cfg_SetXResourceLookup(gui_getResourceNamed);
  cfg_SetColorHook(allocateColour);
  cfg_SetChangeHook(optionChanged);
  cfg_SetAfterReadHook(gui_applyConfiguration);
  cfg_SetBindingHook(bindingLine);
  gui_setColourSource(cfg_GetColorText);
  gui_setFontSource([]() -> const char* { return cfg_font; });
  cfg_SetEverythingToDefaults();
}

void gui_applyConfiguration() {
  if (!XWindowsOn()) return;
  WRecomputeColors();
  gui_reloadDefaultFont();
  WEventSetClickPause(cfg_clickpause);
  repaintAll();
}
