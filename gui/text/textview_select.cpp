// The view's selection: points snapped to characters or words, the span
// selected on each line in the textual, slice and rectangle modes, the
// selected text, and the selection offered to other X clients.
#include <algorithm>
#include <climits>
#include <string>

#include "base/gen.h"
#include "gui/text/text_element.h"
#include "gui/text/text_metrics.h"
#include "gui/text/textview_impl.h"
#include "gui/x11/display.h"
#include "gui/x11/selection.h"

WTextView_Impl::SelPoint WTextView_Impl::snapPoint(int line, int x, int wordSplit) {
  int count = table_ ? table_->getLineCount() : 0;
  if (line < 1) return {1, 0};
  if (line > count) return {count + 1, 0};
  const PositionTable::LinePos* lp = table_->getLine(line);
  int i = PositionTable::elementAt(*lp, x);
  if (i < 0) return {line, x <= 0 ? 0 : lp->width};
  const PositionTable::ElementPos& e = lp->elements[i];
  TextElement* el = store_->getElement(e.ref);
  if (!el || el->isSpanner()) return {line, e.x};
  int local = x - e.x;
  if (wordSplit != 0) return {line, e.x + el->findWordSplit(this, local, wordSplit < 0)};
  // The boundary nearest to x: a point past the middle of a character
  // lands after it.
  int half = metrics_->fontCharWidth(VF_TEXT) / 2;
  if (local + half >= e.width) return {line, e.x + e.width};
  return {line, e.x + el->findCharacterSplit(this, local + half)};
}

WTextView_Impl::SelPoint WTextView_Impl::pointAt(int wx, int wy) {
  if (!table_) return {0, 0};
  return snapPoint(table_->getLineAt(wy + scrollY_), static_cast<int>(wx + scrollX_), 0);
}

void WTextView_Impl::selectionLines(int* first, int* last) {
  SelPoint s = std::min(anchor_, cursor_), e = std::max(anchor_, cursor_);
  *first = s.line;
  *last = std::min(e.line, table_ ? table_->getLineCount() : 0);
}

void WTextView_Impl::selectionSpan(int line, int* from, int* to, bool* lineEnd) {
  SelPoint s = std::min(anchor_, cursor_), e = std::max(anchor_, cursor_);
  *from = 0, *to = INT_MAX, *lineEnd = true;
  if (mode_ == WTS_RECTANGLE) {
    *from = std::min(anchor_.x, cursor_.x);
    *to = std::max(anchor_.x, cursor_.x);
    *lineEnd = false;
  } else if (mode_ == WTS_TEXTUAL) {
    if (line == s.line) *from = s.x;
    if (line == e.line) *to = e.x;
    *lineEnd = line < e.line;
  }
}

void WTextView_Impl::setSelection(SelPoint anchor, SelPoint cursor) {
  anchor_ = anchor;
  cursor_ = cursor;
  hasSelection_ = mode_ != WTS_NONE && !(mode_ == WTS_TEXTUAL && anchor.line == cursor.line &&
                                          anchor.x == cursor.x);
  dirtyAll();
}

void WTextView_Impl::cancelSelection() {
  if (!hasSelection_) return;
  hasSelection_ = false;
  dirtyAll();
}

void WTextView_Impl::disableSelection() {
  cancelSelection();
  mode_ = WTS_NONE;
}

void WTextView_Impl::enableRectangleSelection() {
  cancelSelection();
  mode_ = WTS_RECTANGLE;
}

void WTextView_Impl::enableSliceSelection() {
  cancelSelection();
  mode_ = WTS_SLICE;
}

void WTextView_Impl::enableTextualSelection() {
  cancelSelection();
  mode_ = WTS_TEXTUAL;
}

void WTextView_Impl::appendLineText(std::string* out, const PositionTable::LinePos& line,
                                    int from, int to) {
  for (const PositionTable::ElementPos& e : line.elements) {
    TextElement* el = store_->getElement(e.ref);
    if (!el) continue;
    const char* text;
    int length;
    if (e.width == 0) {
      if (e.x < from || e.x >= to) continue;
      el->getRawText(this, 0, 0, &text, &length);
    } else {
      int a = std::max(from, e.x), b = std::min(to, e.x + e.width);
      if (a >= b) continue;
      if (a == e.x && b == e.x + e.width) el->getRawText(this, 0, TextElement::kWholeWidth, &text, &length);
      else el->getRawText(this, a - e.x, b - a, &text, &length);
    }
    out->append(text, length);
  }
}

std::string WTextView_Impl::selectionText() {
  std::string out;
  if (!hasSelection_ || !table_) return out;
  int first, last;
  selectionLines(&first, &last);
  for (int line = first; line <= last; line++) {
    const PositionTable::LinePos* lp = table_->getLine(line);
    if (!lp) break;
    int from, to;
    bool lineEnd;
    selectionSpan(line, &from, &to, &lineEnd);
    appendLineText(&out, *lp, from, to);
    if (lineEnd && lp->end && newlinesInSelection_) out += '\n';
    if (mode_ == WTS_RECTANGLE && line < last) out += '\n';
    if (mode_ == WTS_RECTANGLE || line + 1 >= last) continue;
    // Lines wholly inside the selection are copied straight from the store,
    // without laying them out.
    TextReference stop = getFirstRefOnLine(last);
    lp = table_->getLine(line);
    for (TextReference r = lp->end ? store_->getNextElement(lp->end) : nullptr; r && r != stop;
         r = store_->getNextElement(r)) {
      if (store_->isLineEnd(r)) {
        if (newlinesInSelection_) out += '\n';
        continue;
      }
      const char* text;
      int length;
      store_->getElement(r)->getRawText(this, 0, TextElement::kWholeWidth, &text, &length);
      out.append(text, length);
    }
    line = last - 1;
  }
  return out;
}

