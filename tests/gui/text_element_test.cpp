// Text elements measured in fixed 7 x 13 cells (ascent 10) without a view:
// widths, splits, the text under a slice, what each kind paints, and the
// colours each kind has.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "gui/core/pixels.h"
#include "gui/text/text_elements.h"
#include "text_test_util.h"

namespace {

std::string raw(TextElement& e, int first, int width) {
  const char* t;
  int n;
  e.getRawText(nullptr, first, width, &t, &n);
  return std::string(t, n);
}

class ElementTest : public ::testing::Test {
 protected:
  void SetUp() override { select_pixel = 50, selectreverse_pixel = 51; }
};

TEST_F(ElementTest, ColorTextMeasuresItsCharacters) {
  ColorText t(1, 2, 0, "hello", 5);
  EXPECT_EQ(t.getWidth(nullptr), 35);
  EXPECT_EQ(t.getHeight(nullptr), 13);
  ColorText empty(1, 2, 0, "", 0);
  EXPECT_EQ(empty.getWidth(nullptr), 0);
  EXPECT_EQ(empty.getHeight(nullptr), 13);
  ColorText big(1, 2, 1, "ab", 2);
  EXPECT_EQ(big.getWidth(nullptr), 18);
}

TEST_F(ElementTest, CharacterSplitsAndPositions) {
  ColorText t(1, 2, 0, "hello", 5);
  EXPECT_EQ(t.findCharacterSplit(nullptr, 0), 0);
  EXPECT_EQ(t.findCharacterSplit(nullptr, 13), 7);
  EXPECT_EQ(t.findCharacterSplit(nullptr, 14), 14);
  EXPECT_EQ(t.findCharacterSplit(nullptr, 500), 28);
  EXPECT_EQ(t.findCharPosition(nullptr, 2), 14);
  EXPECT_EQ(t.findCharPosition(nullptr, 99), 35);
}

TEST_F(ElementTest, MultibyteCharactersAreNeverSplit) {
  const char* s = "a\xc3\xa9z";  // a, e-acute, z: three cells
  ColorText t(1, 2, 0, s, 4);
  EXPECT_EQ(t.getWidth(nullptr), 21);
  EXPECT_EQ(raw(t, 7, 7), "\xc3\xa9");
  EXPECT_EQ(t.findCharPosition(nullptr, 2), 14);
}

TEST_F(ElementTest, WordSplitsFollowCharacterClasses) {
  ColorText t(1, 2, 0, "foo_1 + bar", 11);
  // x = 10 is inside "foo_1" (characters 0..4).
  EXPECT_EQ(t.findWordSplit(nullptr, 10, true), 0);
  EXPECT_EQ(t.findWordSplit(nullptr, 10, false), 35);
  // x = 60 is in "bar" (characters 8..10).
  EXPECT_EQ(t.findWordSplit(nullptr, 60, true), 56);
  EXPECT_EQ(t.findWordSplit(nullptr, 60, false), 77);
  // '+' alone is a run of its own.
  EXPECT_EQ(t.findWordSplit(nullptr, 43, true), 42);
  EXPECT_EQ(t.findWordSplit(nullptr, 43, false), 49);
}

TEST_F(ElementTest, RawTextIsTheCharactersStartingInTheSlice) {
  ColorText t(1, 2, 0, "hello", 5);
  EXPECT_EQ(raw(t, 0, 35), "hello");
  EXPECT_EQ(raw(t, 0, TextElement::kWholeWidth), "hello");
  EXPECT_EQ(raw(t, 7, 14), "el");
  EXPECT_EQ(raw(t, 8, 14), "ll") << "'e' starts before the slice";
  EXPECT_EQ(raw(t, 40, 10), "");
  char* copy = t.getRawTextCopy(nullptr, "hel", 3);
  EXPECT_STREQ(copy, "hel");
  t.releaseRawText(nullptr, copy);
}

TEST_F(ElementTest, ColorTextPaintsTheCharactersOfItsSlice) {
  ColorText t(1, 2, 0, "hello", 5);
  RecordingPainter p;
  t.paintPortion(nullptr, &p, 100, 20, 7, 14, false);
  EXPECT_EQ(p.calls, (std::vector<std::string>{"rect 100 20 14 13 #2", "text 100 30 f0 'el' #1"}));
  RecordingPainter sel;
  t.paintPortion(nullptr, &sel, 100, 20, 10, 10, true);
  EXPECT_EQ(sel.calls,
            (std::vector<std::string>{"rect 100 20 10 13 #50", "text 97 30 f0 'el' #51"}));
  ASSERT_EQ(sel.clips.size(), 1u);
  EXPECT_EQ(sel.clips[0].width, 10);
}

TEST_F(ElementTest, ColorTextColours) {
  ColorText t(1, 2, 0, "x", 1);
  EXPECT_EQ(t.getColor(nullptr, true), 1);
  EXPECT_EQ(t.getColor(nullptr, false), 2);
  t.changeColor(nullptr, 8, true);
  t.changeColor(nullptr, 9, false);
  EXPECT_EQ(t.getColor(nullptr, true), 8);
  EXPECT_EQ(t.getColor(nullptr, false), 9);
}

TEST_F(ElementTest, HyperLinkIsHotUnderlinedAndCallsBack) {
  std::string got;
  auto callback = [](void* data, const char* text, int length) {
    *static_cast<std::string*>(data) = std::string(text, length);
  };
  HyperLink link(4, 2, 0, "link", 4, callback, &got);
  EXPECT_TRUE(link.isHot());
  EXPECT_TRUE(link.handleMouseClick(nullptr, 3, 3, 1));
  EXPECT_EQ(got, "link");
  RecordingPainter p;
  link.paintPortion(nullptr, &p, 0, 0, 0, 28, false);
  EXPECT_EQ(p.only("line"), (std::vector<std::string>{"line 0 11 27 11 #4"}));
  HyperLink dead(4, 2, 0, "x", 1, nullptr, nullptr);
  EXPECT_FALSE(dead.handleMouseClick(nullptr, 0, 0, 1));
}

TEST_F(ElementTest, BoxesHaveBackgroundOnly) {
  ColorBox box(7, 12, 5);
  EXPECT_EQ(box.getWidth(nullptr), 12);
  EXPECT_EQ(box.getHeight(nullptr), 5);
  EXPECT_EQ(raw(box, 0, 12), "");
  EXPECT_EQ(box.getColor(nullptr, true), TextElement::getNoSuchColor());
  box.changeColor(nullptr, 3, true);
  EXPECT_EQ(box.getColor(nullptr, false), 7) << "a foreground change does nothing";
  box.changeColor(nullptr, 3, false);
  EXPECT_EQ(box.getColor(nullptr, false), 3);
  RecordingPainter p;
  box.paintPortion(nullptr, &p, 1, 2, 0, 12, true);
  EXPECT_EQ(p.calls, (std::vector<std::string>{"rect 1 2 12 5 #50"}));
}

TEST_F(ElementTest, SpanningBarIgnoresSelection) {
  ColorLine bar(6, 1);
  EXPECT_TRUE(bar.isSpanner());
  EXPECT_EQ(bar.getWidth(nullptr), 10);
  RecordingPainter p;
  bar.paintPortion(nullptr, &p, 0, 4, 0, 300, true);
  EXPECT_EQ(p.calls, (std::vector<std::string>{"rect 0 4 300 1 #6"}));
}

TEST_F(ElementTest, TabAndFakeBreak) {
  ColorTab tab(6, 13);
  EXPECT_TRUE(tab.isTab());
  EXPECT_EQ(tab.getWidth(nullptr), 0);
  EXPECT_EQ(raw(tab, 0, 40), "\t");
  FakeBreak br;
  EXPECT_EQ(br.getWidth(nullptr), 0);
  EXPECT_EQ(br.getHeight(nullptr), 0);
  EXPECT_EQ(raw(br, 0, 0), "\n");
  EXPECT_EQ(br.getColor(nullptr, true), -2);
  EXPECT_EQ(br.getColor(nullptr, false), -2);
}

TEST_F(ElementTest, HexTextLaysOutBytesInGroups) {
  const unsigned char bytes[] = {0x00, 0x1f, 0xab, 0xff, 0x10};
  HexText hex(1, 2, 0, bytes, 5);
  // Bytes of 14 pixels; 5-pixel gaps, 10 after the fourth, none at the end.
  EXPECT_EQ(HexText::byteOffset(1, 7), 19);
  EXPECT_EQ(HexText::byteOffset(4, 7), 81);
  EXPECT_EQ(HexText::gapAfter(3, 5), 10);
  EXPECT_EQ(HexText::gapAfter(4, 5), 0);
  EXPECT_EQ(hex.getWidth(nullptr), 95);
  EXPECT_EQ(raw(hex, 0, TextElement::kWholeWidth), "00 1f ab ff 10");
  EXPECT_EQ(raw(hex, 19, 20), "1f ab");
  EXPECT_EQ(hex.findCharPosition(nullptr, 3), 26);
  EXPECT_EQ(hex.findCharacterSplit(nullptr, 16), 14) << "the gap snaps to the nearer digit";
  EXPECT_EQ(hex.findCharacterSplit(nullptr, 17), 19);
  EXPECT_EQ(hex.findCharacterSplit(nullptr, 9), 7);
  RecordingPainter p;
  hex.paintPortion(nullptr, &p, 0, 0, 0, 95, false);
  EXPECT_EQ(p.only("text").size(), 5u);
  EXPECT_EQ(p.only("text")[2], "text 38 10 f0 'ab' #1");
  const unsigned char none[1] = {0};
  HexText empty(1, 2, 0, none, 0);
  EXPECT_EQ(empty.getWidth(nullptr), 0);
}

}  // namespace
