// The viewer window's arrangement.  Guide positions (the bottom of the text
// area, the top of the bottom pane, each half's edges) are computed here
// from the window size, the two splitters and the minimum sizes: each text
// half at least 20 characters wide, the text area and the bottom pane at
// least 5 lines high.
#include <algorithm>

#include "gui/button.h"
#include "gui/colwind.h"
#include "gui/menu_bar.h"
#include "gui/message_line.h"
#include "gui/mscroll_list.h"
#include "gui/scroll_bar.h"
#include "gui/splitter.h"
#include "gui/static_text.h"
#include "gui/text_field.h"
#include "gui/textview.h"
#include "gui/wgui.h"
#include "viewer/diffviewer_gui.h"

using namespace dv_layout;

namespace {

constexpr int kGap = 4;
constexpr int kMinChars = 20;
constexpr int kMinLines = 5;

void place(WWindowedItem* item, int x, int y, int width, int height) {
  DrawRect r{x, y, std::max(width, 1), std::max(height, 1)};
  if (item->getX() != r.x || item->getY() != r.y || item->getWidth() != r.width ||
      item->getHeight() != r.height)
    item->setGeometry(r);
}

int fieldHeight() { return TextField::preferredHeight(); }
int statusHeight() { return WStaticText::preferredHeight(); }
int toolbarBottom() { return WMenuBar::preferredHeight() + kToolbarHeight + 2 * kGap; }

}  // namespace

void DiffViewer_GUI::layout(int width, int height) {
  if (!t_version_right || laying_) return;  // still being built
  laying_ = true;
  if (width_ > 0 && height_ > 0 && view_splitter->position() > 0) {
    int span = width_ - kBar - 2 * kEdge;
    if (span > 0) splitShare_ = double(view_splitter->position() - kEdge) / span;
    bottomHeight_ = height_ - comment_splitter->position();
  }
  width_ = width, height_ = height;

  int menuHeight = WMenuBar::preferredHeight();
  place(menubar, 0, 0, width, menuHeight);
  place(toolbar, kEdge, menuHeight + kGap, width - 2 * kEdge, kToolbarHeight);
  toolbar->layout();
  int statusTop = height - statusHeight();
  place(status, kEdge, statusTop, width - 2 * kEdge, statusHeight());

  // The comment splitter divides the text area from the field row and the
  // bottom pane; it keeps the bottom pane's height while the window grows.
  int top = toolbarBottom();
  int belowMin = fieldHeight() + 3 * kGap + kMinLines * font_h + filelist->getHeaderHeight();
  comment_splitter->setArea(top, statusTop - kGap);
  comment_splitter->setMinimums(kMinLines * font_h + kBar, belowMin);
  place(comment_splitter, 0, comment_splitter->position(), width, WSplitter::kThickness);
  comment_splitter->setPosition(height - bottomHeight_);
  int splitY = comment_splitter->position();

  layoutTextArea(top, splitY, width);
  int fieldY = splitY + WSplitter::kThickness + kGap / 2;
  layoutFieldRow(fieldY, width);
  layoutBottomPane(fieldY + fieldHeight() + kGap, statusTop - kGap, width);
  laying_ = false;
}

void DiffViewer_GUI::layoutTextArea(int top, int bottom, int width) {
  int right = width - kBar - kEdge;
  view_splitter->setArea(kEdge, right);
  view_splitter->setMinimums(gutterWidth_[0] + kMinChars * font_n,
                             gutterWidth_[1] + kMinChars * font_n);
  place(view_splitter, view_splitter->position(), top, WSplitter::kThickness, bottom - top);
  view_splitter->setPosition(kEdge + int(splitShare_ * (right - kEdge)));
  int split = view_splitter->position();
  int textHeight = bottom - top - kBar;

  struct Half {
    WTextView *gutter, *view;
    WScrollBar* bar;
    int x0, x1, gutterWidth;
  };
  Half halves[2] = {
      {lineno_left, view_left, scrollbar_left, kEdge, split, gutterWidth_[0]},
      {lineno_right, view_right, scrollbar_right, split + WSplitter::kThickness, right,
       gutterWidth_[1]},
  };
  for (const Half& h : halves) {
    int textX = h.x0 + h.gutterWidth;
    place(h.gutter, h.x0, top, h.gutterWidth, textHeight);
    place(h.view, textX, top, h.x1 - textX, textHeight);
    place(h.bar, textX, top + textHeight, h.x1 - textX, kBar);
  }
  place(view_scrollbar, right, top, kBar, textHeight);
}

