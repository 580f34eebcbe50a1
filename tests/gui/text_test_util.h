// Helpers shared by the text display tests: an element that counts its
// deletions, a store listener that records what it heard, and a painter
// that records what was painted.
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
  void handleAddedText(TextStore*, TextReference r) override {
    heard.push_back("added");
    refs.push_back(r);
  }
  void handleChangedText(TextStore*, TextReference r) override {
    heard.push_back("changed");
    refs.push_back(r);
  }
  void handleRemovedText(TextStore*, TextReference r, TextReference p) override {
    heard.push_back("removed");
    refs.push_back(r);
    previous.push_back(p);
  }
  void handleDisconnectTextChange(TextStore*) override { heard.push_back("disconnect"); }
};

// Every painting call as one line of text, e.g. "rect 0 0 7 13 #5".
struct RecordingPainter : TextPainter {
  std::vector<std::string> calls;
  std::vector<DrawRect> clips;
  void fillRect(int x, int y, int w, int h, Pixel c) override {
    calls.push_back("rect " + std::to_string(x) + " " + std::to_string(y) + " " +
                    std::to_string(w) + " " + std::to_string(h) + " #" + std::to_string(c));
  }
  void drawText(int x, int y, int font, const char* text, int length, Pixel c) override {
    calls.push_back("text " + std::to_string(x) + " " + std::to_string(y) + " f" +
                    std::to_string(font) + " '" + std::string(text, length) + "' #" +
                    std::to_string(c));
  }
  void drawLine(int x1, int y1, int x2, int y2, Pixel c) override {
    calls.push_back("line " + std::to_string(x1) + " " + std::to_string(y1) + " " +
                    std::to_string(x2) + " " + std::to_string(y2) + " #" + std::to_string(c));
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
