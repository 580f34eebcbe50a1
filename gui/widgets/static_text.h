// A static text: one line of label text on its parent's background, left,
// centred or right aligned, that the program may change, hide and show.
#pragma once

#include <string>
#include <string_view>

#include "gui/core/item.h"

// The width of a text in the default font, for texts of any length and any
// bytes (invalid UTF-8 counts as the replacement character).
int st_textWidth(std::string_view text);

class WStaticText : public WWindowedItem {
 public:
  enum Align { kLeft, kCentre, kRight };

  WStaticText(WWindowedItem* parent, DrawRect placement, const char* text, Align align = kLeft);

  void setText(const char* text);
  const std::string& getText() const { return text_; }
  void setAlign(Align align);
  void setDimmed(bool dimmed);
  bool isDimmed() const { return dimmed_; }
  // The width of the text and the height of a line, with a small margin.
  int preferredWidth() const;
  static int preferredHeight();

  bool handleExpose(int x, int y, int width, int height) override;

 private:
  std::string text_;
  Align align_;
  bool dimmed_ = false;
};
