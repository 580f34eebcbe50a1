// The toolkit's default text font: DejaVu Sans Mono unless the "font"
// resource (or -fn option) names another; a font that cannot be loaded
// falls back to the default with a warning.
#pragma once

extern const char* const kDefaultFontName;

// The default text font's line height, character width and ascent.
extern int font_h, font_n, font_ascent;

// Where the configured font name comes from (null answer: the "font"
// resource, then the built-in default).
void gui_setFontSource(const char* (*source)());

// Opens the default font and sets font_h, font_n and font_ascent.
void gui_openDefaultFont();
void gui_closeDefaultFont();
// Opens the default font again when the configured name changed.
void gui_reloadDefaultFont();
