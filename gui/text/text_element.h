// The smallest drawable pieces of a line: coloured text runs, links, boxes,
// spanning bars, tabs, hex dumps and the invisible line break that copying
// turns into a newline.  An element measures itself in its view's fonts,
// paints any horizontal slice of itself, and reports the text under a slice
// for copying.
#pragma once

#include <cstddef>

#include "gui/x11/draw.h"

class TextPainter;
class TextMetrics;
class WTextView;

class TextElement {
 public:
  // "No such colour": the element has no colour of the kind asked for.
  static constexpr long getNoSuchColor() { return -2; }
  // A pixel width that covers any element: getRawText(view, 0, kWholeWidth)
  // gives all of its text without measuring it.
  static constexpr int kWholeWidth = 0x3fffffff;

  virtual ~TextElement() = default;
  // Elements come from pools of small fixed-size blocks: a large text holds
  // several per line, and a general allocator's per-block overhead would
  // nearly double their cost.  Freed blocks are reused for later elements.
  static void* operator new(std::size_t size);
  static void operator delete(void* block, std::size_t size);

  virtual int getWidth(WTextView* view) = 0;
  virtual int getHeight(WTextView* view) = 0;
  // Takes all the remaining width of its line.
  virtual bool isSpanner() { return false; }
  // Its width is set by the layout: up to the next tab stop.
  virtual bool isTab() { return false; }
  // Clicking it does something.
  virtual bool isHot() { return false; }
  virtual bool hasTip() { return false; }
  // Pixel offset of the word boundary at or around x (backwards: the start
  // of the word under x; forwards: just past it).
  virtual int findWordSplit(WTextView* view, int x, bool backwards);
  // Pixel start of the character under x.
  virtual int findCharacterSplit(WTextView* view, int x);
  // Pixel offset of character `index`.
  virtual int findCharPosition(WTextView* view, int index);
  // The characters whose pixels start within the slice; the text belongs to
  // the element (or to what it points into) and may not outlive it.
  virtual void getRawText(WTextView* view, int firstPixel, int pixelWidth,
                          const char** text, int* length);
  // A copy of text returned by getRawText that outlives the element, to be
  // given back through releaseRawText.
  virtual char* getRawTextCopy(WTextView* view, const char* text, int length);
  virtual void releaseRawText(WTextView* view, char* text);
  // Paints the slice [firstPixel, firstPixel + pixelWidth) of the element
  // with its left edge at (x, y) of the painter.
  virtual void paintPortion(WTextView* view, TextPainter* painter, int x, int y,
                            int firstPixel, int pixelWidth, bool selected) = 0;
  // A click at (x, y) relative to the element.  True when it did something.
  virtual bool handleMouseClick(WTextView* view, int x, int y, int button) {
    (void)view, (void)x, (void)y, (void)button;
    return false;
  }
  // Tooltip text (owned by the element), or null.
  virtual const char* getTip(WTextView* view) { return (void)view, nullptr; }
  // Current foreground or background colour, or getNoSuchColor().
  virtual long getColor(WTextView* view, bool foreground) {
    return (void)view, (void)foreground, getNoSuchColor();
  }
  virtual void changeColor(WTextView* view, long colour, bool foreground) {
    (void)view, (void)colour, (void)foreground;
  }
};
