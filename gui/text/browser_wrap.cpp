// Wrapping added text: a line that reaches the wrap width is broken at its
// last space (or where it is, without one); continuation lines start with
// the indent, and the blanks at the break are dropped.
#include <cstring>

#include "gui/text/browser.h"
#include "gui/text/text_metrics.h"
#include "gui/text/textview.h"

namespace {

int charLength(const char* text, int at, int length) {
  int n = 1;
  while (at + n < length && !textCharStart(static_cast<unsigned char>(text[at + n]))) n++;
  return n;
}

}  // namespace

std::string SimpleBrowser::copyAndWrap(const char* text, int length, int font) {
  if (wrapWidth_ == kNoWrap) return std::string(text, length);
  const TextMetrics& m = view_->getMetrics();
  std::string indent;
  for (int i = 0; i < wrapIndentCount_ && wrapIndent_; i++) indent += wrapIndent_;
  int indentWidth = m.textWidth(font, indent.data(), static_cast<int>(indent.size()));

  std::string out;
  int x = view_->getPartialLineWidth();
  if (!indent.empty() && atLineStart_) {
    out += indent;
    x = indentWidth;
  }
  size_t lastSpace = std::string::npos;  // in `out`, on the current line
  int i = 0;
  while (i < length) {
    bool atNewline = text[i] == '\n';
    if (atNewline || x >= wrapWidth_) {
      std::string rest;
      if (!atNewline && lastSpace != std::string::npos) {
        rest = out.substr(lastSpace + 1);
        out.resize(lastSpace);
        size_t lineStart = out.rfind('\n');
        lineStart = lineStart == std::string::npos ? 0 : lineStart + 1;
        while (out.size() > lineStart + indent.size() &&
               (out.back() == ' ' || out.back() == '\t'))
          out.pop_back();
      }
      out += '\n';
      if (atNewline) i++;
      out += indent;
      size_t skip = rest.find_first_not_of(" \t");
      rest = skip == std::string::npos ? std::string() : rest.substr(skip);
      if (rest.empty())
        while (i < length && (text[i] == ' ' || text[i] == '\t')) i++;
      out += rest;
      x = indentWidth + m.textWidth(font, rest.data(), static_cast<int>(rest.size()));
      lastSpace = std::string::npos;
      continue;
    }
    int n = charLength(text, i, length);
    if (text[i] == ' ') lastSpace = out.size();
    x += m.textWidth(font, text + i, n);
    out.append(text + i, n);
    i += n;
  }
  return out;
}
