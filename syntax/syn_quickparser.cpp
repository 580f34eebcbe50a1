// From one line's start to the next's: the quick parser follows only what
// can stay open across a line end (comments, strings, characters, blocks)
// and the preprocessor conditionals that disable code, without classifying
// words, so that start states for a whole file are cheap to compute.
#include "syntax/syn_directives.h"
#include "syntax/syn_language.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

constexpr synState kPairedItems =
    SYN_STRING | SYN_STRING2 | SYN_CHARACTER | SYN_CHARACTER2 | SYN_BLOCK;

// The pair index an open item uses: strings and characters name it by
// their bit, blocks carry it in the condition word.
int PairOf(synState open, int carried) {
  if (open & (SYN_STRING2 | SYN_CHARACTER2)) return 1;
  if (open & (SYN_STRING | SYN_CHARACTER)) return 0;
  return carried;
}

int TrimmedEnd(const char* text, int length) {
  while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r')) length--;
  return length;
}

}  // namespace

synState synLanguage::ScanOpenItem(synState open, int* pair, const char* text,
                                   int length) const {
  int position = 0;
  if (open) {
    bool closed = false;
    position = FindItemEnd(open, *pair, text, 0, length, &closed);
    if (closed) open = 0;
  }
  while (!open && position < length) {
    if (IsSafeSeparator(text[position])) {
      position++;
      continue;
    }
    Item item;
    if (MatchDelimitedItem(text, position, length, &item)) {
      if (!item.closed) {
        open = item.cls;
        *pair = item.pair;
      }
      position = item.end;
      continue;
    }
    position = FindSyntaxWordEnd(text, position, length);
  }
  return open;
}

// Line comments and items whose pair does not span lines end with the
// line, unless its last character is the escape character.
synState synLanguage::CloseAtLineEnd(synState open, int pair, const char* text,
                                     int length) const {
  const int end = TrimmedEnd(text, length);
  const bool continued = escape >= 0 && end > 0 && text[end - 1] == static_cast<char>(escape);
  if (!open || continued) return open;
  if (open == SYN_LINE_COMMENT) return 0;
  if (!(open & kPairedItems)) return open;
  const std::vector<synDelimiterPair>& pairs =
      open == SYN_BLOCK ? blocks : (open & (SYN_STRING | SYN_STRING2)) ? strings : characters;
  const bool spans = pair >= 0 && pair < static_cast<int>(pairs.size()) && pairs[pair].spanLines;
  return spans ? open : 0;
}

void synLanguage::QuickLineParser(synState* statePtr, uint32_t condition,
                                  const char* text, int length,
                                  uint32_t* nextCondition) {
  synConditional cond;
  cond.dead = *statePtr & SYN_DEAD_CODE;
  cond.live = condition & SYN_COND_LIVE;
  cond.depth = condition & SYN_COND_DEPTH_MASK;
  synState open = ::GetPureSyntaxStatus(*statePtr & SYN_OPEN_ITEM_MASK);
  int pair = PairOf(open, syn_CondPairIndex(condition));

  int first = 0;
  while (first < length && IsBlank(text[first])) first++;
  const bool directiveLine = leader && first < length &&
                             text[first] == static_cast<char>(leader) &&
                             (pascalStylePriority || open == 0);
  if (directiveLine) {
    cond.Apply(syn_ParseDirective(*this, text, first, length));
  } else if (cond.dead && pascalStylePriority) {
    if (nextCondition) *nextCondition = condition;
    return;
  }
  open = ScanOpenItem(open, &pair, text, length);
  open = CloseAtLineEnd(open, pair, text, length);

  *statePtr = open | (cond.dead ? synState{SYN_DEAD_CODE} : synState{0});
  if (!nextCondition) return;
  uint32_t next = (cond.dead || cond.live) ? (cond.depth & SYN_COND_DEPTH_MASK) : 0;
  if (cond.live) next |= SYN_COND_LIVE;
  if (open & kPairedItems) {
    next |= (static_cast<uint32_t>(pair) << SYN_COND_PAIR_SHIFT) & SYN_COND_PAIR_MASK;
  }
  *nextCondition = next;
}
