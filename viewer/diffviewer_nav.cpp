// Moving through the differences: the current difference and its colour,
// Previous and Next without wrap-around, scrolling a difference into view,
// Reload, and the keys and clicks of the two text views.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "diff/diff.h"
#include "gui/core/colwind.h"
#include "gui/core/pixels.h"
#include "gui/core/window_state.h"
#include "gui/lists/mscroll_list.h"
#include "gui/text/browser.h"
#include "gui/widgets/button.h"
#include "gui/widgets/static_text.h"
#include "gui/widgets/text_field.h"
#include "viewer/alignment.h"
#include "viewer/diffviewer_impl.h"
#include "viewer/overview_strip.h"
#include "viewer/pane_rows.h"

namespace {

constexpr int kF5 = 0x100 | 0xC2;  // the toolkit's code for the F5 keysym

DiffViewer_Impl* viewerOf(WWindowedItem* item) {
  ColWind* top = item ? item->getTopLevel() : nullptr;
  return dynamic_cast<DiffViewer_Impl*>(top ? DiffViewer_fromWindow(top) : nullptr);
}

}  // namespace

int DiffViewer_Impl::currentIndex() const {
  return comparison_ && comparison_->colors1 ? comparison_->colors1->current : 0;
}

int DiffViewer_Impl::diffCount() const {
  return comparison_ && comparison_->colors1 ? diff_RangeCount(comparison_->colors1) : 0;
}

void DiffViewer_Impl::setRange(int index) {
  if (index < 0 || index >= diffCount() || index == currentIndex()) return;
  colorCurrentDiff(control_pixel);
  comparison_->colors1->current = comparison_->colors2->current = index;
  colorCurrentDiff(highlight_);
  toolbar_Next->setDimmed(index == diffCount() - 1);
  toolbar_Previous->setDimmed(index == 0);
  overview->setCurrent(index);
  publishState();
}

void DiffViewer_Impl::CallEvent(xinLibSt* event) {
  DiffViewer_GUI::CallEvent(event);
  if (event->type == WEV_CONFIGURE) publishState();
}

// Only the file's own lines of the block change colour; filler rows keep
// theirs.  Painting in the difference colour is no highlight at all.
void DiffViewer_Impl::colorCurrentDiff(unsigned long pixel) {
  int index = currentIndex();
  for (int s = 0; s < 2; s++) {
    RangeInfo* r = diff_GetRange(s ? comparison_->colors2 : comparison_->colors1, index);
    if (!r || r->end <= r->start || pixel == control_pixel) {
      panes_[s]->setHighlight(1, 0, pixel);
      continue;
    }
    panes_[s]->setHighlight(r->displayStart, r->displayStart + (r->end - r->start) - 1, pixel);
  }
  if (diff_GetRange(comparison_->colors1, index)) {
    char text[64];
    std::snprintf(text, sizeof text, "Diff # %d / %d", index + 1, diffCount());
    showMessage((text + binaryNote_).c_str());
  }
}

// The current difference's first row goes a third of the way down the
// view, so the lines before it stay in sight.
void DiffViewer_Impl::showCurrentDiff(int row) {
  int count = diffCount();
  int index = currentIndex();
  toolbar_Next->setDimmed(index == (count > 0 ? count - 1 : 0));
  toolbar_Previous->setDimmed(index == 0);
  int target = row;
  if (row == 0) {
    RangeInfo* r = diff_GetRange(comparison_->colors1, index);
    int span = view_left->getLastLine() - view_left->getFirstLine();
    target = r ? std::max(1, r->displayStart - span / 3) : 1;
  }
  view_left->scrollToLine(target, false);
  publishState();
}

void DiffViewer_Impl::gotoRange(int line) {
  int index = align_RangeForLine(comparison_->colors2, line);
  if (index >= 0) setRange(index);
  showCurrentDiff(0);
}

void DiffViewer_Impl::handle_toolbar_Previous() {
  setRange(currentIndex() - 1);
  showCurrentDiff(0);
}

void DiffViewer_Impl::handle_toolbar_Next() {
  setRange(currentIndex() + 1);
  showCurrentDiff(0);
}

void DiffViewer_Impl::handle_toolbar_Reload() {
  int row = view_left->getFirstLine();
  int index = currentIndex();
  if (reloadFile(true, true, false, row)) setRange(index);
}

bool DiffViewer_Impl::handleKey(WTextView* view, int keyCode, unsigned state, const char* chars,
                                int nchars) {
  if (state & WMOD_ALT) return false;
  if (nchars <= 0 || !chars) {
    if (keyCode != kF5) return false;
    handle_toolbar_Reload();
    return true;
  }
  switch (chars[0]) {
    case 8:  // Control+Shift+H
    case 12:  // Control+Shift+L
      if (!(state & WMOD_SHIFT)) break;
      versionCommand(view, chars[0] == 12);
      return true;
    case 15:  // Control+O, with Shift for a new window
      openChooser(!(state & WMOD_SHIFT));
      return true;
    case '-': case '_':
    case 31:  // Control+'_'
      handle_toolbar_Previous();
      return true;
    case '+': case '=':
      handle_toolbar_Next();
      return true;
    case '*':
      showCurrentDiff(0);
      return true;
    default:
      break;
  }
  // Every other key drives the comparison list, as if typed there.
  if (!listKeys_) listKeys_.reset(WTextView::KeyListener::makeKeyListener(filelist));
  return listKeys_->handleKey(view, keyCode, state, chars, nchars);
}

