#include "viewer/history_window.h"

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/gen.h"
#include "gui/core/application.h"
#include "gui/core/colwind.h"
#include "gui/core/fonts.h"
#include "gui/core/generated_window.h"
#include "gui/core/pixels.h"
#include "gui/core/window_config.h"
#include "gui/core/window_state.h"
#include "gui/lists/mscroll_list.h"
#include "gui/text/browser.h"
#include "gui/text/scroll_bar.h"
#include "gui/text/textview.h"
#include "gui/widgets/bitmap.h"
#include "gui/widgets/button.h"
#include "gui/widgets/message_line.h"
#include "vc/vc.h"
#include "viewer/check_in_text.h"
#include "viewer/diffviewer.h"

namespace {

constexpr int kWidth = 720, kHeight = 440, kPad = 4;
const DrawRect kSomewhere{0, 0, 10, 10};
const char* const kColumns[] = {"Version", "Date", "User", "Tags", "Comment"};
constexpr int kColumnCount = 5;
// The order each column sorts by; the comment column sorts by version.
const HistoryOrder kOrders[] = {HistoryOrder::version, HistoryOrder::date, HistoryOrder::user,
                                HistoryOrder::tags, HistoryOrder::version};

class HistoryWindow;
std::vector<HistoryWindow*> open;

std::string firstLine(std::string_view text) {
  size_t start = text.find_first_not_of(" \t\r\n");
  if (start == std::string_view::npos) return "";
  text.remove_prefix(start);
  return std::string(text.substr(0, text.find_first_of("\r\n")));
}

std::string joined(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& w : words) {
    if (!text.empty()) text += ' ';
    text += w;
  }
  return text;
}

class HistoryWindow : public WGeneratedWindow {
 public:
  HistoryWindow(const char* file, const History_Info& history);
  ~HistoryWindow() override;
  bool isOpen() const { return window != nullptr; }
  const std::string& file() const { return file_; }
  void refresh(const History_Info& history);

  void CallEvent(xinLibSt* event) override;

 private:
  static HistoryWindow* of(WWindowedItem* item);
  static void onSelect(MScrollList* list, int row);
  static void onClick(MScrollList* list, int row, int column, int clicks, xinLibSt* event);
  static void onDoubleClick(MScrollList* list, int row, int column, int clicks, xinLibSt* e);
  static void onHeader(MScrollList* list, int column);
  static void onButton(WButton* button, const char* command);

  void build();
  void layout(int width, int height);
  void fillRows();
  void sortBy(int column);
  void showComment();
  void mark(int row);
  const History_Info_Item* itemAt(int row) const;
  void compare(const char* older, const char* newer);
  void compareWithPrevious(int row);
  void compareChosen();
  void compareWithDisk();
  void dimButtons();
  void publish();

  std::string file_;
  History_Info history_;
  std::vector<int> order_;  // item index per row
  int sortColumn_ = -1;
  bool descending_ = false;
  int selected_ = -1, marked_ = -1;  // rows
  int previous_ = -1;                // the row selected before the last change
  MScrollList* list_ = nullptr;
  WTextView* commentView_ = nullptr;
  WScrollBar* commentBar_ = nullptr;
  std::unique_ptr<SimpleBrowser> comment_;
  WButtonSet* buttons_ = nullptr;
  WMessageLine* status_ = nullptr;
};

HistoryWindow::HistoryWindow(const char* file, const History_Info& history)
    : WGeneratedWindow("History"), file_(file) {
  char* base = gen_basename(file);
  std::string title = base;
  gen_free(base);
  title += " - History";
  if (!createWindow("History", title.c_str(), kWidth, kHeight)) return;
  build();
  WindowConfig_CreateWindow("History", window);
  layout(window->getWidth(), window->getHeight());
  open.push_back(this);
  refresh(history);
  list_->activateMe();
}

HistoryWindow::~HistoryWindow() {
  comment_.reset();
  open.erase(std::remove(open.begin(), open.end(), this), open.end());
}

void HistoryWindow::build() {
  bitmap_setWindowIcon(window, "VORNEPIC");
  list_ = new MScrollList(window, kSomewhere, kColumnCount);
  for (int c = 0; c < kColumnCount; c++) {
    list_->setColumnLabel(c, kColumns[c]);
    list_->setColumnAutoWidth(c, c < kColumnCount - 1);
  }
  list_->showHeader(true);
  list_->clientData = this;
  list_->setSelectionCallback(onSelect);
  list_->setSingleClickCallback(onClick);
  list_->setDoubleClickCallback(onDoubleClick);
  list_->setHeaderClickCallback(onHeader);
  commentView_ = WTextView::makeWTextView(window, kSomewhere, "history_comment");
  commentBar_ = new WScrollBar(window, kSomewhere, SCROLL_VERTICAL);
  commentView_->setVScroller(commentBar_);
  commentView_->setScrollLineHeight(font_h);
  comment_ = std::make_unique<SimpleBrowser>(commentView_, false);
  comment_->setMargin(2);
  buttons_ = new WButtonSet(window, kSomewhere, WButtonSet::kHorizontal);
  for (const char* label : {"Compare with Previous", "Compare Chosen Two",
                            "Compare with File on Disk", "Close"})
    buttons_->addButton(label);
  buttons_->setCommandHandler(onButton);
  status_ = new WMessageLine(window, kSomewhere);
  status_->attach();
}

