// The kinds of text element.  Text is never copied: a ColorText points
// into a buffer that its browser keeps (its interned strings), so many
// identical lines share one buffer.
#pragma once

#include <string>

#include "gui/text/text_element.h"

// A run of characters in one font, foreground on background.
class ColorText : public TextElement {
 public:
  ColorText(long fg, long bg, int font, const char* text, int length);
  int getWidth(WTextView* view) override;
  int getHeight(WTextView* view) override;
  int findWordSplit(WTextView* view, int x, bool backwards) override;
  int findCharacterSplit(WTextView* view, int x) override;
  int findCharPosition(WTextView* view, int index) override;
  void getRawText(WTextView* view, int firstPixel, int pixelWidth, const char** text,
                  int* length) override;
  void paintPortion(WTextView* view, TextPainter* painter, int x, int y, int firstPixel,
                    int pixelWidth, bool selected) override;
  long getColor(WTextView* view, bool foreground) override;
  void changeColor(WTextView* view, long colour, bool foreground) override;

  const char* getText() const { return text_; }
  int getLength() const { return length_; }
  int getFont() const { return font_; }

 protected:
  // Index of the character whose pixels contain x (clamped to the text).
  int charIndexAt(WTextView* view, int x);
  // The first character starting at or after x (the length when none).
  int firstCharFrom(WTextView* view, int x);
  // Pixel offset of the byte index (a character start).
  int offsetOf(WTextView* view, int index);
  int nextChar(int index) const;
  int prevChar(int index) const;

  long fg_, bg_;
  int font_;
  const char* text_;
  int length_;
};

using HyperLinkCallback = void (*)(void* data, const char* text, int length);

// Text that reacts to a click by calling its callback; drawn underlined.
class HyperLink : public ColorText {
 public:
  HyperLink(long fg, long bg, int font, const char* text, int length,
            HyperLinkCallback callback, void* data);
  bool isHot() override { return true; }
  void paintPortion(WTextView* view, TextPainter* painter, int x, int y, int firstPixel,
                    int pixelWidth, bool selected) override;
  bool handleMouseClick(WTextView* view, int x, int y, int button) override;

 private:
  HyperLinkCallback callback_;
  void* data_;
};

// A solid rectangle.  It has a background colour only.
class ColorBox : public TextElement {
 public:
  ColorBox(long colour, int width, int height);
  int getWidth(WTextView* view) override { return (void)view, width_; }
  int getHeight(WTextView* view) override { return (void)view, height_; }
  void getRawText(WTextView* view, int firstPixel, int pixelWidth, const char** text,
                  int* length) override;
  void paintPortion(WTextView* view, TextPainter* painter, int x, int y, int firstPixel,
                    int pixelWidth, bool selected) override;
  long getColor(WTextView* view, bool foreground) override;
  void changeColor(WTextView* view, long colour, bool foreground) override;

 protected:
  long colour_;
  int width_, height_;
};

// A bar that paints its colour over the rest of its line, selected or not.
class ColorLine : public ColorBox {
 public:
  ColorLine(long colour, int height);
  bool isSpanner() override { return true; }
  void paintPortion(WTextView* view, TextPainter* painter, int x, int y, int firstPixel,
                    int pixelWidth, bool selected) override;
};

// A tab: as wide as the layout makes it, copied as "\t".
class ColorTab : public ColorBox {
 public:
  ColorTab(long colour, int height);
  bool isTab() override { return true; }
  void getRawText(WTextView* view, int firstPixel, int pixelWidth, const char** text,
                  int* length) override;
};

// Bytes shown as two-digit hex, with a 5-pixel gap after each byte and a
// 10-pixel gap after every fourth, none after the last.
class HexText : public TextElement {
 public:
  HexText(long fg, long bg, int font, const unsigned char* bytes, int count);
  static constexpr int kByteGap = 5;
  static constexpr int kGroupGap = 10;

  int getWidth(WTextView* view) override;
  int getHeight(WTextView* view) override;
  int findCharacterSplit(WTextView* view, int x) override;
  int findCharPosition(WTextView* view, int index) override;
  void getRawText(WTextView* view, int firstPixel, int pixelWidth, const char** text,
                  int* length) override;
  void paintPortion(WTextView* view, TextPainter* painter, int x, int y, int firstPixel,
                    int pixelWidth, bool selected) override;
  long getColor(WTextView* view, bool foreground) override;
  void changeColor(WTextView* view, long colour, bool foreground) override;

  // Pixel offset of byte i and the gap that follows it.
  static int byteOffset(int i, int digitWidth);
  static int gapAfter(int i, int count);

 private:
  int digitWidth(WTextView* view);
  long fg_, bg_;
  int font_;
  const unsigned char* bytes_;
  int count_;
  std::string raw_;  // what the last getRawText returned
};

// An invisible element copied as "\n": ends a text line in selections.
class FakeBreak : public TextElement {
 public:
  int getWidth(WTextView* view) override { return (void)view, 0; }
  int getHeight(WTextView* view) override { return (void)view, 0; }
  void getRawText(WTextView* view, int firstPixel, int pixelWidth, const char** text,
                  int* length) override;
  void paintPortion(WTextView*, TextPainter*, int, int, int, int, bool) override {}
};
