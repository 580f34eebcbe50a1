// Tool tips.  An item whose tip text (WWindowedItem::setToolTip, "short
// text@@long text") is not empty shows, once the pointer has rested on it
// for the delay, a small popup with the short text beside the pointer;
// while the pointer is over the item its top-level window's message line
// shows the long text, and the message it replaced comes back when the
// pointer leaves.  A button press takes the popup down.
#pragma once

#include <string>

#include "gui/x11/event.h"

class WWindowedItem;

// Puts the tool tips on the items' hooks (start-up): they then see every
// pointer event of an item before the item does, and every closing window.
void W_toolTipInstall();

// The two parts of a tip text: before and after the first "@@".
std::string W_toolTipShortText(const std::string& tip);
std::string W_toolTipLongText(const std::string& tip);

// How long the pointer must rest before the popup shows (600 ms).
void W_toolTipSetDelay(long ms);
long W_toolTipDelay();

// The popup shown now: its text and its window; "" and 0 when none.
std::string W_toolTipShownText();
WindowId W_toolTipWindow();
// Forgets the item being watched: popup down, message restored.
void W_toolTipClose();
