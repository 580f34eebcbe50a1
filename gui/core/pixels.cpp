// The named pixels: each is allocated from a configured colour text (the
// configuration's colour options, which already account for X resources),
// falling back to the built-in colour when the text names no colour.
#include "gui/core/pixels.h"

#include <algorithm>

#include "base/gen.h"
#include "config/config_vars.h"
#include "gui/x11/display.h"

Pixel fg_pixel, bg_pixel, control_pixel, controlshadow_pixel, controlhighlight_pixel,
    select_pixel, selectreverse_pixel, red_pixel, white_pixel, black_pixel;
Pixel comment_fg, keyword_fg, string_fg, integer_fg, character_fg, customized_fg, deadcode_fg,
    assembly_pixel, pointer_pixel, bdot_pixel, diffhighlight_pixel, procrelline_pixel,
    filerelline_pixel, diffinserted_pixel, diffdeleted_pixel, diffchanged_pixel,
    diffchangedtext_pixel;

namespace {

struct NamedPixel {
  const char* option;    // the colour option (and X resource) name
  const char* fallback;  // used when the option is unset or names no colour
  Pixel* pixel;
};

const NamedPixel kNamedPixels[] = {
    {"background", "#ffffff", &bg_pixel},
    {"foreground", "#000000", &fg_pixel},
    {"controlcolor", "#c0c0c0", &control_pixel},
    {"select", "#000080", &select_pixel},
    {"breakcolor", "#ff0000", &red_pixel},
    {"assembly", "#804000", &assembly_pixel},
    {"pointercolor", "#ff0000", &pointer_pixel},
    {"bdotcolor", "#ff0000", &bdot_pixel},
    {"comment", "#008000", &comment_fg},
    {"keyword", "#0000ff", &keyword_fg},
    {"string", "#800000", &string_fg},
    {"number", "#e000e0", &integer_fg},
    {"character", "#c000c0", &character_fg},
    {"customized", "#008080", &customized_fg},
    {"deadcode", "#808080", &deadcode_fg},
    {"diffHighlight", "#e0ffd0", &diffhighlight_pixel},
    {"diffInserted", "#cce6ff", &diffinserted_pixel},
    {"diffDeleted", "#ffd4d4", &diffdeleted_pixel},
    {"diffChanged", "#ecdfb0", &diffchanged_pixel},
    {"diffChangedText", "#d8b040", &diffchangedtext_pixel},
    {"procRelLineBG", "#e4e4e4", &procrelline_pixel},
};

WColourTextFn colourSource = nullptr;

Pixel allocNamed(const NamedPixel& n) {
  const char* text = colourSource ? colourSource(n.option) : nullptr;
  if (!text) text = gui_getResource(n.option);
  Pixel p;
  if (text && draw_parseColor(text, &p)) return p;
  if (text) gen_warning("Unknown colour \"%s\" for %s, using %s", text, n.option, n.fallback);
  draw_parseColor(n.fallback, &p);
  return p;
}

Pixel scaled(Pixel base, int num, int den, int add) {
  unsigned r, g, b;
  draw_pixelRGB(base, &r, &g, &b);
  auto f = [&](unsigned c) { return std::min(255u, static_cast<unsigned>(c * num / den + add)); };
  return draw_allocRGB(f(r), f(g), f(b));
}

}  // namespace

void gui_setColourSource(WColourTextFn source) { colourSource = source; }

void WRecomputeColors() {
  if (!XWindowsOn()) return;
  for (const NamedPixel& n : kNamedPixels) *n.pixel = allocNamed(n);
  const char* rv = gui_getResource("reversevideo");
  if (rv && gen_strequal(rv, "on")) std::swap(fg_pixel, bg_pixel);
  // The line-number and text backgrounds take their own colours only while
  // "useProcRelLineBG" and "useFileRelLineBG" are on.
  if (!useProcRelLineBG) procrelline_pixel = bg_pixel;
  filerelline_pixel =
      useFileRelLineBG ? allocNamed(NamedPixel{"fileRelLineBG", "#FFFFFF", nullptr}) : bg_pixel;
  white_pixel = draw_allocRGB(255, 255, 255);
  black_pixel = draw_allocRGB(0, 0, 0);
  controlshadow_pixel = scaled(control_pixel, 1, 2, 0);
  controlhighlight_pixel = scaled(control_pixel, 1, 2, 128);
  unsigned r, g, b;
  draw_pixelRGB(select_pixel, &r, &g, &b);
  selectreverse_pixel = (r * 3 + g * 6 + b) / 10 < 128 ? white_pixel : black_pixel;
}