char* WTextView_Impl::getSelection() {
  if (!hasSelection_) return nullptr;
  std::string text = selectionText();
  return gen_copyn(text.data(), static_cast<long>(text.size()));
}

bool WTextView_Impl::getSelectionBounds(int* firstLine, int* firstPixel, int* lastLine,
                                        int* lastPixel) {
  if (!hasSelection_) return false;
  SelPoint s = std::min(anchor_, cursor_), e = std::max(anchor_, cursor_);
  *firstLine = s.line, *firstPixel = s.x, *lastLine = e.line, *lastPixel = e.x;
  return true;
}

void WTextView_Impl::getMinSelectionSize(int* width, int* height) {
  *width = minSelWidth_;
  *height = minSelHeight_;
}

int WTextView_Impl::getFirstSelectedLine() {
  return hasSelection_ ? std::min(anchor_, cursor_).line : 0;
}
int WTextView_Impl::getFirstSelectedPixel() {
  return hasSelection_ ? std::min(anchor_, cursor_).x : 0;
}
int WTextView_Impl::getLastSelectedLine() {
  return hasSelection_ ? std::max(anchor_, cursor_).line : 0;
}
int WTextView_Impl::getLastSelectedPixel() {
  return hasSelection_ ? std::max(anchor_, cursor_).x : 0;
}

TextReference WTextView_Impl::refAtPoint(SelPoint p) {
  if (!table_) return nullptr;
  const PositionTable::LinePos* lp = table_->getLine(p.line);
  if (!lp) return nullptr;
  int i = PositionTable::elementAt(*lp, p.x);
  return i < 0 ? lp->end : lp->elements[i].ref;
}

TextReference WTextView_Impl::getFirstSelectedElem() {
  return hasSelection_ ? refAtPoint(std::min(anchor_, cursor_)) : nullptr;
}

TextReference WTextView_Impl::getLastSelectedElem() {
  if (!hasSelection_) return nullptr;
  SelPoint e = std::max(anchor_, cursor_);
  return refAtPoint({e.line, std::max(0, e.x - 1)});
}

void WTextView_Impl::selectLines(int first, int count) {
  if (mode_ != WTS_TEXTUAL || !table_ || first < 1 || count < 0) return;
  if (count == 0) {
    cancelSelection();
  } else {
    int lines = table_->getLineCount();
    setSelection(SelPoint{std::min(first, lines + 1), 0},
                 SelPoint{std::min(first + count, lines + 1), 0});
    if (hasSelection_) offerSelection(false);
  }
  reportSelectionChanged();
}

void WTextView_Impl::selectSpan(int line, int firstPixel, int lastPixel) {
  if (mode_ == WTS_NONE || !table_ || line < 1 || line > table_->getLineCount()) return;
  setSelection(SelPoint{line, firstPixel}, SelPoint{line, lastPixel});
  reportSelectionChanged();
}

void WTextView_Impl::addSelectionChangedListener(SelectionChangedListener* l) {
  if (l && std::find(selectionListeners_.begin(), selectionListeners_.end(), l) ==
               selectionListeners_.end())
    selectionListeners_.push_back(l);
}

void WTextView_Impl::removeSelectionChangedListener(SelectionChangedListener* l) {
  std::erase(selectionListeners_, l);
}

void WTextView_Impl::addGetSelectionListener(GetSelectionListener* l) {
  if (l) getSelectionListeners_.push_back(l);
}

void WTextView_Impl::removeGetSelectionListener(GetSelectionListener* l) {
  std::erase(getSelectionListeners_, l);
}

void WTextView_Impl::reportSelectionChanged() {
  std::vector<SelectionChangedListener*> snapshot = selectionListeners_;
  for (SelectionChangedListener* l : snapshot) l->handleSelectionChanged(this);
}

void WTextView_Impl::offerSelection(bool clipboard) {
  std::string text;
  bool supplied = false;
  for (GetSelectionListener* l : getSelectionListeners_) {
    char* t = l->getSelectionText(this);
    if (!t) continue;
    text = t;
    gen_free(t);
    supplied = true;
    break;
  }
  if (!supplied) text = selectionText();
  (clipboard ? offeredClipboard_ : offeredPrimary_) = text;
  if (getWindow() && XWindowsOn()) selectionOwner_offer(getWindow(), clipboard, text);
}

bool WTextView_Impl::handleSelClear(xinLibSt*) {
  cancelSelection();
  return true;
}

namespace {

// What an incremental searcher sees of a view.
class ViewSearchable : public WTextView::ISearchable {
 public:
  explicit ViewSearchable(WTextView_Impl* view) : view_(view) {}
  char* getSearchText() override { return view_->getText(); }
  void showMatch(int line, int firstPixel, int lastPixel) override {
    view_->selectSpan(line, firstPixel, lastPixel);
    view_->scrollToLine(line, true);
  }

 private:
  WTextView_Impl* view_;
};

}  // namespace

WTextView::ISearchable* WTextView_Impl::getISearchableInterface() {
  if (!searchable_) return nullptr;
  if (!searchable_interface_) searchable_interface_ = std::make_unique<ViewSearchable>(this);
  return searchable_interface_.get();
}
