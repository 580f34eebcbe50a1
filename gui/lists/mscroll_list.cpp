// The column list's model side: columns and their widths, rows with cells
// and user data, the selection as rows come and go, and the scroll bar
// that follows the row count.
#include "gui/lists/mscroll_list.h"

#include <algorithm>

#include "gui/core/fonts.h"
#include "gui/core/pixels.h"
#include "gui/text/scroll_bar.h"

MScrollList::MScrollList(WWindowedItem* parent, DrawRect placement, int columns)
    : WWindowedItem(parent, placement, bg_pixel), rowHeight_(std::max(font_h + 2, 4)) {
  columns_.resize(std::max(columns, 1));
  scrollBar_ = new WScrollBar(this, DrawRect{0, 0, kScrollBarWidth, 1}, SCROLL_VERTICAL);
  layoutScrollBar();
  setVScroller(scrollBar_);
}

MScrollList::~MScrollList() {
  if (toggler_) toggler_->listGone();
  setVScroller(nullptr);
  delete scrollBar_;
  for (Row& r : rows_) cleanUp(r);
}

// ---- columns -------------------------------------------------------------------

void MScrollList::setColumnCount(int columns) {
  columns = std::max(columns, 1);
  columns_.resize(columns);
  for (Row& r : rows_) r.cells.resize(columns);
  invalidate();
}

void MScrollList::setColumnWidth(int column, int width) {
  if (column < 0 || column >= getColumnCount()) return;
  columns_[column].width = std::max(width, 0);
  invalidate();
}

int MScrollList::getColumnWidth(int column) const {
  return column >= 0 && column < getColumnCount() ? columns_[column].width : 0;
}

void MScrollList::setColumnAutoWidth(int column, bool on) {
  if (column >= 0 && column < getColumnCount()) columns_[column].autoWidth = on;
}

int MScrollList::contentWidth(int column) const {
  if (column < 0 || column >= getColumnCount()) return 0;
  const DrawFont* font = draw_defaultFont();
  auto width = [font](const std::string& s) {
    return font && !s.empty() ? draw_textWidth(font, s.c_str(), static_cast<int>(s.size())) : 0;
  };
  int widest = header_ ? width(columns_[column].label) : 0;
  for (const Row& r : rows_) widest = std::max(widest, width(r.cells[column].text));
  return widest + 2 * kCellPadding;
}

void MScrollList::recomputeColumnWidths() {
  for (int c = 0; c < getColumnCount(); c++)
    if (columns_[c].autoWidth) columns_[c].width = contentWidth(c);
  invalidate();
}

void MScrollList::setColumnLabel(int column, const char* label) {
  if (column < 0 || column >= getColumnCount()) return;
  columns_[column].label = label ? label : "";
  if (header_) invalidate(DrawRect{0, 0, bodyWidth(), rowHeight_});
}

void MScrollList::showHeader(bool on) {
  if (header_ == on) return;
  header_ = on;
  layoutScrollBar();  // the bar starts below the header
  rowsChanged();
}

std::vector<int> MScrollList::widths() const {
  std::vector<int> w;
  for (const Column& c : columns_) w.push_back(c.width);
  return w;
}

// ---- rows ------------------------------------------------------------------------

bool MScrollList::validCell(int row, int column) const {
  return row >= 0 && row < getRowCount() && column >= 0 && column < getColumnCount();
}

MScrollList::Row MScrollList::makeRow(const char* const* cells, int n, void* userData) const {
  Row r;
  r.cells.resize(columns_.size());
  for (int c = 0; cells && c < n && c < getColumnCount(); c++)
    r.cells[c].text = cells[c] ? cells[c] : "";
  r.userData = userData;
  return r;
}

void MScrollList::cleanUp(Row& row) {
  void* data = row.userData;
  row.userData = nullptr;
  if (data && cleanup_) cleanup_(data);
}

int MScrollList::appendRow(const char* const* cells, int n, void* userData) {
  return insertRow(getRowCount(), cells, n, userData);
}

int MScrollList::insertRow(int row, const char* const* cells, int n, void* userData) {
  if (row < 0 || row > getRowCount()) return -1;
  rows_.insert(rows_.begin() + row, makeRow(cells, n, userData));
  if (selected_ >= row) selected_++;
  rowsChanged();
  return row;
}

