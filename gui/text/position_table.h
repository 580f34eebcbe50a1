// The layout of a text store in lines, computed only where it is needed.
// A zone of consecutive lines is laid out in full (every element's x,
// width and height); the rest of the text is known only by line heights,
// gathered by a cheap scan that leaves a checkpoint every few lines, so a
// line far away is found by a short walk from its checkpoint.  A store of
// millions of lines therefore opens and jumps anywhere at once.
//
// Lines are 1-based; y is measured from the top of the text.  A line's
// height is the largest element height on it and at least the minimum line
// height; a tab reaches to the next multiple of the tab width; a spanner
// takes the rest of its line when painted.
#pragma once

#include <deque>
#include <vector>

#include "gui/text/text_store.h"

class WTextView;

class PositionTable {
 public:
  struct ElementPos {
    int x, width, height;
    TextReference ref;
  };
  struct LinePos {
    long top;                  // y of the line's top
    int height;
    int width;                 // sum of the element widths
    int firstSpanner;          // index of the first spanning element, or -1
    std::vector<ElementPos> elements;
    TextReference first;       // first position: an element or the line end
    TextReference end;         // the line end; null for a last line without one
  };

  // `view` measures the elements (null: the fixed cell metrics).
  PositionTable(TextStore* store, WTextView* view);
  PositionTable(const PositionTable&) = delete;
  PositionTable& operator=(const PositionTable&) = delete;

  TextStore* getStore() const { return store_; }
  void setZoneLimit(int lines);
  int getZoneLimit() const { return zoneLimit_; }
  void setTabWidth(int pixels);
  int getTabWidth() const { return tabWidth_; }
  void setMinLineHeight(int pixels);
  int getMinLineHeight() const { return minLineHeight_; }
  void setDisplaySize(int width, int height);
  int getDisplayWidth() const { return displayWidth_; }
  int getDisplayHeight() const { return displayHeight_; }

  // The laid-out line (moving the zone to it), or null outside the text.
  const LinePos* getLine(int line);
  // y of the top of a line; the content height for line count + 1; -1 for
  // any other line outside the text.
  long getLineTop(int line);
  // The line at y: 0 above the text, line count + 1 below it.
  int getLineAt(long y);
  // The element of a laid-out line under x: its index, or -1 when x is
  // past the last element (a spanner reaches to the right edge).
  static int elementAt(const LinePos& line, int x);
  // Line and element index of a reference inside the zone; false when it
  // is not laid out (a line end gives element index -1).
  bool findInZone(TextReference ref, int* line, int* element) const;
  // Line and x of a reference, scanning the store when it is outside the
  // zone; false when the store does not hold it.
  bool findRef(TextReference ref, int* line, int* x);

  int getLineCount();        // scans the whole text once
  long getContentHeight();   // likewise
  int getContentWidth() const { return maxWidth_; }  // widest line laid out so far
  int getAvgLineHeight();
  bool isComplete() const { return complete_; }
  int getKnownLineCount() const { return scanLines_; }
  int getZoneFirst() const { return zoneFirst_; }
  int getZoneSize() const { return static_cast<int>(zone_.size()); }
  // Width of the elements after the last line end (the line being built).
  int getPartialLineWidth();

  // Forget everything (a batch ended, a tab or height setting changed).
  void invalidateAll();
  // Forget from `line` on; lines before it stay laid out and scanned.
  void invalidateFromLine(int line);
  // Store changes, as the view hears them.
  void handleAdded(TextReference ref);
  void handleRemoved(TextReference previous);
  void handleChanged(TextReference ref);

 private:
  static constexpr int kCheckpointStride = 64;
  struct Checkpoint {
    TextReference first;
    long top;
  };
  struct Extent {
    int height;
    TextReference end, next;
  };
  struct Location {
    TextReference first;
    long top;
  };

  Extent measureLine(TextReference first);
  LinePos layoutLine(TextReference first, long top);
  bool scanStep();
  void scanTo(int line);
  void scanAll();
  // First position and top of a scanned line (line <= scanLines_).
  Location locate(int line);
  TextReference firstOfPreviousLine(TextReference first);
  const LinePos* extendZone(int line);
  int lineAtInZone(long y) const;
  // The line holding the position after `prev` (the line of a new
  // element); 0 when it cannot be told without rescanning.
  int lineAfter(TextReference prev, TextReference ref);

  TextStore* store_;
  WTextView* view_;
  int zoneLimit_ = 0x1000000;
  int tabWidth_ = 40;
  int minLineHeight_ = 10;
  int displayWidth_ = 0, displayHeight_ = 0;
  int maxWidth_ = 0;

  std::deque<LinePos> zone_;
  int zoneFirst_ = 1;

  std::vector<Checkpoint> checkpoints_;  // entry i: line i * stride + 1
  int scanLines_ = 0;        // lines measured so far
  long scanTop_ = 0;         // their total height
  TextReference scanNext_ = nullptr;  // first position of the next line
  bool scanFresh_ = true;    // scanNext_ still to be taken from the store
  bool complete_ = false;
  bool lastPartial_ = false; // the last line has no line end
};
