// The message line: the status item of a top-level window.  Once attached
// (cwSetStatusBox), every cwSetMsg of the window shows here instead of in
// the title, and the tool tips' long texts pass through it.
#pragma once

#include <string>

#include "gui/core/colwind.h"
#include "gui/core/item.h"

class WMessageLine : public WWindowedItem, public WStatusItem {
 public:
  WMessageLine(WWindowedItem* parent, DrawRect placement);
  ~WMessageLine() override;  // detaches itself from its window

  // Makes this line the status box of its top-level window.
  void attach();
  void setStatusText(const char* text) override;
  const std::string& getStatusText() const { return text_; }

  bool handleExpose(int x, int y, int width, int height) override;

 private:
  std::string text_;
};
