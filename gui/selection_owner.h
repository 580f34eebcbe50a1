// The X selections a view offers: the text last selected (PRIMARY) or
// copied (CLIPBOARD), handed to any X client that asks for it as
// UTF8_STRING, STRING or TEXT.  Only the toolkit's views call this.
#pragma once

#include <string>

#include "gui/draw.h"

// Takes ownership of PRIMARY (or CLIPBOARD) for `window` with `text`.
// False when the server did not grant it.
bool selectionOwner_offer(WindowId window, bool clipboard, const std::string& text);
// The text offered now, or null when another client owns the selection.
const std::string* selectionOwner_text(bool clipboard);
// Forgets what `window` offered (the window is going away).
void selectionOwner_forgetWindow(WindowId window);
