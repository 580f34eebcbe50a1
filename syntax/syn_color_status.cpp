// Choosing a run's foreground: the first class present decides; the
// language's own colour for that class wins over the configured default,
// and a class whose switch is off is drawn in the plain foreground.
#include "syntax/syn_language.h"

void synLanguage::GetColorForStatus(synState status, synPixel* foreground,
                                    synPixel*) const {
  const synSettings& s = syn_Settings();
  if (!s.colorsyntax || !foreground || (status & SYN_NO_COLOR)) return;
  const synDefaultPixels& d = syn_DefaultPixels();
  const auto pick = [&](bool on, const synColor& own, synPixel fallback) {
    if (!on) {
      *foreground = d.fg;
    } else {
      *foreground = own.allocated() ? own.pixel() : fallback;
    }
  };
  switch (::GetPureSyntaxStatus(status)) {
    case SYN_STRING: case SYN_STRING2:
      return pick(s.colorString, stringColor, d.string);
    case SYN_CHARACTER: case SYN_CHARACTER2:
      return pick(s.colorChar, characterColor, d.character);
    case SYN_DEAD_CODE:
      return pick(s.colorDeadcode, synColor(), d.deadcode);
    case SYN_COMMENT:
      return pick(s.colorComment, commentColor, d.comment);
    case SYN_LINE_COMMENT:
      return pick(s.colorComment, lineCommentColor, d.comment);
    case SYN_KEYWORD:
      return pick(s.colorKeyword, keywordColor, d.keyword);
    case SYN_PREPROCESSOR:
      return pick(s.colorKeyword, preprocessorColor, d.keyword);
    case SYN_INTEGER:
      return pick(s.colorNumber, integerColor, d.integer);
    case SYN_FLOAT:
      return pick(s.colorNumber, floatColor, d.integer);
    case SYN_BLOCK:
      return pick(s.colorCustomized, blockColor, d.customized);
    case SYN_CUSTOMIZED:
      return pick(s.colorCustomized, customizedColor, d.customized);
    default:
      *foreground = d.fg;
  }
}
