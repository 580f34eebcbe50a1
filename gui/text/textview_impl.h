// The text view's implementation, private to the toolkit.  Its painting,
// key and mouse handling are reachable without a display (paintArea,
// processKey, processMouse), so they can be exercised on a view that has
// no window.
#pragma once

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "gui/loop/wtimer.h"
#include "gui/text/position_table.h"
#include "gui/text/textview.h"

class TextPainter;

class WTextView_Impl : public WTextView, public WTimerHandler {
 public:
  WTextView_Impl(WWindowedItem* parent, DrawRect placement, const char* name);
  ~WTextView_Impl() override;

  // ---- WTextView ----------------------------------------------------------
  void setTextStore(TextStore* store) override;
  TextStore* getTextStore() override { return store_; }
  void setZoneLimit(int lines) override;
  int getZoneLimit() override { return zoneLimit_; }
  void setUserData(void* data) override { userData_ = data; }
  void* getUserData() override { return userData_; }
  void disableSelection() override;
  void enableRectangleSelection() override;
  void enableSliceSelection() override;
  void enableTextualSelection() override;
  void cancelSelection() override;
  void setISearchable(bool on) override { searchable_ = on; }
  ISearchable* getISearchableInterface() override;
  ISearcher* getISearcher() override { return searcher_; }
  char* getText() override;
  void setNewlinesInSelection(bool on) override { newlinesInSelection_ = on; }
  char* getSelection() override;
  bool getSelectionBounds(int* firstLine, int* firstPixel, int* lastLine,
                          int* lastPixel) override;
  void getMinSelectionSize(int* width, int* height) override;
  void setMinSelectionWidth(int pixels) override { minSelWidth_ = pixels; }
  void setMinSelectionHeight(int pixels) override { minSelHeight_ = pixels; }
  void addSelectionChangedListener(SelectionChangedListener* l) override;
  void removeSelectionChangedListener(SelectionChangedListener* l) override;
  void selectLines(int first, int count) override;
  void scrollToLine(int line, bool centre) override;
  TextReference getFirstRefOnLine(int line) override;
  int getLineAt(int y) override;
  int getLinePosition(int line) override;
  long getContentHeight() override;
  int getFirstLine() override;
  int getLastLine() override;
  int getLineCount() override;
  int getFirstSelectedLine() override;
  TextReference getFirstSelectedElem() override;
  int getFirstSelectedPixel() override;
  int getLastSelectedLine() override;
  TextReference getLastSelectedElem() override;
  int getLastSelectedPixel() override;
  bool getPositionOf(TextReference ref, int* line, int* x) override;
  TextReference getRefAt(int x, int y) override;
  int getPartialLineWidth() override;
  void setTabStop(int pixels) override;
  int getTabStop() override { return tabStop_; }
  void setMinLineHeight(int pixels) override;
  void setScrollLineHeight(int pixels) override;
  int getAvgLineHeight() override;
  void setReadOnlyBackground(bool on) override;
  void addKeyListener(KeyListener* l) override;
  void removeKeyListener(KeyListener* l) override;
  void addMouseListener(MouseListener* l) override;
  void removeMouseListener(MouseListener* l) override;
  void setMaxMouseClicks(int clicks) override { maxClicks_ = clicks; }
  int getClicks() override { return clicks_; }
  void setDirectionsUseShift(bool on) override { directionsUseShift_ = on; }
  void addGetSelectionListener(GetSelectionListener* l) override;
  void removeGetSelectionListener(GetSelectionListener* l) override;

  const TextMetrics& getMetrics() override { return *metrics_; }
  void setMetrics(const TextMetrics* metrics) override;
  Pixel getBackgroundPixel() override { return backgroundPixel_; }
  void refreshBackgroundPixel() override;
  void setISearcher(ISearcher* searcher) override { searcher_ = searcher; }
  long getScrollX() override { return scrollX_; }
  long getScrollY() override { return scrollY_; }
  long getPaintCount() override { return paintCount_; }

  // ---- TextChangeListener -------------------------------------------------
  void handleTextChange(TextStore* store) override;
  void handleAddedText(TextStore* store, TextReference ref) override;
  void handleChangedText(TextStore* store, TextReference ref) override;
  void handleRemovedText(TextStore* store, TextReference ref, TextReference previous) override;
  void handleDisconnectTextChange(TextStore* store) override;

  // ---- Scrollee -----------------------------------------------------------
  void setHScroller(Scroller* scroller) override;
  void setVScroller(Scroller* scroller) override;
  Scroller* getHScroller() override { return hScroller_; }
  Scroller* getVScroller() override { return vScroller_; }
  void handleHScroll(long position) override;
  void handleVScroll(long position) override;
  bool getVisible(int direction) override;
  long getMinScroll(int direction) override;
  long getMaxScroll(int direction) override;
  long getPixStep(int direction) override;
  long getLineStep(int direction) override;
  long getPageStep(int direction) override;

