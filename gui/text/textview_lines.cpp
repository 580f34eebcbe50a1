// The view's questions about lines: which line is where, how many there
// are, where a reference sits, and the whole text as one string.
#include <algorithm>
#include <string>

#include "base/gen.h"
#include "gui/text/text_element.h"
#include "gui/text/textview_impl.h"

int WTextView_Impl::getLineAt(int y) {
  return table_ ? table_->getLineAt(y + scrollY_) : 0;
}

int WTextView_Impl::getLinePosition(int line) {
  if (!table_) return 0;
  long top = table_->getLineTop(line);
  return top < 0 ? -1 : static_cast<int>(top - scrollY_);
}

long WTextView_Impl::getContentHeight() { return table_ ? table_->getContentHeight() : 0; }

int WTextView_Impl::getLineCount() { return table_ ? table_->getLineCount() : 0; }

int WTextView_Impl::getFirstLine() {
  if (!table_) return 0;
  int count = table_->getLineCount();
  return std::clamp(table_->getLineAt(scrollY_), std::min(1, count), count);
}

int WTextView_Impl::getLastLine() {
  if (!table_) return 0;
  int count = table_->getLineCount();
  long bottom = scrollY_ + std::max(1, viewHeight()) - 1;
  return std::clamp(table_->getLineAt(bottom), std::min(1, count), count);
}

void WTextView_Impl::scrollToLine(int line, bool centre) {
  if (!table_ || !vScroller_ || line < 1 || line > table_->getLineCount()) return;
  long y = table_->getLineTop(line);
  if (centre) y -= viewHeight() / 2;
  vScroller_->scrollTo(y);
}

TextReference WTextView_Impl::getFirstRefOnLine(int line) {
  if (!table_) return nullptr;
  const PositionTable::LinePos* lp = table_->getLine(line);
  return lp ? lp->first : nullptr;
}

bool WTextView_Impl::getPositionOf(TextReference ref, int* line, int* x) {
  return table_ && ref && table_->findRef(ref, line, x);
}

TextReference WTextView_Impl::getRefAt(int x, int y) {
  if (!table_) return nullptr;
  const PositionTable::LinePos* lp = table_->getLine(table_->getLineAt(y + scrollY_));
  if (!lp) return nullptr;
  int i = PositionTable::elementAt(*lp, static_cast<int>(x + scrollX_));
  return i < 0 ? nullptr : lp->elements[i].ref;
}

int WTextView_Impl::getPartialLineWidth() {
  return table_ ? table_->getPartialLineWidth() : 0;
}

char* WTextView_Impl::getText() {
  std::string out;
  if (store_) {
    for (TextReference r = store_->getFirstElement(); r; r = store_->getNextElement(r)) {
      if (store_->isLineEnd(r)) {
        if (newlinesInSelection_) out += '\n';
        continue;
      }
      TextElement* el = store_->getElement(r);
      if (!el) continue;
      const char* text;
      int length;
      el->getRawText(this, 0, TextElement::kWholeWidth, &text, &length);
      out.append(text, length);
    }
  }
  return gen_copyn(out.data(), static_cast<long>(out.size()));
}