// The list over three fifths of the height, the comment below it, the
// buttons and the message line at the bottom.
void HistoryWindow::layout(int width, int height) {
  int lineH = font_h + 6;
  int buttonH = std::max(buttons_->preferredHeight(), lineH);
  int bottom = height - lineH;
  int buttonsTop = bottom - buttonH - kPad;
  int listH = std::max(3 * lineH, (buttonsTop - 3 * kPad) * 3 / 5);
  int inner = width - 2 * kPad;
  list_->setGeometry({kPad, kPad, inner, listH});
  int commentTop = kPad * 2 + listH;
  int commentH = std::max(lineH, buttonsTop - kPad - commentTop);
  int barW = MScrollList::kScrollBarWidth;
  commentView_->setGeometry({kPad, commentTop, inner - barW, commentH});
  commentBar_->setGeometry({kPad + inner - barW, commentTop, barW, commentH});
  buttons_->setGeometry({kPad, buttonsTop, std::min(inner, buttons_->preferredWidth()), buttonH});
  buttons_->layout();
  status_->setGeometry({0, bottom, width, lineH});
  int used = 0;
  for (int c = 0; c < kColumnCount - 1; c++) used += list_->getColumnWidth(c);
  list_->setColumnWidth(kColumnCount - 1, std::max(80, list_->bodyWidth() - used));
}

void HistoryWindow::CallEvent(xinLibSt* event) {
  if (event->type == WEV_CONFIGURE) layout(event->width, event->height);
}

HistoryWindow* HistoryWindow::of(WWindowedItem* item) {
  ColWind* top = item ? item->getTopLevel() : nullptr;
  return dynamic_cast<HistoryWindow*>(WGeneratedWindow::fromWindow(top));
}

// A new history (opened again, or after a check-in) keeps the chosen
// order; the selection goes back to the newest version.
void HistoryWindow::refresh(const History_Info& history) {
  history_ = history;
  order_.resize(history_.items.size());
  for (size_t i = 0; i < order_.size(); i++) order_[i] = static_cast<int>(i);
  if (sortColumn_ >= 0) {
    int column = sortColumn_;
    sortColumn_ = -1;
    descending_ = !descending_;
    sortBy(column);
  }
  marked_ = -1;
  fillRows();
  list_->setSelectedRow(order_.empty() ? -1 : 0);
  onSelect(list_, list_->getSelectedRow());
  previous_ = -1;
  cwSetMsg(window, order_.empty() ? "The history is empty." : "", 0);
  cwRaise(window);
}

void HistoryWindow::fillRows() {
  list_->deleteAllRows();
  for (int index : order_) {
    const History_Info_Item& item = history_.items[index];
    std::string tags = joined(item.tags), comment = firstLine(item.comments);
    const char* cells[] = {item.version.c_str(), item.date.c_str(), item.username.c_str(),
                           tags.c_str(), comment.c_str()};
    list_->appendRow(cells, kColumnCount);
  }
  list_->recomputeColumnWidths();
  layout(window->getWidth(), window->getHeight());
}

// A click on a column's header sorts by it; a second click turns the order.
void HistoryWindow::sortBy(int column) {
  descending_ = column == sortColumn_ ? !descending_ : false;
  sortColumn_ = column;
  HistoryOrder by = kOrders[column];
  bool down = descending_;
  std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
    int c = History_Info_compare(history_.items[a], history_.items[b], by);
    return down ? c > 0 : c < 0;
  });
}

void HistoryWindow::onHeader(MScrollList* list, int column) {
  auto* self = static_cast<HistoryWindow*>(list->clientData);
  const History_Info_Item* chosen = self->itemAt(self->selected_);
  std::string version = chosen ? chosen->version : "";
  self->sortBy(column);
  self->marked_ = -1;
  self->fillRows();
  int row = 0;
  for (int r = 0; r < list->getRowCount(); r++)
    if (self->itemAt(r)->version == version) row = r;
  list->setSelectedRow(list->getRowCount() ? row : -1);
  onSelect(list, list->getSelectedRow());
  self->previous_ = -1;
}

const History_Info_Item* HistoryWindow::itemAt(int row) const {
  if (row < 0 || row >= static_cast<int>(order_.size())) return nullptr;
  return &history_.items[order_[row]];
}

void HistoryWindow::onSelect(MScrollList* list, int row) {
  auto* self = static_cast<HistoryWindow*>(list->clientData);
  if (row != self->selected_) self->previous_ = self->selected_;
  self->selected_ = row;
  self->showComment();
  self->dimButtons();
  self->publish();
}

