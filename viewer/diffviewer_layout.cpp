// The viewer window's arrangement, as rules for the toolkit's placer.  The
// guide lines mark the bottom of the text area (lnViewsVMax), of the field
// row (lnFieldsVMax) and of the bottom pane (lnBottomPaneVMax), the right
// edges of the two halves (lnLeftViewHMax, lnRightViewHMax) and the
// ranges the two splitters move in (vs_ispare..vs_spare across,
// cs_ispare..cs_spare down).  Each text half is at least 20 characters
// wide; the text area and the bottom pane are at least 5 lines high.
#include <algorithm>

#include "gui/core/colwind.h"
#include "gui/core/fonts.h"
#include "gui/lists/mscroll_list.h"
#include "gui/menus/menu_bar.h"
#include "gui/text/scroll_bar.h"
#include "gui/text/textview.h"
#include "gui/widgets/button.h"
#include "gui/widgets/message_line.h"
#include "gui/widgets/splitter.h"
#include "gui/widgets/static_text.h"
#include "gui/widgets/text_field.h"
#include "viewer/diffviewer_gui.h"

using namespace dv_layout;

namespace {

constexpr int kMinChars = 20;
constexpr int kMinLines = 5;

const char* const DiffViewer_PosSizeInfo = R"(
menubar.left = window.left
menubar.top = window.top
menubar.right = window.right
menubar.height = $menu
toolbar.left = window.left + 4
toolbar.top = menubar.bottom + 4
toolbar.right = window.right - 4
toolbar.height = 28
status.left = window.left + 4
status.right = window.right - 4
status.bottom = window.bottom
status.height = $status
lnBottomPaneVMax.top = status.top - 4
lnRightViewHMax.left = window.right - 32

# The splitters' ranges.
vs_ispare.left = window.left + 4
vs_spare.left = lnRightViewHMax.left
cs_ispare.top = toolbar.bottom + 4
cs_spare.top = lnBottomPaneVMax.top

# The text area: two halves beside the vertical splitter, above the
# horizontal one; the shared scroll bar and the overview strip at the right.
comment_splitter.left = window.left
comment_splitter.right = window.right
comment_splitter.top = $commentSplit
comment_splitter.height = 6
lnViewsVMax.top = comment_splitter.top
view_splitter.left = $viewSplit
view_splitter.width = 6
view_splitter.top = cs_ispare.top
view_splitter.bottom = lnViewsVMax.top
lnLeftViewHMax.left = view_splitter.left
)";

// Below the two halves (DiffViewer_HalfPosSizeInfo): the shared scroll bar
// and the bottom pane.
const char* const DiffViewer_PanePosSizeInfo = R"(
view_scrollbar.left = lnRightViewHMax.left
view_scrollbar.width = 14
view_scrollbar.top = cs_ispare.top
view_scrollbar.bottom = view_left.bottom
overview.left = view_scrollbar.right
overview.right = window.right - 4
overview.top = cs_ispare.top
overview.bottom = view_left.bottom

lnFieldsVMax.top = tf_filename_left.bottom

# The bottom pane: the comparison list on the left, the version comments
# with their scroll bars on the right.
filelist.left = window.left + 4
filelist.right = lnLeftViewHMax.left - 2
filelist.top = lnFieldsVMax.top + 4
filelist.bottom = lnBottomPaneVMax.top
view_comments.left = view_splitter.right
view_comments.right = lnRightViewHMax.left
view_comments.top = filelist.top
view_comments.bottom = lnBottomPaneVMax.top - 14
vscrollbar_comments.left = view_comments.right
vscrollbar_comments.width = 14
vscrollbar_comments.top = view_comments.top
vscrollbar_comments.bottom = view_comments.bottom
hscrollbar_comments.left = view_comments.left
hscrollbar_comments.right = view_comments.right
hscrollbar_comments.top = view_comments.bottom
hscrollbar_comments.height = 14
)";

// One half of the text area and of the field row, from {start} to {end}:
// the gutter and the text with its scroll bar; then, from the right, the
// spin buttons, the version field, its label or "File on disk" in their
// place, and the name field taking the rest.
const char* const DiffViewer_HalfPosSizeInfo = R"(
lineno_{side}.left = {start}
lineno_{side}.top = cs_ispare.top
lineno_{side}.width = $gutter_{side}
lineno_{side}.bottom = lnViewsVMax.top - 14
view_{side}.left = lineno_{side}.right
view_{side}.top = cs_ispare.top
view_{side}.right = {textEnd}
view_{side}.bottom = lineno_{side}.bottom
scrollbar_{side}.left = view_{side}.left
scrollbar_{side}.right = view_{side}.right
scrollbar_{side}.top = view_{side}.bottom
scrollbar_{side}.height = 14