// Button 1 makes the difference under the pointer current and lets the
// view go on (caret, selection); button 3 opens the text views' menu.
bool DiffViewer_Impl::stealEvent(xinLibSt* e, WWindowedItem* item) {
  if (e->type != WEV_MOUSE || e->code != WMOUSE_PRESS) return false;
  DiffViewer_Impl* self = viewerOf(item);
  auto* view = dynamic_cast<WTextView*>(item);
  if (!self || !view || (view != self->view_left && view != self->view_right)) return false;
  int row = view->getLineAt(e->y);
  bool onRow = row > 0 && row <= view->getLineCount();
  if (!onRow) row = view->getLastLine();
  if (e->button == 1) {
    self->setRange(self->inVirtualRange(view, row));
    self->publishState();
    return false;
  }
  if (e->button != 3) return false;
  TextElement* element = nullptr;
  if (onRow) {
    TextReference ref = view->getRefAt(e->x, e->y);
    element = ref && view->getTextStore() ? view->getTextStore()->getElement(ref) : nullptr;
  }
  self->popupTextMenu(view, row, element, e);
  return true;
}

namespace {

std::string rect(const WWindowedItem* item) {
  return std::to_string(item->getX()) + " " + std::to_string(item->getY()) + " " +
         std::to_string(item->getWidth()) + " " + std::to_string(item->getHeight());
}

}  // namespace

// The window's state for scripts and tests (see gui/window_state.h): the
// current difference (1-based, 0 for none), the count, the message line,
// the options, the first row shown, the comparison list's rows (1-based),
// the dimming of Previous and Next, where the views and the list are
// inside the window, each side's version row ("leftversion", "leftspin",
// "leftspinrect", the same for the right) and, while the comment pane
// shows a check-in, its head line and the comment's first line
// ("comments=1.2) alice 2026/12/01 10:00:00 | Fixed the parser").
void DiffViewer_Impl::publishState() {
  if (!window || !comparison_ || !filelist) return;
  int count = diffCount();
  int shown = -1;
  for (int r = 0; r < filelist->getRowCount(); r++)
    if (isMSLCellOn(filelist, r, 0)) shown = r;
  std::string text =
      "current=" + std::to_string(count ? currentIndex() + 1 : 0) +
      "\ncount=" + std::to_string(count) + "\nmessage=" + message_ +
      "\noptions=" + std::to_string(options_) +
      "\nfirstrow=" + std::to_string(view_left->getFirstLine()) +
      "\nlistrows=" + std::to_string(filelist->getRowCount()) +
      "\nshownrow=" + std::to_string(shown + 1) +
      "\nselectedrow=" + std::to_string(filelist->getSelectedRow() + 1) +
      "\nprevious=" + (toolbar_Previous->isDimmed() ? "dimmed" : "active") +
      "\nnext=" + (toolbar_Next->isDimmed() ? "dimmed" : "active") +
      "\nview_left=" + rect(view_left) + "\nview_right=" + rect(view_right) +
      "\noverview=" + rect(overview) +
      "\nfilelist=" + rect(filelist) + " " + std::to_string(filelist->getRowHeight()) + " " +
      std::to_string(filelist->getHeaderHeight()) + "\npainted=" + (painted_ ? "1" : "0") +
      "\npaintedat=" + std::to_string(paintedAt_) + "\npid=" + std::to_string(getpid()) + "\n";
  text += sideState(false);
  text += sideState(true);
  text += lineChanges_ ? "linechanges=1\n" : "linechanges=0\n";
  text += "comments=";
  text += commentsShown_;
  text += "\n";
  cwPublishState(window, text.c_str());
}

// What a side's version row shows: the version field (or "File on disk"),
// whether each spin button can be pressed, and where the pair is.
std::string DiffViewer_Impl::sideState(bool right) {
  WStaticText* onDisk = right ? t_version_right : t_version_left;
  TextField* field = right ? tf_version_right : tf_version_left;
  WButton* previous = right ? spin_right_Previous : spin_left_Previous;
  WButton* next = right ? spin_right_Next : spin_left_Next;
  bool spinShown = (right ? spin_right : spin_left)->isShown();
  auto state = [&](WButton* b) { return !spinShown ? "hidden" : b->isDimmed() ? "dimmed" : "active"; };
  std::string side = right ? "right" : "left";
  std::string text = side + "version=";
  text += onDisk->isShown() ? "File on disk" : field->getText();
  text += "\n" + side + "spin=";
  text += state(previous);
  text += ",";
  text += state(next);
  text += "\n" + side + "spinrect=" + rect(right ? spin_right : spin_left) + "\n";
  return text;
}

void DiffViewer_Impl::notePaints() {
  for (ColWind* w : cwWindowsOfClass(kViewerWindowClass)) {
    auto* v = dynamic_cast<DiffViewer_Impl*>(DiffViewer_fromWindow(w));
    if (v) v->overview->setVisible(v->view_left->getFirstLine(), v->view_left->getLastLine());
    if (!v || v->painted_ || v->view_left->getPaintCount() <= v->paintBase_) continue;
    v->painted_ = true;
    v->paintedAt_ = std::chrono::duration_cast<std::chrono::microseconds>(
                        std::chrono::system_clock::now().time_since_epoch())
                        .count();
    v->publishState();
  }
}