// Control+click chooses a second version beside the one selected before
// and compares the two at once.  (The list has already selected the
// clicked row.)
void HistoryWindow::onClick(MScrollList* list, int row, int, int, xinLibSt* event) {
  auto* self = static_cast<HistoryWindow*>(list->clientData);
  int before = self->previous_;
  if (event && event->type != WEV_KEY && (event->state & WMOD_CONTROL) && before >= 0 &&
      before != row) {
    self->mark(before);
    self->compareChosen();
  } else if (self->marked_ >= 0) {
    self->mark(-1);
  }
}

void HistoryWindow::onDoubleClick(MScrollList* list, int row, int, int, xinLibSt*) {
  auto* self = static_cast<HistoryWindow*>(list->clientData);
  self->compareWithPrevious(row);
}

void HistoryWindow::mark(int row) {
  if (marked_ >= 0)
    for (int c = 0; c < kColumnCount; c++) list_->clearCellColours(marked_, c);
  marked_ = row;
  if (marked_ >= 0)
    for (int c = 0; c < kColumnCount; c++)
      list_->setCellColours(marked_, c, selectreverse_pixel, select_pixel);
  dimButtons();
  publish();
}

void HistoryWindow::showComment() {
  if (const History_Info_Item* item = itemAt(selected_))
    dv_ShowCheckIn(comment_.get(), item->version, item->username, item->date, item->comments);
  else
    comment_->clear();
}

void HistoryWindow::onButton(WButton* button, const char* command) {
  HistoryWindow* self = of(button);
  if (!self) return;
  std::string c = command;
  if (c == "Compare with Previous") self->compareWithPrevious(self->selected_);
  else if (c == "Compare Chosen Two") self->compareChosen();
  else if (c == "Compare with File on Disk") self->compareWithDisk();
  else if (c == "Close") self->close();
}

// The older version goes on the left; a null newer version is the file on
// disk.  The comparison opens in the last viewer, as a new entry of its
// list.
void HistoryWindow::compare(const char* older, const char* newer) {
  DiffViewer* v = DiffViewer::createDiffViewer(file_.c_str(), older, nullptr, file_.c_str(),
                                               newer, nullptr, true, false, 0);
  if (v) v->raiseWindow();
}

void HistoryWindow::compareWithPrevious(int row) {
  const History_Info_Item* item = itemAt(row);
  if (!item) return;
  char* previous = vc_GetPreviousVersion(file_.c_str(), item->version.c_str());
  if (previous) {
    compare(previous, item->version.c_str());
  } else {
    std::string text = item->version + " is the first version.";
    cwSetMsg(window, text.c_str(), 0);
  }
  gen_free(previous);
}

// The two chosen versions, the older (later in the history, which lists
// the newest first) on the left, however the rows are sorted.
void HistoryWindow::compareChosen() {
  const History_Info_Item* a = itemAt(marked_);
  const History_Info_Item* b = itemAt(selected_);
  if (!a || !b || a == b) return;
  if (a < b) std::swap(a, b);
  compare(a->version.c_str(), b->version.c_str());
}

void HistoryWindow::compareWithDisk() {
  if (const History_Info_Item* item = itemAt(selected_)) compare(item->version.c_str(), nullptr);
}

void HistoryWindow::dimButtons() {
  bool any = itemAt(selected_) != nullptr;
  buttons_->buttonAt(0)->setDimmed(!any);
  buttons_->buttonAt(1)->setDimmed(!any || marked_ < 0 || marked_ == selected_);
  buttons_->buttonAt(2)->setDimmed(!any);
}

void HistoryWindow::publish() {
  const History_Info_Item* chosen = itemAt(selected_);
  const History_Info_Item* marked = itemAt(marked_);
  std::vector<std::string> versions;
  for (int r = 0; r < static_cast<int>(order_.size()); r++) versions.push_back(itemAt(r)->version);
  std::string order = sortColumn_ < 0 ? "" : kColumns[sortColumn_];
  if (descending_) order += " down";
  std::string text;
  auto add = [&text](const char* key, const std::string& value) {
    text += key;
    text += '=';
    text += value;
    text += '\n';
  };
  add("file", file_);
  add("rows", std::to_string(order_.size()));
  add("selected", chosen ? chosen->version : "");
  add("marked", marked ? marked->version : "");
  add("order", order);
  add("versions", joined(versions));
  add("comment", chosen ? firstLine(chosen->comments) : "");
  add("list", std::to_string(list_->getX()) + " " + std::to_string(list_->getY()) + " " +
                  std::to_string(list_->getRowHeight()) + " " +
                  std::to_string(list_->getHeaderHeight()));
  cwPublishState(window, text.c_str());
}

void showHistory(const char* file, const History_Info& history) {
  for (HistoryWindow* w : open)
    if (w->isOpen() && w->file() == file) return w->refresh(history);
  auto* w = new HistoryWindow(file, history);
  if (!w->isOpen()) delete w;
}

}  // namespace

void HistoryWindow_show(const char* file, const History_Info& history) {
  showHistory(file, history);
}

void HistoryWindow_install() {
  vc_SetHistoryBrowser(HistoryWindow_show);
  guiHooks.historyBrowserOpen = [] { return HistoryWindow_count() > 0; };
}

int HistoryWindow_count() { return static_cast<int>(open.size()); }
