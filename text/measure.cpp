// The widest line measure: the number of display columns a line needs,
// counting a tab to its next stop and a control byte as a two-character
// escape.  It always exceeds the line's length, so buffers sized by it hold
// any line of the file.
#include "text/file.h"

#include "text/text_private.h"

namespace {

int tabSize = 8;

}  // namespace

void FileSetTabSize(int size) { tabSize = size; }
int FileGetTabSize() { return tabSize; }

long FileSetMaxW(const char* text, long length) {
  return text_private::MeasureFrom(1, text, length);
}

long text_private::MeasureFrom(long m, const char* text, long length) {
  const long tab = tabSize > 0 ? tabSize : 1;
  for (long k = 0; k < length; ++k) {
    const unsigned char c = static_cast<unsigned char>(text[k]);
    if (c == '\t') {
      m = tab * ((tab + m) / tab);
    } else if (c < 32) {
      m += 2;
    } else {
      m += 1;
    }
  }
  return m;
}

void FileFindMaxWidth(file* f) {
  if (!f) return;
  long widest = 0;
  for (line* l = f->firstLine; l; l = l->next) {
    const char* text = FileLineText(f, l);
    const long m = FileSetMaxW(text ? text : "", text ? l->length : 0);
    if (m > widest) widest = m;
  }
  f->widestLine = widest;
}
