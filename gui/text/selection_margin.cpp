// Line selection from a margin: the margin's mouse events are turned into
// events at the left edge of the text view, at the top of a line, so the
// text view's own drag selection selects whole lines.
#include "gui/text/selection_margin.h"

#include "gui/text/textview.h"

std::map<WWindowedItem*, SelectionMargin*>* SelectionMargin::margins_ = nullptr;

SelectionMargin::SelectionMargin(WTextView* textView, WTextView* marginView) {
  if (!textView || !marginView || textView == marginView) return;
  text_ = textView;
  margin_ = marginView;
  if (!margins_) margins_ = new std::map<WWindowedItem*, SelectionMargin*>;
  (*margins_)[margin_] = this;
  margin_->setEventStealHook(stealEventHandler);
}

SelectionMargin::~SelectionMargin() {
  if (!margin_ || !margins_) return;
  auto it = margins_->find(margin_);
  // The views may be gone already; a hook left on a live margin view finds
  // no entry and leaves its events alone.
  if (it != margins_->end() && it->second == this) margins_->erase(it);
  if (margins_->empty()) {
    delete margins_;
    margins_ = nullptr;
  }
}

bool SelectionMargin::stealEventHandler(xinLibSt* event, WWindowedItem* item) {
  if (!margins_) return false;
  auto it = margins_->find(item);
  return it != margins_->end() && it->second->handleStolenEvent(event);
}

bool SelectionMargin::handleStolenEvent(xinLibSt* event) {
  if (event->type != WEV_MOUSE) return false;
  xinLibSt copy = *event;
  copy.window = text_->getWindow();
  copy.x = 0;
  if (event->code == WMOUSE_PRESS && event->button == 1) {
    text_->EventParse(&copy);
    int line = text_->getLineAt(event->y);
    if (line >= 1) text_->selectLines(line, 1);
    return true;
  }
  if (event->y >= 0 && event->y < margin_->getHeight()) {
    int line = text_->getLineAt(event->y);
    if (line < 1) {
      copy.y = 0;
    } else if (line < text_->getLineCount()) {
      if (event->code == WMOUSE_MOTION || event->button == 1) line++;
      copy.y = text_->getLinePosition(line) + 1;
    } else {
      copy.y = margin_->getHeight();
    }
  }
  text_->EventParse(&copy);
  return true;
}
