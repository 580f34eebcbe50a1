// Small services of top-level windows that the viewer needs beyond
// creating and naming them: raising, a published state text, and a
// register of windows by class.
//
// The state text is a window property named "_DIFFVIEW_STATE" of type
// UTF8_STRING on the top-level X window.  Scripts and tests read it (for
// example with `xprop -id WINDOW _DIFFVIEW_STATE`) to learn what the window
// shows without reading pixels.  The viewer writes one "key=value" per
// line; see DiffViewer_Impl::publishState (viewer/diffviewer_nav.cpp) for the keys.
#pragma once

#include <vector>

class ColWind;

void cwRaise(ColWind* window);
void cwPublishState(ColWind* window, const char* text);

// The register of the program's windows by class number (the viewer window
// is class 13), so that tools can find a window of a kind.
void cwRegisterWindowClass(ColWind* window, int classNumber);
void cwUnregisterWindowClass(ColWind* window);
// Open windows of the class, oldest first.
std::vector<ColWind*> cwWindowsOfClass(int classNumber);
