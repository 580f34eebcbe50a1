#include "viewer/pane_rows.h"

#include <algorithm>
#include <cstdio>

#include "gui/core/fonts.h"
#include "gui/core/pixels.h"
#include "gui/text/text_elements.h"
#include "gui/text/text_metrics.h"
#include "gui/text/textview.h"
#include "syntax/syntax.h"
#include "text/file.h"
#include "viewer/line_changes.h"

namespace {

constexpr int kRuleHeight = 1;  // the one-pixel line framing a difference
constexpr int kMargin = 1;      // space before a row's text

long px(unsigned long pixel) { return static_cast<long>(pixel); }

// The end of a row painted in `bg`: a half-character box, and for a
// coloured row a bar over the rest of the line.
void endRow(RowContents& out, long bg, int height, bool coloured) {
  out.elements.push_back(std::make_unique<ColorBox>(bg, font_n / 2, height));
  if (coloured) out.elements.push_back(std::make_unique<ColorLine>(bg, height));
}

// A line's start state lives in its record, packed into one word.
long pack(synLineStart s) {
  return static_cast<long>((static_cast<uint64_t>(s.condition) << 32) | s.state);
}

synLineStart unpack(long word) {
  auto w = static_cast<uint64_t>(word);
  return synLineStart{static_cast<synState>(w & 0xffffffffu), static_cast<uint32_t>(w >> 32)};
}

// A line as shown: control characters (other than the tab) take two
// columns, "^A" for byte 1, as the text model measures them.
void showText(const char* text, long length, std::string* out) {
  out->clear();
  if (!text) return;
  out->reserve(length);
  for (long i = 0; i < length; i++) {
    auto c = static_cast<unsigned char>(text[i]);
    if (c < 32 && c != '\t') {
      out->push_back('^');
      out->push_back(static_cast<char>(c + '@'));
    } else {
      out->push_back(static_cast<char>(c));
    }
  }
}

// Text runs from `from` to `to` in one colour, split at tabs.
void addRuns(RowContents& out, size_t from, size_t to, long fg, long bg, int height) {
  size_t run = from;
  for (size_t i = from; i <= to; i++) {
    if (i < to && out.text[i] != '\t') continue;
    if (i > run)
      out.elements.push_back(std::make_unique<ColorText>(fg, bg, VF_TEXT, out.text.data() + run,
                                                         static_cast<int>(i - run)));
    if (i < to) out.elements.push_back(std::make_unique<ColorTab>(bg, height));
    run = i + 1;
  }
}

// Rows that are not file lines look the same in the text and the gutter.
bool buildFrame(const PaneRows::Row& r, RowContents& out, long shadow, int height) {
  if (r.kind == PaneRows::kRule) {
    out.elements.push_back(std::make_unique<ColorLine>(shadow, kRuleHeight));
    return true;
  }
  if (r.kind == PaneRows::kFiller) {
    endRow(out, shadow, height, true);
    return true;
  }
  return false;
}

}  // namespace

// A side's text: each file line as text runs split at tabs, an invisible
// line end for copying, then the row's background to the right edge.
class PaneRows::TextSource : public RowSource {
 public:
  explicit TextSource(PaneRows* rows) : rows_(rows) {}
  int rowCount() override { return rows_->rowCount(); }
  int rowHeight(int row) override { return rows_->rowHeight(row); }
  void buildRow(int number, RowContents& out) override {
    const Row& r = rows_->row(number);
    int height = rows_->rowHeight(number);
    if (buildFrame(r, out, px(controlshadow_pixel), height)) return;
    long bg = static_cast<long>(rows_->background(number));
    addText(r, bg, height, out);
    out.elements.push_back(std::make_unique<FakeBreak>());
    endRow(out, bg, height,
           r.change != kLineSame || bg != px(rows_->textView_->getBackgroundPixel()));
  }

 private:
  // One file line as one row: coloured by the file's language when it has
  // one, on the row's background.
  void addText(const Row& r, long bg, int height, RowContents& out) {
    synLineStart start = rows_->startOf(r.number, r.fileLine);
    const char* text = FileLineText(rows_->file_, r.fileLine);
    showText(text, text ? r.fileLine->length : 0, &out.text);
    findChanges(r, out.text);
    out.elements.push_back(std::make_unique<ColorBox>(bg, kMargin, height));
    if (out.text.empty()) {
      out.elements.push_back(std::make_unique<ColorText>(px(fg_pixel), bg, VF_TEXT, "", 0));
      return;
    }
    if (!rows_->language_) {
      addMarkedRuns(out, 0, out.text.size(), px(fg_pixel), bg, height);
      return;
    }
    runs_.clear();
    syn_ColorLine(rows_->language_, start, out.text.data(), static_cast<int>(out.text.size()),
                  &runs_);
    for (const synRun& run : runs_) {
      synPixel fg = fg_pixel, unused = 0;
      rows_->language_->GetColorForStatus(run.status, &fg, &unused);
      addMarkedRuns(out, run.start, run.start + run.length, static_cast<long>(fg), bg, height);
    }
  }

  // The words of a changed line that differ from the changed line facing
  // it; only rows being shown are ever compared.
  void findChanges(const Row& r, const std::string& text) {
    changes_.clear();
    PaneRows* other = rows_->other_;
    if (!rows_->lineChanges_ || r.change != kLineChanged || !other) return;
    int number = static_cast<int>(&r - rows_->rows_.data()) + 1;
    if (number > other->rowCount()) return;
    const Row& facing = other->row(number);
    if (facing.kind != kText || facing.change != kLineChanged) return;
    const char* theirs = FileLineText(other->file_, facing.fileLine);
    showText(theirs, theirs ? facing.fileLine->length : 0, &otherText_);
    dv_LineChanges(text, otherText_, rows_->options_, &changes_);
  }