bool MScrollList::deleteRow(int row) {
  if (row < 0 || row >= getRowCount()) return false;
  Row gone = std::move(rows_[row]);
  rows_.erase(rows_.begin() + row);
  if (selected_ > row) selected_--;
  else if (selected_ == row) selected_ = std::min(row, getRowCount() - 1);
  rowsChanged();
  cleanUp(gone);  // last: the clean-up may look at the list
  return true;
}

void MScrollList::deleteAllRows() {
  std::vector<Row> gone = std::move(rows_);
  rows_.clear();
  selected_ = -1;
  rowsChanged();
  for (Row& r : gone) cleanUp(r);
}

bool MScrollList::setCellText(int row, int column, const char* text) {
  if (!validCell(row, column)) return false;
  rows_[row].cells[column].text = text ? text : "";
  redrawCell(row, column);
  return true;
}

const char* MScrollList::getCellText(int row, int column) const {
  return validCell(row, column) ? rows_[row].cells[column].text.c_str() : "";
}

bool MScrollList::setCellColours(int row, int column, Pixel fg, Pixel bg) {
  if (!validCell(row, column)) return false;
  Cell& c = rows_[row].cells[column];
  c.coloured = true, c.fg = fg, c.bg = bg;
  redrawCell(row, column);
  return true;
}

bool MScrollList::clearCellColours(int row, int column) {
  if (!validCell(row, column)) return false;
  rows_[row].cells[column].coloured = false;
  redrawCell(row, column);
  return true;
}

bool MScrollList::setUserData(int row, void* userData) {
  if (row < 0 || row >= getRowCount()) return false;
  rows_[row].userData = userData;
  return true;
}

void* MScrollList::getUserData(int row) const {
  return row >= 0 && row < getRowCount() ? rows_[row].userData : nullptr;
}

int MScrollList::findUserData(const void* userData) const {
  for (int r = 0; r < getRowCount(); r++)
    if (rows_[r].userData == userData) return r;
  return -1;
}

// The extent changed: the scroll bar learns it and the rows repaint.
void MScrollList::rowsChanged() {
  if (vScroller_) vScroller_->reconfigure();
  invalidate();
}

// ---- scrolling --------------------------------------------------------------------

void MScrollList::layoutScrollBar() {
  if (!scrollBar_) return;
  int headerHeight = getHeaderHeight();
  scrollBar_->setGeometry(DrawRect{bodyWidth(), headerHeight, kScrollBarWidth,
                                   std::max(getHeight() - headerHeight, 1)});
}

int MScrollList::bodyWidth() const { return std::max(getWidth() - kScrollBarWidth, 0); }

int MScrollList::bodyHeight() const { return std::max(getHeight() - getHeaderHeight(), 0); }

bool MScrollList::handleConfigure(int width, int height) {
  WWindowedItem::handleConfigure(width, height);
  layoutScrollBar();
  rowsChanged();
  return true;
}

void MScrollList::setVScroller(Scroller* scroller) {
  if (scroller == vScroller_) return;
  if (vScroller_) vScroller_->removeScrollee(this);
  vScroller_ = scroller;
  if (vScroller_) vScroller_->addScrollee(this);
}

void MScrollList::handleVScroll(long position) {
  if (position == top_) return;
  top_ = position;
  invalidate(DrawRect{0, getHeaderHeight(), bodyWidth(), bodyHeight()});
}

long MScrollList::getMaxScroll(int direction) {
  return direction == SCROLL_VERTICAL ? static_cast<long>(getRowCount()) * rowHeight_ : 0;
}

long MScrollList::getPageStep(int direction) {
  if (direction != SCROLL_VERTICAL) return 1;
  // Whole rows only, so a page never leaves a row half shown at the top.
  return std::max(bodyHeight() / rowHeight_, 1) * static_cast<long>(rowHeight_);
}

void MScrollList::scrollToRow(int row) {
  long target = static_cast<long>(std::max(row, 0)) * rowHeight_;
  if (vScroller_) vScroller_->scrollTo(target);
  else handleVScroll(target);
}

int MScrollList::firstVisibleRow() const { return static_cast<int>(top_ / rowHeight_); }
