// The editor's model of one file: the file's lines (edited in place, see
// file_lines.h) indexed by number, a caret and a selection anchor, and an
// undo history.  Every change is one replacement of a stretch of text by
// another, so that undoing is the same replacement run backwards.  Free of
// windows, so that it is tested without X.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct file;
struct line;

// A place in the text: 1-based line, byte column from 0.
struct EditPos {
  long line = 1;
  long col = 0;
  auto operator<=>(const EditPos&) const = default;
};

class EditBuffer {
 public:
  // Told of every change: rows first..last show something else; when
  // `linesMoved` the rows from `first` on may all have changed.
  class Listener {
   public:
    virtual ~Listener() = default;
    virtual void bufferChanged(long first, long last, bool linesMoved) = 0;
  };

  explicit EditBuffer(file* f);
  file* getFile() const { return file_; }
  void setListener(Listener* listener) { listener_ = listener; }
  // Re-reads the line index after someone else changed the file.
  void reindex();

  // Lines shown: the file's lines, and one empty row for an empty file.
  long rowCount() const { return lines_.empty() ? 1 : static_cast<long>(lines_.size()); }
  long lineCount() const { return static_cast<long>(lines_.size()); }
  line* lineAt(long number) const;  // null outside 1..lineCount
  std::string text(long number) const;

  // The user may change the text only while the buffer is not locked.
  void setLocked(bool on) { locked_ = on; }
  bool isLocked() const { return locked_; }

  EditPos caret() const { return caret_; }
  EditPos anchor() const { return anchor_; }
  bool hasSelection() const { return caret_ != anchor_; }
  EditPos selectionStart() const { return caret_ < anchor_ ? caret_ : anchor_; }
  EditPos selectionEnd() const { return caret_ < anchor_ ? anchor_ : caret_; }
  std::string selectedText() const;
  // Moves the caret (clamped into the text); `extend` keeps the anchor.
  void moveTo(EditPos to, bool extend);
  // Selects whole lines first .. first+count-1; count 0 puts both ends at
  // the start of `first` (an empty range there).
  void selectLines(long first, long count);

  // ---- what the user does (refused while locked: false) ----
  // Types `text` over the selection; newlines split lines.
  bool type(std::string_view text);
  bool backspace();
  bool deleteForward();
  bool cutSelection();
  bool undo();

  // ---- what the program does (allowed while locked) ----
  void appendLine(std::string_view text);
  void insertAtLineStart(long number, std::string_view text);
  // Replaces from..to by `text`; the end of the new text.  Undoable.
  EditPos replace(EditPos from, EditPos to, std::string_view text);

  EditPos clamp(EditPos p) const;
  EditPos endOfText() const;
  // The caret one character left or right (over line ends).
  EditPos stepLeft(EditPos p) const;
  EditPos stepRight(EditPos p) const;

 private:
  struct Change {
    EditPos from;      // where the replacement starts
    EditPos to;        // the end of the text put in
    std::string was;   // the text it replaced
    EditPos caret;     // the caret before the change
    bool typed;        // one typed character, joined with the next
  };
  std::string textBetween(EditPos from, EditPos to) const;
  EditPos apply(EditPos from, EditPos to, std::string_view text);
  void record(EditPos from, EditPos to, std::string was, bool typed);
  void notify(long first, long last, bool linesMoved);

  file* file_;
  std::vector<line*> lines_;
  EditPos caret_, anchor_;
  bool locked_ = false;
  std::vector<Change> undo_;
  Listener* listener_ = nullptr;
};
