// The theme's named pixels: allocated at start-up from the configured
// colours (the configuration's colour options, else X resources, else the
// built-in colours) and again whenever the configuration changes them.
#pragma once

#include "gui/x11/draw.h"

extern Pixel fg_pixel, bg_pixel, control_pixel, controlshadow_pixel,
    controlhighlight_pixel, select_pixel, selectreverse_pixel, red_pixel,
    white_pixel, black_pixel;
extern Pixel comment_fg, keyword_fg, string_fg, integer_fg, character_fg,
    customized_fg, deadcode_fg, assembly_pixel, pointer_pixel, bdot_pixel,
    diffhighlight_pixel, procrelline_pixel;
// The background of line numbers ("procRelLineBG") and of the text views
// ("fileRelLineBG"); the plain background when "useProcRelLineBG" or
// "useFileRelLineBG" is off.
extern Pixel filerelline_pixel;
// The lines of a difference by kind: only on the right (inserted), only on
// the left (deleted), on both sides (changed), and the characters that
// differ within changed lines.
extern Pixel diffinserted_pixel, diffdeleted_pixel, diffchanged_pixel, diffchangedtext_pixel;

// Re-reads the colour texts and reallocates the named pixels.
void WRecomputeColors();

// The colour text of a colour option ("background", "comment", ...), or null.
using WColourTextFn = const char* (*)(const char* option);
void gui_setColourSource(WColourTextFn source);
