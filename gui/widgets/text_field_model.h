// The editing state of a single-line text field, without a display: the
// text as bytes (UTF-8, where a byte that starts no valid sequence counts
// as one character of its own), the caret and the selection anchor, and
// the edits the keys make.  File-name completion is here too, as a pure
// look-up over one directory.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class TextFieldModel {
 public:
  const std::string& text() const { return text_; }
  size_t caret() const { return caret_; }
  size_t anchor() const { return anchor_; }
  bool hasSelection() const { return caret_ != anchor_; }
  size_t selectionStart() const { return caret_ < anchor_ ? caret_ : anchor_; }
  size_t selectionEnd() const { return caret_ < anchor_ ? anchor_ : caret_; }
  std::string selectedText() const;

  // Replaces the text; the caret goes to the end, nothing selected.
  void setText(std::string_view text);
  // Replaces the selection (or inserts at the caret); the caret follows.
  void insert(std::string_view text);
  // Delete the selection, or the character before (after) the caret;
  // false when nothing changed.
  bool deleteBackward();
  bool deleteForward();
  bool deleteSelection();
  // Moves the caret to a character boundary at or before `pos`; with
  // `extend` the anchor stays (the selection grows), else it follows.
  void moveTo(size_t pos, bool extend);
  void moveLeft(bool extend);   // also collapses a selection to its start
  void moveRight(bool extend);  // ... or its end
  void select(size_t anchor, size_t caret);
  void selectAll() { select(0, text_.size()); }
  // The word (letters, digits, '_', '.', '-', '/'-free run) around pos.
  void selectWordAt(size_t pos);

  size_t previousBoundary(size_t pos) const;
  size_t nextBoundary(size_t pos) const;

 private:
  size_t snap(size_t pos) const;  // back to a character boundary
  std::string text_;
  size_t caret_ = 0, anchor_ = 0;
};

// Bytes in the character that starts at `pos`: its UTF-8 length, or 1 for
// a byte that starts no valid sequence.
size_t tf_charLength(std::string_view text, size_t pos);
// The text as it can be drawn: every invalid byte becomes U+FFFD.
std::string tf_displayable(std::string_view text);
// The text without leading and trailing spaces and tabs.
std::string tf_trimSpaces(std::string_view text);
// Typed or pasted text for one line: cut at the first line break, other
// control characters dropped.
std::string tf_oneLine(std::string_view text);

// What completes the path `typed` among the entries of its directory ("~"
// at the start stands for $HOME): the longest addition shared by every
// entry that begins with the last component, plus "/" when exactly one
// directory matches.  Empty when nothing matches, nothing can be added,
// or the directory has more than `maxEntries` entries (the scan stops
// there rather than guess).  Dot entries count only when the typed
// component begins with a dot.
std::string tf_completeFileName(const std::string& typed, size_t maxEntries = 4096);
