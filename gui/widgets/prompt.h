// The text prompt: a question, a text field holding an initial answer, and
// "OK" and "Cancel" in a modal window.
#pragma once

class ColWind;

// Asks for a text; the answer (surrounding spaces trimmed) as a new string
// for the caller to gen_free, or null when the user cancelled (Cancel,
// Escape, the close button) or there is no display.  Enter in the field
// answers like "OK".
char* gui_Prompt(ColWind* parent, const char* title, const char* prompt, const char* initial);
