// The aligned side-by-side display: each side's text is laid out row by
// row so that every difference is equally high on both sides.  A block is
// framed by a rule row above and below; the shorter side of a block gets
// filler rows.  These functions compute the rows and translate between
// display rows and file lines; they know nothing of windows, so the same
// walk fills the viewer's text stores and the tests' recorders.
#pragma once

struct ColorInfo;
struct file;
struct line;

// How a file line stands in the comparison: equal to a line of the other
// side, in a difference that has lines on both sides, or in one whose
// other side is empty (inserted on the right, deleted on the left).
enum LineKind : unsigned char { kLineSame, kLineChanged, kLineOnlyHere };

// Where the rows of one side go.  The text and line-number stores always
// receive the same rows.
class AlignedRowSink {
 public:
  virtual ~AlignedRowSink() = default;
  virtual void addRule() = 0;                 // the thin line framing a block
  virtual void addFiller(int count) = 0;      // empty rows padding a block
  virtual void addFileLine(long number, line* l, LineKind kind) = 0;
};

// Walks `f`'s lines into `sink`, filling displayStart and displayEnd of
// every range of `mine`; `other` holds the other side's ranges of the same
// differences (range i of each list is difference i).
void align_ReadFile(file* f, ColorInfo* mine, ColorInfo* other, AlignedRowSink& sink);

// The file line shown at display `row` of a side with ranges `mine`:
// filler rows and the closing rule map to the block's last line (to the
// line before an empty block).
int align_ConvertVirtualLine(ColorInfo* mine, int row);
// The index of the difference whose rows hold `row` (its lines, filler rows
// and closing rule; the opening rule belongs to the rows before), or -1.
int align_InVirtualRange(ColorInfo* mine, int row);

// The difference to show for `line` of the right file: the first range with
// line <= start or line < end; -1 when none qualifies.
int align_RangeForLine(ColorInfo* right, int line);

// Digits of a line count (0 for an empty file) and the gutter width that
// shows them: character width * max(digits, 4) + 2.
int align_Digits(long lineCount);
int align_GutterWidth(long lineCount, int charWidth);
