// Recolouring ranges of lines, with the old colours saved per element so a
// highlight can be taken back (the current difference is shown by
// recolouring its lines' backgrounds).
#include "gui/core/pixels.h"
#include "gui/text/browser.h"
#include "gui/text/textview.h"

void SimpleBrowser::changeSomeColor(int first, int last, long colour, bool foreground, bool save,
                                    bool revert) {
  std::map<TextElement*, long>& saved = foreground ? savedForeground_ : savedBackground_;
  bool changed = false;
  int line = 1;
  for (TextReference r = store_->getFirstElement(); r; r = store_->getNextElement(r)) {
    if (store_->isLineEnd(r)) {
      if (line == last) break;
      line++;
      continue;
    }
    TextElement* el = store_->getElement(r);
    if (!el || line < first || line > last) continue;
    long current = el->getColor(view_, foreground);
    if (current == TextElement::getNoSuchColor()) continue;
    long wanted = colour;
    if (revert) {
      auto it = saved.find(el);
      wanted = it != saved.end() ? it->second : current;
    }
    if (current == wanted) continue;
    if (save) saved[el] = current;
    else saved.erase(el);
    if (wanted == TextElement::getNoSuchColor()) continue;
    el->changeColor(view_, wanted, foreground);
    changed = true;
  }
  if (changed) view_->invalidate();
}

void SimpleBrowser::changeBackgroundColor(int firstLine, int lastLine, long colour, bool save) {
  changeSomeColor(firstLine, lastLine, resolveBackground(colour), false, save, false);
}

void SimpleBrowser::changeForegroundColor(int firstLine, int lastLine, long colour, bool save) {
  changeSomeColor(firstLine, lastLine, colour, true, save, false);
}

void SimpleBrowser::revertColor(int firstLine, int lastLine, bool foreground) {
  changeSomeColor(firstLine, lastLine, 0, foreground, false, true);
}

void SimpleBrowser::clearReversions() {
  savedForeground_.clear();
  savedBackground_.clear();
}

void SimpleBrowser::setReadOnlyBackground(bool on) {
  readOnlyBackground_ = on;
  long colour = on ? static_cast<long>(control_pixel)
                   : static_cast<long>(view_->getBackgroundPixel());
  changeSomeColor(1, view_->getLineCount(), colour, false, false, false);
  view_->setReadOnlyBackground(on);
}
