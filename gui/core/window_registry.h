// The items of the toolkit's X windows, found by window id, and the modal
// window that refuses input to the others.
#pragma once

#include "gui/x11/draw.h"

class ColWind;
class WWindowedItem;

void gui_registerWindow(WindowId window, WWindowedItem* item);
void gui_unregisterWindow(WindowId window);  // also forgets its damage
WWindowedItem* gui_findItem(WindowId window);  // null for foreign windows
int gui_windowCount();

// Input to windows other than the modal one (and its children) is refused
// with the bell and the modal window is raised; null for none.
void gui_setModalWindow(ColWind* window);
ColWind* gui_getModalWindow();
