// The text view: the toolkit item that shows a text store.  It lays the
// store out through a position table (only the lines it needs), paints the
// elements and the selection, scrolls under Scroller objects (several views
// under one bar move together), keeps a selection that other X clients can
// paste, and hands keys and clicks it does not use to its listeners.
//
// Coordinates: line numbers are 1-based; getLineAt and getLinePosition
// speak the view's window coordinates (the scroll offset applied);
// positions inside the text (getPositionOf, selection pixels) are measured
// from the top left of the text.
#pragma once

#include "gui/core/item.h"
#include "gui/text/scroller.h"
#include "gui/text/text_store.h"

class TextMetrics;
class WTextView;

// Textual: from one point of the text to another; slice: whole lines;
// rectangle: the same columns of a run of lines.
enum WTextSelectionMode {
  WTS_NONE = 0,
  WTS_TEXTUAL = 1,
  WTS_SLICE = 2,
  WTS_RECTANGLE = 3,
};

class WTextView : public WWindowedItem, public TextChangeListener, public Scrollee {
 public:
  class KeyListener {
   public:
    virtual ~KeyListener() = default;
    // True when the key was consumed.  `chars` holds the decoded text.
    virtual bool handleKey(WTextView* view, int keyCode, unsigned state, const char* chars,
                           int nchars) = 0;
    // A listener that turns the key into a toolkit key event (type 8) and
    // passes it to the item's event parser; consumed when the item took it.
    // The caller owns the listener.
    static KeyListener* makeKeyListener(WWindowedItem* item);
  };
  class MouseListener {
   public:
    virtual ~MouseListener() = default;
    // action: 1 press, 0 motion (button 0, clicks 0), -1 release.
    virtual bool handleMouse(WTextView* view, int action, int x, int y, int button,
                             int clicks, unsigned state) = 0;
  };
  class SelectionChangedListener {
   public:
    virtual ~SelectionChangedListener() = default;
    virtual void handleSelectionChanged(WTextView* view) = 0;
  };
  // Asked for the selection's text when another client pastes it; may
  // supply its own text (a new string, freed by the view) or null.
  class GetSelectionListener {
   public:
    virtual ~GetSelectionListener() = default;
    virtual char* getSelectionText(WTextView* view) = 0;
  };
  // The incremental searcher sees keys before the view does.
  class ISearcher {
   public:
    virtual ~ISearcher() = default;
    virtual bool handleKey(WTextView* view, int keyCode, unsigned state, const char* chars,
                           int nchars) = 0;
    virtual void stopSearch(WTextView* view) = 0;
  };
  // What a searcher needs of the view: its text and a way to show a match.
  class ISearchable {
   public:
    virtual ~ISearchable() = default;
    virtual char* getSearchText() = 0;          // new string
    virtual void showMatch(int line, int firstPixel, int lastPixel) = 0;
  };

  // Makes a view as a child of `parent` (null: a view without a window,
  // for layout alone).  `name` is the item's name.
  static WTextView* makeWTextView(WWindowedItem* parent, DrawRect placement,
                                  const char* name);

  ~WTextView() override = default;

  virtual void setTextStore(TextStore* store) = 0;
  virtual TextStore* getTextStore() = 0;
  virtual void setZoneLimit(int lines) = 0;
  virtual int getZoneLimit() = 0;
  virtual void setUserData(void* data) = 0;
  virtual void* getUserData() = 0;
  virtual void disableSelection() = 0;
  virtual void enableRectangleSelection() = 0;
  virtual void enableSliceSelection() = 0;
  virtual void enableTextualSelection() = 0;
  virtual void cancelSelection() = 0;
  virtual void setISearchable(bool on) = 0;
  virtual ISearchable* getISearchableInterface() = 0;
  virtual ISearcher* getISearcher() = 0;
  // The whole text as a new string (the caller frees it).
  virtual char* getText() = 0;
  virtual void setNewlinesInSelection(bool on) = 0;
  // The selected text as a new string, or null when nothing is selected.
  virtual char* getSelection() = 0;
  // First and last selected line and pixel; false without a selection.
  virtual bool getSelectionBounds(int* firstLine, int* firstPixel, int* lastLine,
                                  int* lastPixel) = 0;
  virtual void getMinSelectionSize(int* width, int* height) = 0;
  virtual void setMinSelectionWidth(int pixels) = 0;
  virtual void setMinSelectionHeight(int pixels) = 0;
  virtual void addSelectionChangedListener(SelectionChangedListener* listener) = 0;
  virtual void removeSelectionChangedListener(SelectionChangedListener* listener) = 0;
  virtual void selectLines(int first, int count) = 0;
  virtual void scrollToLine(int line, bool centre) = 0;
  virtual TextReference getFirstRefOnLine(int line) = 0;
  virtual int getLineAt(int y) = 0;
  virtual int getLinePosition(int line) = 0;
  virtual long getContentHeight() = 0;
  virtual int getFirstLine() = 0;
  virtual int getLastLine() = 0;
  virtual int getLineCount() = 0;
  virtual int getFirstSelectedLine() = 0;
  virtual TextReference getFirstSelectedElem() = 0;
  virtual int getFirstSelectedPixel() = 0;
  virtual int getLastSelectedLine() = 0;
  virtual TextReference getLastSelectedElem() = 0;
  virtual int getLastSelectedPixel() = 0;
  // Line and x (from the line's start) of a reference; false when absent.
  virtual bool getPositionOf(TextReference ref, int* line, int* x) = 0;
  // The element under a window point, or null.
  virtual TextReference getRefAt(int x, int y) = 0;
  virtual int getPartialLineWidth() = 0;
  virtual void setTabStop(int pixels) = 0;
  virtual int getTabStop() = 0;
  virtual void setMinLineHeight(int pixels) = 0;
  virtual void setScrollLineHeight(int pixels) = 0;
  virtual int getAvgLineHeight() = 0;
  virtual void setReadOnlyBackground(bool on) = 0;
  virtual void addKeyListener(KeyListener* listener) = 0;
  virtual void removeKeyListener(KeyListener* listener) = 0;
  virtual void addMouseListener(MouseListener* listener) = 0;
  virtual void removeMouseListener(MouseListener* listener) = 0;
  virtual void setMaxMouseClicks(int clicks) = 0;
  virtual int getClicks() = 0;
  virtual void setDirectionsUseShift(bool on) = 0;
  virtual void addGetSelectionListener(GetSelectionListener* listener) = 0;
  virtual void removeGetSelectionListener(GetSelectionListener* listener) = 0;

  // ---- beyond the item interface: what elements and browsers ask ----------
  // The fonts elements measure themselves in.
  virtual const TextMetrics& getMetrics() = 0;
  virtual void setMetrics(const TextMetrics* metrics) = 0;  // null: the display's
  // The view's background colour (the "current background" of a browser).
  virtual Pixel getBackgroundPixel() = 0;
  // Re-reads the background from the window (after a colour change).
  virtual void refreshBackgroundPixel() = 0;
  // Sets the incremental searcher (not owned); null removes it.
  virtual void setISearcher(ISearcher* searcher) = 0;
  // The scroll offsets in pixels.
  virtual long getScrollX() = 0;
  virtual long getScrollY() = 0;
  // Repaints done so far (for measurements and tests).
  virtual long getPaintCount() = 0;

 protected:
  WTextView(WWindowedItem* parent, DrawRect placement, Pixel background)
      : WWindowedItem(parent, placement, background) {}
};

// The metrics a view lays out with; the fixed cell metrics without a view
// (elements measured for no view in particular).
const TextMetrics& textview_metrics(WTextView* view);
