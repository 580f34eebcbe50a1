// The text field's editing state without a display: characters of one or
// more bytes and stray bytes, selections, words, trimming and one-line
// cleaning of pasted text.
#include <gtest/gtest.h>

#include "gui/widgets/text_field_model.h"

namespace {

TEST(TextFieldModel, CharactersOfSeveralBytesMoveAndDeleteAsOne) {
  TextFieldModel m;
  m.setText("a\xc3\xa9\xf0\x9f\x98\x80z");  // a, é, an emoji, z
  EXPECT_EQ(m.caret(), 8u);
  m.moveLeft(false);
  EXPECT_EQ(m.caret(), 7u);
  m.moveLeft(false);
  EXPECT_EQ(m.caret(), 3u);  // over four bytes at once
  EXPECT_TRUE(m.deleteBackward());
  EXPECT_EQ(m.text(), "a\xf0\x9f\x98\x80z");
  m.moveTo(2, false);  // inside the emoji: back to its start
  EXPECT_EQ(m.caret(), 1u);
  EXPECT_TRUE(m.deleteForward());
  EXPECT_EQ(m.text(), "az");
  m.moveTo(0, false);
  EXPECT_FALSE(m.deleteBackward());
  m.moveTo(99, false);
  EXPECT_FALSE(m.deleteForward());
}

TEST(TextFieldModel, StrayBytesAreSingleCharacters) {
  EXPECT_EQ(tf_charLength("\xff", 0), 1u);
  EXPECT_EQ(tf_charLength("\xc3", 0), 1u);          // cut short
  EXPECT_EQ(tf_charLength("\xc0\x80", 0), 1u);      // overlong
  EXPECT_EQ(tf_charLength("\xe2\x82\xac", 0), 3u);  // the euro sign
  EXPECT_EQ(tf_displayable("a\xff" "b"), "a\xEF\xBF\xBD" "b");
  TextFieldModel m;
  m.setText("\xa9\xa9\xc3\xa9");  // two stray continuation bytes, then é
  m.moveLeft(false);
  EXPECT_EQ(m.caret(), 2u);
  m.moveLeft(false);
  EXPECT_EQ(m.caret(), 1u);
}

TEST(TextFieldModel, SelectionsAreReplacedCollapsedAndExtended) {
  TextFieldModel m;
  m.setText("hello world");
  m.select(6, 11);
  EXPECT_EQ(m.selectedText(), "world");
  m.insert("there");
  EXPECT_EQ(m.text(), "hello there");
  EXPECT_FALSE(m.hasSelection());
  m.select(8, 2);  // backwards
  EXPECT_EQ(m.selectionStart(), 2u);
  m.moveRight(false);  // collapses to the end of the selection
  EXPECT_EQ(m.caret(), 8u);
  m.moveTo(0, true);
  EXPECT_EQ(m.selectedText(), "hello th");
  m.moveLeft(false);
  EXPECT_EQ(m.caret(), 0u);
  m.selectWordAt(8);
  EXPECT_EQ(m.selectedText(), "there");
  m.setText("/usr/lib/file-name.c");
  m.selectWordAt(12);
  EXPECT_EQ(m.selectedText(), "file-name.c");
  m.selectAll();
  EXPECT_TRUE(m.deleteSelection());
  EXPECT_EQ(m.text(), "");
}

TEST(TextFieldModel, TrimmingAndOneLineText) {
  EXPECT_EQ(tf_trimSpaces("  a b \t"), "a b");
  EXPECT_EQ(tf_trimSpaces(" \t "), "");
  EXPECT_EQ(tf_oneLine("first\nsecond"), "first");
  EXPECT_EQ(tf_oneLine("a\tb\x01" "c\x7f"), "a bc");
  EXPECT_EQ(tf_oneLine("\r\n"), "");
}

}  // namespace
