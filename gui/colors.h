// Where the named pixels get their colour texts.  The configuration fills
// the source in; without it the X resources and built-in colours are used.
#pragma once

// The colour text of a colour option ("background", "comment", ...), or null.
using WColourTextFn = const char* (*)(const char* option);
void gui_setColourSource(WColourTextFn source);
