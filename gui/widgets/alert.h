// Alerts: a message (one or more lines) in a modal window with an "OK"
// button, shown until the user dismisses it with the button, Enter, Escape
// or the window's close button.
#pragma once

class ColWind;

// Shows the alert over `parent` (may be null) and waits for it to go.
// Without a display the message goes to standard error instead.
void gui_Alert(ColWind* parent, const char* message);
void gui_AlertTitled(ColWind* parent, const char* title, const char* message);

// The title alerts carry unless given one.
extern const char* const kAlertTitle;
