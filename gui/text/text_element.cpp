// Neutral answers of the element operations that most kinds do not need,
// and the copies of raw text made with the foundation allocator.
#include "gui/text/text_element.h"

#include "base/gen.h"

int TextElement::findWordSplit(WTextView*, int, bool) { return 0; }
int TextElement::findCharacterSplit(WTextView*, int) { return 0; }
int TextElement::findCharPosition(WTextView*, int) { return 0; }

void TextElement::getRawText(WTextView*, int, int, const char** text, int* length) {
  *text = "";
  *length = 0;
}

char* TextElement::getRawTextCopy(WTextView*, const char* text, int length) {
  return gen_copyn(text ? text : "", text ? length : 0);
}

void TextElement::releaseRawText(WTextView*, char* text) { gen_free(text); }
