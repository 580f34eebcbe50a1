// The size and place of top-level windows, remembered per window class
// ("DiffViewer", ...) from one run to the next.  Kept in "windows.geom" in
// the user's configuration directory as lines "<class> <x> <y> <width>
// <height>"; nothing is read or written while configuration files are off.
// An unreadable or damaged file counts as empty and is never complained
// about: losing a window's place is not worth a message.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "gui/x11/draw.h"

class ColWind;

// Gives the window the size and place saved for its class, clamped so the
// whole window lies on this screen; a class never saved leaves it alone.
void WindowConfig_CreateWindow(const char* windowClass, ColWind* window);
// Saves the window's current size and place for its class (call it before
// the window is destroyed); the lines of other classes are kept.
void WindowConfig_DestroyWindow(const char* windowClass, ColWind* window);

// The saved geometry of the class, as stored (not clamped); false when none.
bool WindowConfig_Lookup(const char* windowClass, DrawRect* out);
// Where the geometries are kept; empty while configuration files are off.
std::string WindowConfig_File();

// The entries of a geometry file's text: one per well-formed line among the
// first 1000, each line at most 512 bytes, sizes 1 to 32767 and places
// within 32767 of the origin.
struct WindowGeometryEntry {
  std::string windowClass;
  DrawRect rect;
};
std::vector<WindowGeometryEntry> WindowConfig_Parse(std::string_view text);