spin_{side}.right = {end}
spin_{side}.width = $spin_{side}
spin_{side}.top = comment_splitter.bottom + 2
spin_{side}.height = $field
tf_version_{side}.right = spin_{side}.left - 4
tf_version_{side}.width = 9c + 8
tf_version_{side}.top = spin_{side}.top
tf_version_{side}.height = $field
txt_version_{side}.right = tf_version_{side}.left - 4
txt_version_{side}.width = $version_{side}
txt_version_{side}.top = spin_{side}.top
txt_version_{side}.height = $field
t_version_{side}.right = txt_version_{side}.left - 4
t_version_{side}.width = $onDisk_{side}
t_version_{side}.top = spin_{side}.top
t_version_{side}.height = $field
tf_filename_{side}.left = {start}
tf_filename_{side}.right = t_version_{side}.left - 4
tf_filename_{side}.top = spin_{side}.top
tf_filename_{side}.height = $field
)";

}  // namespace

void DiffViewer_GUI::buildPlacer() {
  placer_.addRules(DiffViewer_PosSizeInfo);
  placer_.addRules(DiffViewer_HalfPosSizeInfo, {{"side", "left"},
                                                {"start", "vs_ispare.left"},
                                                {"textEnd", "lnLeftViewHMax.left"},
                                                {"end", "lnLeftViewHMax.left"}});
  placer_.addRules(DiffViewer_HalfPosSizeInfo, {{"side", "right"},
                                                {"start", "view_splitter.right"},
                                                {"textEnd", "lnRightViewHMax.left"},
                                                {"end", "window.right - 4"}});
  placer_.addRules(DiffViewer_PanePosSizeInfo);
  for (const char* name :
       {"menubar", "lineno_left", "view_left", "scrollbar_left", "lineno_right", "view_right",
        "scrollbar_right", "view_splitter", "view_scrollbar", "overview", "status", "view_comments",
        "vscrollbar_comments", "hscrollbar_comments", "tf_filename_left", "tf_filename_right",
        "txt_version_left", "txt_version_right", "tf_version_left", "tf_version_right",
        "comment_splitter", "spin_left", "spin_right", "filelist", "toolbar", "t_version_left",
        "t_version_right"})
    placer_.addWidget(name, widget(name));
}

// The sizes the rules name; the splitters keep their places: the vertical
// one its share of the width, the horizontal one the bottom pane's height.
void DiffViewer_GUI::setPlacerSizes() {
  placer_.setSize("menu", WMenuBar::preferredHeight());
  placer_.setSize("status", WStaticText::preferredHeight());
  placer_.setSize("field", TextField::preferredHeight());
  placer_.setSize("gutter_left", gutterWidth_[0]);
  placer_.setSize("gutter_right", gutterWidth_[1]);
  placer_.setSize("spin_left", spin_left->preferredWidth());
  placer_.setSize("spin_right", spin_right->preferredWidth());
  placer_.setSize("version_left", txt_version_left->preferredWidth());
  placer_.setSize("version_right", txt_version_right->preferredWidth());
  placer_.setSize("onDisk_left", t_version_left->preferredWidth() + 8);
  placer_.setSize("onDisk_right", t_version_right->preferredWidth() + 8);
}

void DiffViewer_GUI::layout(int width, int height) {
  if (!t_version_right || laying_) return;  // still being built
  laying_ = true;
  if (width_ > 0 && height_ > 0) {
    int span = placer_.edgeOf("vs_spare", WPlacer::kLeft) - placer_.edgeOf("vs_ispare", WPlacer::kLeft);
    if (span > 0)
      splitShare_ = double(view_splitter->position() - placer_.edgeOf("vs_ispare", WPlacer::kLeft)) / span;
    bottomHeight_ = height_ - comment_splitter->position();
  }
  width_ = width, height_ = height;
  setPlacerSizes();
  placer_.setSize("commentSplit", height - bottomHeight_);
  placer_.setSize("viewSplit", 0);
  placer_.compute(width, height);

  // The splitters move within the ranges the guides give, leaving the
  // minimum sizes on each side.
  int csStart = placer_.edgeOf("cs_ispare", WPlacer::kTop);
  int csEnd = placer_.edgeOf("cs_spare", WPlacer::kTop);
  int belowMin = TextField::preferredHeight() + 8 + kMinLines * font_h + filelist->getHeaderHeight();
  comment_splitter->setArea(csStart, csEnd);
  comment_splitter->setMinimums(kMinLines * font_h + kBar, belowMin);
  comment_splitter->setPosition(height - bottomHeight_);
  int vsStart = placer_.edgeOf("vs_ispare", WPlacer::kLeft);
  int vsEnd = placer_.edgeOf("vs_spare", WPlacer::kLeft);
  view_splitter->setArea(vsStart, vsEnd);
  view_splitter->setMinimums(gutterWidth_[0] + kMinChars * font_n,
                             gutterWidth_[1] + kMinChars * font_n);
  view_splitter->setPosition(vsStart + int(splitShare_ * (vsEnd - vsStart)));

  placer_.setSize("commentSplit", comment_splitter->position());
  placer_.setSize("viewSplit", view_splitter->position());
  placer_.place(width, height);
  for (WButtonSet* set : {toolbar, spin_left, spin_right}) set->layout();
  laying_ = false;
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
  if (window) layout(width_, height_);  // hidden items were left unplaced
}
