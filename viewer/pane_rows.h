// The rows of one side of the aligned display, kept as a compact list
// (a file line, a filler row or a rule) and turned into text elements only
// when a view shows them.  One PaneRows feeds two stores: the side's text
// and its line-number gutter.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "gui/text/row_store.h"
#include "syntax/syn_state.h"
#include "viewer/alignment.h"

class synLanguageInterface;

class WTextView;
struct file;
struct line;

class PaneRows : public AlignedRowSink {
 public:
  enum Kind : uint8_t { kText, kFiller, kRule };
  struct Row {
    line* fileLine;  // kText only
    int32_t number;  // the file line number, kText only
    Kind kind;
    LineKind change;
  };

  PaneRows(WTextView* text, WTextView* gutter);
  ~PaneRows() override;

  // Starts a new layout of `f`, coloured by `language` (null: plain); the
  // alignment walk then adds the rows.
  void begin(file* f, synLanguageInterface* language);
  // The rows are complete: the views show them.
  void end();

  void addRule() override;
  void addFiller(int count) override;
  void addFileLine(long number, line* l, LineKind kind) override;

  // The other side's rows, facing these row by row, and which side this
  // is (inserted lines are on the right, deleted ones on the left).
  void setPartner(PaneRows* other, bool right);
  // Whether the words that differ within changed lines are shaded, under
  // the comparison options.  Takes effect with the next layout.
  void setLineChanges(bool on, int options);

  // Rows first..last (the lines of the current difference) on `pixel`;
  // first > last for none.
  void setHighlight(int first, int last, unsigned long pixel);
  int rowCount() const { return static_cast<int>(rows_.size()); }
  const Row& row(int number) const { return rows_[number - 1]; }

 private:
  class TextSource;
  class GutterSource;
  unsigned long background(int number) const;
  int rowHeight(int number);
  // The colouring state at the start of file line `number` (held by `l`):
  // states are worked out line by line as far as the rows shown need.
  synLineStart startOf(int number, line* l);

  synLanguageInterface* language_ = nullptr;
  PaneRows* other_ = nullptr;
  bool right_ = false;
  bool lineChanges_ = true;
  int options_ = 0;
  int statesKnown_ = 0;  // lines 1..statesKnown_ have their start state
  line* lastKnown_ = nullptr;

  file* file_ = nullptr;
  std::vector<Row> rows_;
  int highlightFirst_ = 1, highlightLast_ = 0;
  unsigned long highlight_ = 0;
  int textHeight_ = 0;
  WTextView* textView_;
  WTextView* gutterView_;
  std::unique_ptr<TextSource> textSource_;
  std::unique_ptr<GutterSource> gutterSource_;
  std::unique_ptr<RowStore> textStore_, gutterStore_;
};
