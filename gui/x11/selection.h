// The X selections: a text offered as PRIMARY (selected) or CLIPBOARD
// (copied) and handed to any X client that asks for it as UTF8_STRING,
// STRING or TEXT; and the text another client offers, asked for when the
// user pastes.  Texts of any size go both ways (large ones in pieces, the
// INCR protocol).
#pragma once

#include <string>

#include "gui/x11/draw.h"

// Takes ownership of PRIMARY (or CLIPBOARD) for `window` with `text`.
// False when the server did not grant it.
bool selectionOwner_offer(WindowId window, bool clipboard, const std::string& text);
// The text offered now, or null when another client owns the selection.
const std::string* selectionOwner_text(bool clipboard);
// Forgets what `window` offered (the window is going away).
void selectionOwner_forgetWindow(WindowId window);
// Told when another of our windows takes PRIMARY from `owner`, which then
// cancels its highlight.  The event dispatch fills it at start-up.
void selectionOwner_setLostHook(void (*lost)(WindowId owner));

// Asks the owner of PRIMARY (or CLIPBOARD) for its text on behalf of
// `window`.  Nothing waits: the answer arrives later as a WEV_SELECTION
// record of kind WSEL_TEXT for that window (chars, nchars), once all of it
// came (a large text comes in pieces); nothing comes when the owner refuses.
void selection_requestPaste(WindowId window, bool clipboard);
