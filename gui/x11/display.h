// The display: opened from the resource options at start-up, closed at
// shutdown, and asked for resources, the screen's size and the bell.
// Whether it is open is XWindowsOn(); every other call of the seam does
// nothing (or answers "none") while it is not.
#pragma once

#include <string>

bool XWindowsOn();

// Takes the resource options ("-display d", "-fg red", "-xrm ...") out of
// argv[1..], opens the display they name (else $DISPLAY) and builds the
// resource database.  False when no display could be opened; *tried then
// holds the name that was tried ("" for the default).
bool gui_openDisplay(int* argc, char** argv, const char* programName, std::string* tried);
// X error handling, the screen's visual, the graphics contexts and atoms;
// with `listen` the X connection joins the idle notifier's wait.  Marks X
// as on.
void gui_initDisplay(bool listen);
// Closes the display and forgets the resource database; X is off after.
void gui_closeDisplay();

// "<program>.<resource>" / "<Program>.<Resource>" from the resource
// database; null when unset.  The text belongs to the database.
const char* gui_getResource(const char* resource);
// The same for a full name and class ("diffview.background").
const char* gui_getResourceNamed(const char* name, const char* cls);

// The default screen's size in pixels; 0 x 0 without a display.
void gui_screenSize(int* width, int* height);
void gui_bell();
// The descriptor of the X connection; -1 without a display.
int gui_connectionNumber();
