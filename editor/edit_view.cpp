// What an editor window shows: each line as text with the selection and a
// block caret drawn in, tabs as spaces to the next stop of eight, the
// lines of the window's differences on the difference colour; the layout
// of the view and its bars; keeping the caret in view; the published state.
#include <algorithm>
#include <cstdio>
#include <string>

#include "diff/diff.h"
#include "editor/edit_window.h"
#include "gui/core/colwind.h"
#include "gui/core/fonts.h"
#include "gui/core/pixels.h"
#include "gui/core/window_state.h"
#include "gui/text/scroll_bar.h"
#include "gui/text/text_elements.h"
#include "gui/text/text_metrics.h"
#include "gui/text/textview.h"
#include "text/file.h"

namespace {

constexpr int kBar = 14;
constexpr int kMargin = 2;
constexpr int kTabStop = 8;

bool charStart(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

long px(unsigned long pixel) { return static_cast<long>(pixel); }

// The shown text of a line (tabs expanded, one blank added for a caret or
// a selected line end) and where each byte of the line starts in it.
void showLine(const std::string& text, std::string* shown, std::vector<long>* at) {
  shown->clear();
  at->assign(text.size() + 1, 0);
  long cell = 0;
  for (size_t i = 0; i < text.size(); i++) {
    (*at)[i] = static_cast<long>(shown->size());
    if (text[i] == '\t') {
      do shown->push_back(' '), cell++; while (cell % kTabStop);
      continue;
    }
    shown->push_back(text[i]);
    if (charStart(text[i])) cell++;
  }
  (*at)[text.size()] = static_cast<long>(shown->size());
  shown->push_back(' ');
}

// The colours of a stretch: 0 plain, 1 selected, 2 the caret.
void addRun(RowContents& out, long from, long to, int style, long bg) {
  if (to <= from) return;
  long fg = px(fg_pixel);
  if (style == 1) fg = px(selectreverse_pixel), bg = px(select_pixel);
  if (style == 2) std::swap(fg, bg);
  out.elements.push_back(std::make_unique<ColorText>(fg, bg, VF_TEXT, out.text.data() + from,
                                                     static_cast<int>(to - from)));
}

// The start of the text, for scripts that check what a window holds:
// "text=" and the first lines, each line end written as "\n".
void appendText(const EditBuffer& b, std::string* state) {
  constexpr size_t kShown = 2000;
  *state += "text=";
  size_t start = state->size();
  for (long n = 1; n <= b.lineCount() && state->size() - start < kShown; n++) {
    *state += b.text(n);
    *state += "\\n";
  }
  *state += "\n";
}

}  // namespace

long edit_CellOf(const std::string& text, long col) {
  long cell = 0;
  for (long i = 0; i < col && i < static_cast<long>(text.size()); i++) {
    if (text[i] == '\t') cell = (cell / kTabStop + 1) * kTabStop;
    else if (charStart(text[i])) cell++;
  }
  return cell;
}

long edit_ColAtCell(const std::string& text, long cell) {
  long at = 0;
  for (long i = 0; i < static_cast<long>(text.size()); i++) {
    if (!charStart(text[i])) continue;
    if (at >= cell) return i;
    long next = text[i] == '\t' ? (at / kTabStop + 1) * kTabStop : at + 1;
    if (cell < next) return cell - at <= next - cell ? i : i + 1;
    at = next;
  }
  return static_cast<long>(text.size());
}

int EditRows::rowCount() { return static_cast<int>(edit_->buffer().rowCount()); }

int EditRows::rowHeight(int) {
  if (height_ == 0) {
    ColorText sample(px(fg_pixel), px(bg_pixel), VF_TEXT, "X", 1);
    height_ = std::max(1, sample.getHeight(edit_->view));
  }
  return height_;
}

unsigned long EditRows::background(int row) {
  ColorInfo* colors = edit_->colors;
  int lo = 0, hi = diff_RangeCount(colors) - 1, found = -1;
  while (lo <= hi) {  // the last range starting at or before the row
    int mid = (lo + hi) / 2;
    if (diff_GetRange(colors, mid)->start <= row) found = mid, lo = mid + 1;
    else hi = mid - 1;
  }
  for (int k = found; k >= 0; k--) {
    RangeInfo* r = diff_GetRange(colors, k);
    if (row < r->end) return control_pixel;
    if (r->end > r->start) break;
  }
  return edit_->view->getBackgroundPixel();
}

void EditRows::buildRow(int row, RowContents& out) {
  EditBuffer& b = edit_->buffer();
  std::string text = b.text(row);
  std::vector<long> at;
  showLine(text, &out.text, &at);
  long bg = px(background(row)), len = static_cast<long>(text.size());
  int height = rowHeight(row);
  long selFrom = len + 2, selTo = len + 2;
  if (b.hasSelection() && b.selectionStart().line <= row && row <= b.selectionEnd().line) {
    selFrom = b.selectionStart().line == row ? b.selectionStart().col : 0;
    selTo = b.selectionEnd().line == row ? b.selectionEnd().col : len + 1;
  }
  // The caret shows where typing goes; a selection shows it well enough.
  long caret = b.caret().line == row && !b.hasSelection() ? b.caret().col : len + 2;
  out.elements.push_back(std::make_unique<ColorBox>(bg, kMargin, height));
  // Runs of characters in one style; the caret is a run of its own and the
  // blank after the text is shown only as the caret or a selected line end.
  auto styleAt = [&](long i) { return i == caret ? 2 : (i >= selFrom && i < selTo) ? 1 : 0; };
  auto nextChar = [&](long i) {
    do i++; while (i < len && !charStart(text[i]));
    return i;
  };
  auto shownAt = [&](long i) { return i <= len ? at[i] : at[len] + 1; };
  for (long i = 0; i <= len;) {
    int style = styleAt(i);
    if (i == len && style == 0) break;
    long j = nextChar(i);
    while (style != 2 && j <= len && styleAt(j) == style && !(j == len && style == 0))
      j = nextChar(j);
    addRun(out, shownAt(i), shownAt(j), style, bg);
    i = j;
  }
  if (out.elements.size() == 1)
    out.elements.push_back(std::make_unique<ColorText>(px(fg_pixel), bg, VF_TEXT, "", 0));
  out.elements.push_back(std::make_unique<FakeBreak>());
  out.elements.push_back(std::make_unique<ColorBox>(bg, font_n / 2, height));
  if (bg != px(edit_->view->getBackgroundPixel()))
    out.elements.push_back(std::make_unique<ColorLine>(bg, height));
}

void edit_Layout(Edit* edit, DrawRect area) {
  int textWidth = std::max(1, area.width - kBar), textHeight = std::max(1, area.height - kBar);
  edit->view->setGeometry(DrawRect{area.x, area.y, textWidth, textHeight});
  edit->vbar->setGeometry(DrawRect{area.x + textWidth, area.y, kBar, textHeight});
  edit->hbar->setGeometry(DrawRect{area.x, area.y + textHeight, textWidth, kBar});
}

void edit_RevealCaret(Edit* edit) {
  EditBuffer& b = edit->buffer();
  WTextView* v = edit->view;
  int lineHeight = std::max(1, edit->rows->rowHeight(1));
  long top = v->getScrollY() / lineHeight + 1;
  long visible = std::max(1, v->getHeight() / lineHeight);
  long line = b.caret().line;
  if (line < top) edit->vbar->scrollTo((line - 1) * lineHeight);
  else if (line >= top + visible) edit->vbar->scrollTo((line - visible) * lineHeight);
  long x = kMargin + edit_CellOf(b.text(line), b.caret().col) * font_n;
  long left = v->getScrollX(), width = v->getWidth();
  if (x < left) edit->hbar->scrollTo(std::max(0L, x - width / 4));
  else if (x + 2 * font_n > left + width) edit->hbar->scrollTo(x + 2 * font_n - width + width / 4);
}

EditPos edit_PosAt(Edit* edit, int x, int y) {
  EditBuffer& b = edit->buffer();
  int lineHeight = std::max(1, edit->rows->rowHeight(1));
  long line = (y + edit->view->getScrollY()) / lineHeight + 1;
  line = std::clamp(line, 1L, b.rowCount());
  long cell = (x + edit->view->getScrollX() - kMargin + font_n / 2) / std::max(1, font_n);
  return EditPos{line, edit_ColAtCell(b.text(line), std::max(0L, cell))};
}

void edit_Publish(Edit* edit) {
  EditBuffer& b = edit->buffer();
  file* f = b.getFile();
  char numbers[200];
  std::snprintf(numbers, sizeof numbers,
                "lines=%ld\ncaret=%ld,%ld\nselection=%ld,%ld-%ld,%ld\nmodified=%d\nlocked=%d\n"
                "ranges=%d\n",
                b.lineCount(), b.caret().line, b.caret().col, b.selectionStart().line,
                b.selectionStart().col, b.selectionEnd().line, b.selectionEnd().col,
                (f->flags & FILE_MODIFIED) ? 1 : 0, b.isLocked() ? 1 : 0,
                diff_RangeCount(edit->colors));
  std::string state = "label=";
  state += edit->label;
  state += "\nfile=";
  state += f->name ? f->name : "";
  state += "\n";
  state += numbers;
  appendText(b, &state);
  if (!edit->embedded) cwPublishState(edit->window, state.c_str());
}

namespace {
int batchDepth = 0;
}  // namespace

void edit_BeginBatch() { batchDepth++; }

void edit_EndBatch() {
  if (batchDepth == 0 || --batchDepth > 0) return;
  for (Edit* e : edit_AllWindows()) {
    if (!e->stale) continue;
    e->stale = false;
    edit_Refresh(e, 1, e->buffer().rowCount(), true);
    edit_RevealCaret(e);
  }
}

void edit_Refresh(Edit* edit, long first, long last, bool linesMoved) {
  if (!edit->store) return;
  if (batchDepth > 0 && !edit->embedded) {
    edit->stale = true;  // shown once the batch ends
    return;
  }
  if (linesMoved) edit->store->reset();
  else edit->store->rowsChanged(static_cast<int>(first), static_cast<int>(last));
  edit_Publish(edit);
}
