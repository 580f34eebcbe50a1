// The record the toolkit keeps for every X window it creates, found by
// window id: the item it belongs to, the parent whose coordinates child
// events are reported in, and the window's event test and translation.
// Events of windows without a record go to the foreign-window handler.
#pragma once

#include <X11/Xlib.h>

#include "gui/event.h"

class WWindowedItem;

struct WindowRecord {
  Window parent = 0;  // non-zero: events are reported to the parent
  WWindowedItem* item = nullptr;
  // May swallow an event before translation; true when it did.
  bool (*eventTest)(XEvent* event, WWindowedItem* item) = nullptr;
  // Replaces the default translation; false when nothing is to be delivered.
  bool (*translate)(XEvent* event, xinLibSt* out, WWindowedItem* item) = nullptr;
};

void gui_registerWindow(Window window, const WindowRecord& record);
void gui_unregisterWindow(Window window);
WindowRecord* gui_findWindow(Window window);
int gui_windowCount();

using ForeignWindowHandler = void (*)(XEvent* event);
void gui_setForeignWindowHandler(ForeignWindowHandler handler);
ForeignWindowHandler gui_getForeignWindowHandler();

// Sees SelectionRequest, SelectionNotify and SelectionClear events before
// anything else (the X selection owner lives here); true when it consumed
// the event.
using SelectionEventHook = bool (*)(XEvent* event);
void gui_setSelectionEventHook(SelectionEventHook hook);

// Input to windows other than the modal one (and its children) is refused
// with the bell and the modal window is raised; null for none.
class ColWind;
void gui_setModalWindow(ColWind* window);
ColWind* gui_getModalWindow();
