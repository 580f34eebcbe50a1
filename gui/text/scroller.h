// One scroll position shared by any number of scrollees.  Each scrollee
// reports its extent and steps; the scroller combines them (the widest
// range, the smallest steps) and hands every scrollee the same position,
// so views under one bar move by the same number of pixels and stay
// aligned.  The scroll-bar widget derives from it; the arithmetic here
// needs no display.
#pragma once

#include <set>

enum ScrollDirection { SCROLL_HORIZONTAL = 0, SCROLL_VERTICAL = 1 };

class Scroller;

class Scrollee {
 public:
  virtual ~Scrollee() = default;
  virtual void setHScroller(Scroller* scroller) = 0;
  virtual void setVScroller(Scroller* scroller) = 0;
  virtual Scroller* getHScroller() = 0;
  virtual Scroller* getVScroller() = 0;
  virtual void handleHScroll(long position) = 0;
  virtual void handleVScroll(long position) = 0;
  virtual bool getVisible(int direction) = 0;
  virtual long getMinScroll(int direction) = 0;
  virtual long getMaxScroll(int direction) = 0;
  virtual long getPixStep(int direction) = 0;
  virtual long getLineStep(int direction) = 0;
  virtual long getPageStep(int direction) = 0;
};

class Scroller {
 public:
  explicit Scroller(int direction);
  virtual ~Scroller();
  Scroller(const Scroller&) = delete;
  Scroller& operator=(const Scroller&) = delete;

  int getDirection() const { return direction_; }
  void addScrollee(Scrollee* scrollee);
  void removeScrollee(Scrollee* scrollee);
  const std::set<Scrollee*>& getScrollees() const { return scrollees_; }

  // A scrollee's extent or steps changed: recombine them and re-apply the
  // position (which may now be out of range).
  void reconfigure();

  // Clamps p to [minimum, maximum - page step], rounds its distance above
  // the minimum down to whole pixel steps, and scrolls every scrollee there.
  void setPosition(long p);
  // The same, only when p differs from the current position.
  void scrollTo(long p);
  void scrollByLines(long n);
  void scrollByPages(long n);
  void scrollByPixes(long n);

  bool isVisible() const { return visible_; }
  long getMinimum() const { return minimum_; }
  long getMaximum() const { return maximum_; }
  long getPageStep() const { return pageStep_; }
  long getLineStep() const { return lineStep_; }
  long getPixStep() const { return pixStep_; }
  long getPosition() const { return position_; }
  // The clamped, rounded position that setPosition(p) would choose.
  long clampPosition(long p) const;

 protected:
  // For the widget: the range or the position changed; repaint.
  virtual void handleScrollerChanged() {}

 private:
  int direction_;
  std::set<Scrollee*> scrollees_;
  bool visible_ = false;
  long minimum_ = 0, maximum_ = 0;
  long pageStep_ = 1, lineStep_ = 1, pixStep_ = 1;
  long position_ = 0;
};

// Where the thumb of a scroll bar sits in a trough of `trackLength`
// pixels: its offset from the trough's start and its length (at least
// `minThumb`, at most the track).
struct ThumbGeometry {
  int offset, length;
};
ThumbGeometry thumbGeometry(int trackLength, int minThumb, long minimum, long maximum,
                            long page, long position);
// The position that puts the thumb's start at `offset` (the inverse of
// thumbGeometry, for dragging).
long positionForThumb(int trackLength, int minThumb, long minimum, long maximum, long page,
                      int offset);