void DiffViewer_GUI::layoutFieldRow(int y, int width) {
  int split = view_splitter->position();
  layoutHalfFields(false, kEdge, split, y);
  layoutHalfFields(true, split + WSplitter::kThickness, width - kEdge, y);
}

// From the left: the name field, then "File on disk" or the "Version"
// label with the version field, then the spin buttons at the half's edge.
void DiffViewer_GUI::layoutHalfFields(bool right, int x0, int x1, int y) {
  TextField* name = right ? tf_filename_right : tf_filename_left;
  WStaticText* label = right ? txt_version_right : txt_version_left;
  TextField* version = right ? tf_version_right : tf_version_left;
  WStaticText* onDisk = right ? t_version_right : t_version_left;
  WButtonSet* spin = right ? spin_right : spin_left;
  int h = fieldHeight();

  int end = x1;
  if (spin->isShown()) {
    int w = spin->preferredWidth();
    place(spin, x1 - w, y, w, h);
    spin->layout();
    end = x1 - w - kGap;
  }
  if (onDisk->isShown()) {
    int w = onDisk->preferredWidth() + 2 * kGap;
    place(onDisk, end - w, y, w, h);
    end -= w + kGap;
  } else {
    int fieldWidth = kVersionChars * font_n + 2 * TextField::kMargin;
    place(version, end - fieldWidth, y, fieldWidth, h);
    end -= fieldWidth + kGap;
    int w = label->preferredWidth() + kGap;
    place(label, end - w, y, w, h);
    end -= w + kGap;
  }
  place(name, x0, y, end - x0, h);
}

void DiffViewer_GUI::layoutBottomPane(int top, int bottom, int width) {
  int split = view_splitter->position();
  place(filelist, kEdge, top, split - kEdge - 2, bottom - top);
  int x0 = split + WSplitter::kThickness;
  int paneWidth = width - kEdge - x0;
  place(view_comments, x0, top, paneWidth - kBar, bottom - top - kBar);
  place(vscrollbar_comments, x0 + paneWidth - kBar, top, kBar, bottom - top - kBar);
  place(hscrollbar_comments, x0, bottom - kBar, paneWidth - kBar, kBar);
}

void DiffViewer_GUI::setGutterWidth(bool right, int width) {
  if (gutterWidth_[right] == width) return;
  gutterWidth_[right] = width;
  if (window) layout(width_, height_);
}

void DiffViewer_GUI::showFileOnDisk(bool right, bool onDisk) {
  WStaticText* text = right ? t_version_right : t_version_left;
  WStaticText* label = right ? txt_version_right : txt_version_left;
  TextField* version = right ? tf_version_right : tf_version_left;
  WButtonSet* spin = right ? spin_right : spin_left;
  if (onDisk) {
    text->setText("File on disk");
    text->show(), label->hide(), version->hide(), spin->hide();
  } else {
    text->setText("");
    text->hide(), label->show(), version->show(), spin->show();
  }
  if (window) layout(width_, height_);
}

void DiffViewer_GUI::showComments(bool shown) {
  for (WWindowedItem* item :
       {static_cast<WWindowedItem*>(view_comments), static_cast<WWindowedItem*>(vscrollbar_comments),
        static_cast<WWindowedItem*>(hscrollbar_comments)}) {
    if (shown) item->show();
    else item->hide();
  }
}