  // Runs from `from` to `to`, the changed words among them on the strong
  // background.
  void addMarkedRuns(RowContents& out, size_t from, size_t to, long fg, long bg, int height) {
    size_t at = from;
    for (const LineChange& c : changes_) {
      size_t start = std::max<size_t>(at, c.start), end = std::min<size_t>(to, c.end);
      if (start >= end) continue;
      if (start > at) addRuns(out, at, start, fg, bg, height);
      addRuns(out, start, end, fg, px(diffchangedtext_pixel), height);
      at = end;
    }
    if (at < to) addRuns(out, at, to, fg, bg, height);
  }

  PaneRows* rows_;
  std::vector<synRun> runs_;
  std::vector<LineChange> changes_;
  std::string otherText_;
};

// A side's line numbers, on the gutter background.
class PaneRows::GutterSource : public RowSource {
 public:
  explicit GutterSource(PaneRows* rows) : rows_(rows) {}
  int rowCount() override { return rows_->rowCount(); }
  int rowHeight(int row) override { return rows_->rowHeight(row); }
  void buildRow(int number, RowContents& out) override {
    const Row& r = rows_->row(number);
    long bg = px(procrelline_pixel);
    int height = rows_->rowHeight(number);
    if (r.kind == kRule) {
      out.elements.push_back(std::make_unique<ColorLine>(bg, kRuleHeight));
      return;
    }
    if (r.kind == kText) {
      char digits[16];
      int n = std::snprintf(digits, sizeof digits, "%d", r.number);
      out.text.assign(digits, n);
      out.elements.push_back(std::make_unique<ColorBox>(bg, kMargin, height));
      out.elements.push_back(
          std::make_unique<ColorText>(px(fg_pixel), bg, VF_TEXT, out.text.data(), n));
    }
    endRow(out, bg, height, true);
  }

 private:
  PaneRows* rows_;
};

PaneRows::PaneRows(WTextView* text, WTextView* gutter)
    : textView_(text),
      gutterView_(gutter),
      textSource_(std::make_unique<TextSource>(this)),
      gutterSource_(std::make_unique<GutterSource>(this)),
      textStore_(std::make_unique<RowStore>(textSource_.get())),
      gutterStore_(std::make_unique<RowStore>(gutterSource_.get())) {
  textView_->setTextStore(textStore_.get());
  gutterView_->setTextStore(gutterStore_.get());
}

// The views let go of the stores before the stores go.
PaneRows::~PaneRows() {
  textView_->setTextStore(nullptr);
  gutterView_->setTextStore(nullptr);
}

void PaneRows::begin(file* f, synLanguageInterface* language) {
  file_ = f;
  language_ = language;
  statesKnown_ = 0;
  lastKnown_ = nullptr;
  rows_.clear();
  highlightFirst_ = 1, highlightLast_ = 0;
}

void PaneRows::end() {
  textStore_->reset();
  gutterStore_->reset();
}

void PaneRows::addRule() { rows_.push_back({nullptr, 0, kRule, kLineSame}); }

void PaneRows::addFiller(int count) {
  rows_.insert(rows_.end(), count, Row{nullptr, 0, kFiller, kLineSame});
}

void PaneRows::addFileLine(long number, line* l, LineKind kind) {
  rows_.push_back({l, static_cast<int32_t>(number), kText, kind});
}

void PaneRows::setPartner(PaneRows* other, bool right) {
  other_ = other;
  right_ = right;
}

void PaneRows::setLineChanges(bool on, int options) {
  lineChanges_ = on;
  options_ = options;
}

void PaneRows::setHighlight(int first, int last, unsigned long pixel) {
  int oldFirst = highlightFirst_, oldLast = highlightLast_;
  highlightFirst_ = first, highlightLast_ = last, highlight_ = pixel;
  if (oldFirst <= oldLast) textStore_->rowsChanged(oldFirst, oldLast);
  if (first <= last) textStore_->rowsChanged(first, last);
}

unsigned long PaneRows::background(int number) const {
  if (number >= highlightFirst_ && number <= highlightLast_) return highlight_;
  switch (row(number).change) {
    case kLineChanged: return diffchanged_pixel;
    case kLineOnlyHere: return right_ ? diffinserted_pixel : diffdeleted_pixel;
    default: return textView_->getBackgroundPixel();
  }
}

// Every text row is as high as the text font; the element heights agree,
// so measuring a row never needs building it.
int PaneRows::rowHeight(int number) {
  if (row(number).kind == kRule) return kRuleHeight;
  if (textHeight_ == 0) {
    ColorText sample(px(fg_pixel), px(bg_pixel), VF_TEXT, "X", 1);
    textHeight_ = std::max(1, sample.getHeight(textView_));
  }
  return textHeight_;
}

synLineStart PaneRows::startOf(int number, line* l) {
  if (!language_) return {};
  while (statesKnown_ < number) {
    line* next = lastKnown_ ? lastKnown_->next : file_->firstLine;
    if (!next) break;
    synLineStart start{};
    if (lastKnown_) {
      synLineStart previous = unpack(lastKnown_->syntaxState);
      const char* text = FileLineText(file_, lastKnown_);
      start = syn_GetSynstate(language_, &previous, text ? text : "",
                              text ? static_cast<int>(lastKnown_->length) : 0);
    }
    next->syntaxState = pack(start);
    lastKnown_ = next;
    statesKnown_++;
  }
  return unpack(l->syntaxState);
}
