// Helpers of the text tests: an element that counts its deletions, a store
// listener that records what it heard, and a painter that records what was
// painted.  Without a display text is measured in 7 x 13 cells (ascent 10,
// the big font 9 x 16).
#pragma once

#include <string>
#include <vector>

#include "gui/text/text_element.h"
#include "gui/text/text_painter.h"
#include "gui/text/text_store.h"

// A box that reports its destruction through a counter.
class CountedElement : public TextElement {
 public:
  explicit CountedElement(int* deaths, int height = 10) : deaths_(deaths), height_(height) {}
  ~CountedElement() override { ++*deaths_; }
  int getWidth(WTextView*) override { return 5; }
  int getHeight(WTextView*) override { return height_; }
  void paintPortion(WTextView*, TextPainter*, int, int, int, int, bool) override {}

 private:
  int* deaths_;
  int height_;
};

struct RecordingListener : TextChangeListener {
  std::vector<std::string> heard;
  std::vector<TextReference> refs, previous;
  void handleTextChange(TextStore*) override { heard.push_back("change"); }
  void handleAddedText(TextStore*, TextReference r) override { note("added", r); }
  void handleChangedText(TextStore*, TextReference r) override { note("changed", r); }
  void handleRemovedText(TextStore*, TextReference r, TextReference p) override {
    note("removed", r), previous.push_back(p);
  }
  void handleDisconnectTextChange(TextStore*) override { heard.push_back("disconnect"); }
  void note(const char* what, TextReference r) { heard.push_back(what), refs.push_back(r); }
};

// Every painting call as one line of text, e.g. "rect 0 0 7 13 #5".
struct RecordingPainter : TextPainter {
  std::vector<std::string> calls;
  std::vector<DrawRect> clips;
  static std::string numbers(std::initializer_list<long> n) {
    std::string s;
    for (long v : n) s += " " + std::to_string(v);
    return s;
  }
  void fillRect(int x, int y, int w, int h, Pixel c) override {
    calls.push_back("rect" + numbers({x, y, w, h}) + " #" + std::to_string(c));
  }
  void drawText(int x, int y, int font, const char* text, int length, Pixel c) override {
    calls.push_back("text" + numbers({x, y}) + " f" + std::to_string(font) + " '" +
                    std::string(text, length) + "' #" + std::to_string(c));
  }
  void drawLine(int x1, int y1, int x2, int y2, Pixel c) override {
    calls.push_back("line" + numbers({x1, y1, x2, y2}) + " #" + std::to_string(c));
  }
  void pushClip(DrawRect r) override { clips.push_back(r); }
  void popClip() override {}
  // The calls that start with `kind`.
  std::vector<std::string> only(const std::string& kind) const {
    std::vector<std::string> out;
    for (const std::string& c : calls)
      if (c.rfind(kind, 0) == 0) out.push_back(c);
    return out;
  }
};

// A store's positions as "e" (element) and "|" (line end), forwards.
inline std::string shapeOf(TextStore& s) {
  std::string out;
  for (TextReference r = s.getFirstElement(); r; r = s.getNextElement(r))
    out += s.isLineEnd(r) ? "|" : "e";
  return out;
}
// The same backwards, read back in forward order.
inline std::string shapeBackwards(TextStore& s) {
  std::string out;
  for (TextReference r = s.getLastElement(); r; r = s.getPrevElement(r))
    out.insert(out.begin(), s.isLineEnd(r) ? '|' : 'e');
  return out;
}