  // ---- item handlers ------------------------------------------------------
  bool handleExpose(int x, int y, int width, int height) override;
  bool handleConfigure(int width, int height) override;
  bool handleKey(xinLibSt* event) override;
  bool handleMousePress(xinLibSt* event) override;
  bool handleMouseMotion(xinLibSt* event) override;
  bool handleMouseRelease(xinLibSt* event) override;
  bool handleSelClear(xinLibSt* event) override;

  // ---- reachable without a display ----------------------------------------
  // Paints the window area `area` (window coordinates).
  void paintArea(TextPainter* painter, DrawRect area);
  // A key; true when something consumed it.
  bool processKey(int code, unsigned state, const char* chars, int nchars);
  // A mouse event in window coordinates (action 1 press, 0 motion, -1 release).
  void processMouse(int action, int x, int y, int button, int clicks, unsigned state);
  // Selects pixels firstPixel..lastPixel of one line (a search match).
  void selectSpan(int line, int firstPixel, int lastPixel);
  // The view's size without a window (a window reports its own).
  void setViewSize(int width, int height);
  PositionTable* getPositionTable() { return table_.get(); }
  const std::string& getName() const { return name_; }
  WTextSelectionMode getSelectionMode() const { return mode_; }
  bool hasSelection() const { return hasSelection_; }
  // The text most recently offered as PRIMARY / CLIPBOARD (for tests and
  // for the X selection owner).
  const std::string& offeredPrimary() const { return offeredPrimary_; }
  const std::string& offeredClipboard() const { return offeredClipboard_; }

 private:
  // A point of a selection: a line and a pixel from the line's start.
  struct SelPoint {
    int line, x;
  };
  friend bool operator<(SelPoint a, SelPoint b) {
    return a.line != b.line ? a.line < b.line : a.x < b.x;
  }

  void contentChanged();
  void reconfigureScrollers();
  int viewWidth() const;
  int viewHeight() const;
  void dirtyAll();

  // Selection model.
  SelPoint snapPoint(int line, int x, int wordSplit);  // 0 char, -1/1 word start/end
  SelPoint pointAt(int wx, int wy);                       // window coordinates
  void selectionSpan(int line, int* from, int* to, bool* lineEnd);
  void selectionLines(int* first, int* last);
  void setSelection(SelPoint anchor, SelPoint cursor);
  void reportSelectionChanged();
  void offerSelection(bool clipboard);
  void appendLineText(std::string* out, const PositionTable::LinePos& line, int from, int to);
  TextReference refAtPoint(SelPoint p);
  std::string selectionText();

  // Painting.
  void paintLine(TextPainter* painter, const PositionTable::LinePos& line, int lineNo,
                 DrawRect area);
  void paintElement(TextPainter* painter, const PositionTable::LinePos& line, size_t index,
                    int lineNo, DrawRect area, int selFrom, int selTo);

  // Input.
  bool directionKey(int code, unsigned state);
  void pressed(int x, int y, int button, int clicks, unsigned state);
  void dragTo(int x, int y);
  void released(int x, int y, int button);
  void handleTimer(WTimer* timer) override;
  void notifyMouseListeners(int action, int x, int y, int button, int clicks, unsigned state);

  TextStore* store_ = nullptr;
  std::unique_ptr<PositionTable> table_;
  const TextMetrics* metrics_;
  std::string name_;
  void* userData_ = nullptr;
  Pixel backgroundPixel_;
  bool readOnlyBackground_ = false;

  int tabStop_ = 40;
  int minLineHeight_ = 10;
  int scrollLineHeight_ = 10;
  int zoneLimit_ = 0x1000000;

  Scroller* hScroller_ = nullptr;
  Scroller* vScroller_ = nullptr;
  long scrollX_ = 0, scrollY_ = 0;

  WTextSelectionMode mode_ = WTS_TEXTUAL;
  bool hasSelection_ = false;
  SelPoint anchor_{0, 0}, cursor_{0, 0};
  bool newlinesInSelection_ = true;
  int minSelWidth_ = 0, minSelHeight_ = 0;
  std::string offeredPrimary_, offeredClipboard_;

  bool searchable_ = false;
  ISearcher* searcher_ = nullptr;
  std::unique_ptr<ISearchable> searchable_interface_;

  std::vector<KeyListener*> keyListeners_;
  std::vector<MouseListener*> mouseListeners_;
  std::vector<SelectionChangedListener*> selectionListeners_;
  std::vector<GetSelectionListener*> getSelectionListeners_;

  int maxClicks_ = 2;
  int clicks_ = 0;
  bool directionsUseShift_ = false;
  // Dragging: where the press was, whether a drag is under way, the last
  // pointer position (for scrolling while it is outside the view).
  bool buttonDown_ = false;
  bool dragging_ = false;
  int pressX_ = 0, pressY_ = 0;
  int pointerX_ = 0, pointerY_ = 0;
  std::unique_ptr<WTimer> dragTimer_;
  long paintCount_ = 0;
};
