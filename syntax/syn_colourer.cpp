// The line colourer: turns one line, from the state it starts in, into
// runs of equal class reported in order without gaps, and returns the
// state at the end.  Adjacent runs of one class are merged unless the
// caller wants every piece.
#include <algorithm>

#include "syntax/syn_language.h"

namespace {

// Collects runs, merging neighbours of equal status, and hands them on.
class RunSink {
 public:
  RunSink(synLanguageInterface* language, synRunCallback callback, void* context,
          const char* text, bool everyPiece, synState extraBits)
      : language_(language), callback_(callback), context_(context), text_(text),
        everyPiece_(everyPiece), extraBits_(extraBits) {}
  ~RunSink() { Flush(); }

  void Add(int start, int count, synState status) {
    if (count <= 0) return;
    status |= extraBits_;
    if (!everyPiece_ && count_ > 0 && status == status_ && start_ + count_ == start) {
      count_ += count;
      return;
    }
    Flush();
    start_ = start;
    count_ = count;
    status_ = status;
  }

  void Flush() {
    if (count_ > 0 && callback_) {
      callback_(language_, context_, text_, start_, count_, status_);
    }
    count_ = 0;
  }

 private:
  synLanguageInterface* language_;
  synRunCallback callback_;
  void* context_;
  const char* text_;
  bool everyPiece_;
  synState extraBits_;
  int start_ = 0, count_ = 0;
  synState status_ = 0;
};

}  // namespace

int synLanguage::FinishSyntaxStatus(synState state, const char* text, int position,
                                    int length, bool* closed) {
  bool dummy = false;
  bool& done = closed ? *closed : dummy;
  done = true;
  const synState cls = ::GetPureSyntaxStatus(state);
  switch (cls) {
    case SYN_DEAD_CODE:
    case SYN_LINE_COMMENT:
      done = false;
      return length;
    case SYN_STRING:
    case SYN_CHARACTER:
      return FindItemEnd(cls, 0, text, position, length, &done);
    case SYN_STRING2:
    case SYN_CHARACTER2:
      return FindItemEnd(cls, 1, text, position, length, &done);
    case SYN_COMMENT:
      return FindItemEnd(cls, 0, text, position, length, &done);
    case SYN_BLOCK:
      return FindItemEnd(cls, pairIndex_, text, position, length, &done);
    case SYN_KEYWORD: case SYN_PREPROCESSOR: case SYN_INTEGER:
    case SYN_FLOAT: case SYN_CUSTOMIZED:
      return FindWordEnd(text, position, length);
    default:
      return position;
  }
}

namespace {

// The first run of a line that starts inside a construct: disabled code
// takes the whole line, anything else runs to its end.  Returns where the
// line goes on; *state loses the construct when it ended on the line.
int FinishOpenConstruct(synLanguage* lang, synState* state, const char* text,
                        int position, int end, int length, RunSink* sink) {
  if (*state & SYN_DEAD_CODE) {
    sink->Add(position, end - position, SYN_DEAD_CODE);
    return end;
  }
  bool closed = false;
  const int stop = lang->FinishSyntaxStatus(*state, text, position, length, &closed);
  sink->Add(position, std::min(stop, end) - position, GetPureSyntaxStatus(*state));
  if (closed && stop <= end) *state = 0;
  return std::max(stop, position);
}

}  // namespace

synState synLanguage::CalculateTextSynstate(synState startState, const char* text,
                                            int from, int to, int length,
                                            bool everyPiece, synRunCallback callback,
                                            void* context,
                                            const ExtraSyntaxInfoInterface* extra) {
  if (from == 0) Reset(true, 0);
  const int end = std::max(0, std::min(to, length));
  const synState noColour = startState & SYN_NO_COLOR;
  synState state = startState & ~SYN_NO_COLOR;
  int position = std::max(0, from);
  if (state & SYN_SKIP_FIRST) {
    state &= ~SYN_SKIP_FIRST;
    position++;
  }
  RunSink sink(this, callback, context, text, everyPiece, noColour);
  if (position < end && (state & SYN_CLASS_MASK)) {
    position = FinishOpenConstruct(this, &state, text, position, end, length, &sink);
  }
  while (position < end) {
    int n = 0;
    const synState cls = FindSyntaxStatus(state, text, position, length, &n, extra);
    if (cls && n > 0) {
      const int stop = position + n;
      sink.Add(position, std::min(stop, end) - position, cls);
      state |= cls;
      if (tokenClosed_ && stop <= end) state &= ~cls;
      position = stop;
      continue;
    }
    const int stop = std::min(PlainRunEnd(state, text, position, end, length), end);
    sink.Add(position, stop - position, 0);
    state = 0;
    position = stop;
  }
  return state | noColour;
}

// A plain run: in the plain state a run of plain separators (a "." before
// a digit may begin a number, so it ends the run), otherwise one word.
int synLanguage::PlainRunEnd(synState state, const char* text, int position, int end,
                             int length) const {
  if (state != 0 || !IsSafeSeparator(text[position])) {
    return wordFrom_ == position ? wordEnd_ : FindSyntaxWordEnd(text, position, length);
  }
  int stop = position;
  do {
    stop++;
  } while (stop < end && IsSafeSeparator(text[stop]) &&
           !(text[stop] == '.' && stop + 1 < length && text[stop + 1] >= '0' &&
             text[stop + 1] <= '9'));
  return stop;
}

namespace {

struct ElementSearch {
  int position;
  int start;
};

void NoteElementStart(synLanguageInterface*, void* context, const char*, int start,
                      int count, synState) {
  auto* search = static_cast<ElementSearch*>(context);
  if (search->position >= start && search->position < start + count) {
    search->start = start;
  }
}

}  // namespace

int synLanguage::GetSyntaxElementStartPosition(synState state, const char* text,
                                               int position, int length) {
  ElementSearch search{position, position};
  CalculateTextSynstate(state, text, 0, length, length, true, NoteElementStart, &search,
                        nullptr);
  return search.start;
}
