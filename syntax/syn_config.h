// Where syntax colouring meets the configuration: finding its files in the
// configuration directories and taking over the colouring switches and the
// configured colours.
#pragma once

// The file in the user, site and site defaults directories; a new string
// for gen_free, or null.
char* syn_FindConfigFile(const char* name);
// A definition file named in the index: the name itself, then
// "syntax_coloring/" and the name.
char* syn_FindDefinitionFile(const char* name);
// Copies "colorsyntax", its per-class switches, "cppCommentsInC" and the
// configured colours into syn_Settings() and syn_DefaultPixels(); a colour
// the toolkit allocated gives its pixel, otherwise its RGB value.
void syn_ReadConfiguredSettings();
