// Reading conditional directives and following them: a conditional on the
// number 0 disables code up to its else, elif or endif; one on a non-zero
// number opens a live region whose else or elif part is disabled.
#include "syntax/syn_directives.h"

#include <strings.h>

#include <cstring>

#include "syntax/syn_language.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         c == '_';
}
bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool SameName(const char* a, int n, const char* word, bool caseSensitive) {
  if (static_cast<int>(std::strlen(word)) != n) return false;
  return caseSensitive ? std::strncmp(a, word, n) == 0 : strncasecmp(a, word, n) == 0;
}

// Reads the expression after "if" or "elif" at `p`: a plain number followed
// by nothing but blanks or a comment.  -1 when it is no plain number.
int PlainNumberValue(const synLanguage& l, const char* text, int p, int length) {
  if (p >= length || !IsBlank(text[p])) return -1;
  while (p < length && IsBlank(text[p])) p++;
  unsigned long value = 0;
  int digits = 0;
  if (p + 1 < length && text[p] == '0' && (text[p + 1] == 'x' || text[p + 1] == 'X')) {
    for (p += 2; p < length && IsHexDigit(text[p]); p++, digits++) {
      const char c = text[p];
      const unsigned d = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
      value = value * 16 + d;
    }
  } else {
    for (; p < length && text[p] >= '0' && text[p] <= '9'; p++, digits++) {
      value = value * 10 + static_cast<unsigned>(text[p] - '0');
    }
  }
  if (digits == 0 || (p < length && IsNameChar(text[p]))) return -1;
  while (p < length && IsBlank(text[p])) p++;
  if (p < length && text[p] != '\n' && text[p] != '\r') {
    synLanguage::Item item;
    if (!l.MatchDelimitedItem(text, p, length, &item) ||
        !(item.cls & (SYN_COMMENT | SYN_LINE_COMMENT))) {
      return -1;
    }
  }
  return value != 0 ? 1 : 0;
}

}  // namespace

synDirective syn_ParseDirective(const synLanguage& l, const char* text,
                                int leaderPosition, int length) {
  synDirective d;
  int p = leaderPosition + 1;
  while (p < length && IsBlank(text[p])) p++;
  const int name = p;
  while (p < length && IsNameChar(text[p])) p++;
  const int n = p - name;
  const bool cs = l.preprocessor.caseSensitive;
  const bool endsWord = p >= length || IsBlank(text[p]) || text[p] == '/' ||
                        text[p] == '\n' || text[p] == '\r';
  d.kind = synDirective::OTHER;
  if (n >= 2 && (cs ? std::strncmp(text + name, "if", 2) == 0
                    : strncasecmp(text + name, "if", 2) == 0)) {
    d.kind = synDirective::IF;
  } else if (endsWord && SameName(text + name, n, "elif", cs)) {
    d.kind = synDirective::ELIF;
  } else if (endsWord && SameName(text + name, n, "else", cs)) {
    d.kind = synDirective::ELSE;
  } else if (endsWord && SameName(text + name, n, "endif", cs)) {
    d.kind = synDirective::ENDIF;
  }
  const bool conditional = (d.kind == synDirective::IF && n == 2) ||
                           d.kind == synDirective::ELIF;
  if (conditional) {
    const int value = PlainNumberValue(l, text, p, length);
    d.zero = value == 0;
    d.nonZero = value == 1;
  }
  return d;
}

void synConditional::Apply(const synDirective& d) {
  if (!dead) {
    ApplyOutsideDeadCode(d);
    return;
  }
  if (d.kind == synDirective::IF) {
    depth++;
    return;
  }
  if (depth > 1) {
    if (d.kind == synDirective::ENDIF) depth--;
    return;
  }
  if (d.kind == synDirective::ENDIF) {
    *this = synConditional();
  } else if (d.kind == synDirective::ELSE && !live) {
    dead = false;
    depth = 0;
  } else if (d.kind == synDirective::ELIF && !live) {
    dead = false;
    depth = 0;
    ApplyOutsideDeadCode(d);
  }
}

// Inside a live region every nested conditional only counts depth, so the
// region's own else stays recognisable.
void synConditional::ApplyOutsideDeadCode(const synDirective& d) {
  const bool conditional = d.kind == synDirective::IF || d.kind == synDirective::ELIF;
  if (live) {
    if (d.kind == synDirective::IF) {
      depth++;
    } else if (d.kind == synDirective::ENDIF) {
      if (depth <= 1) *this = synConditional();
      else depth--;
    } else if ((d.kind == synDirective::ELSE || d.kind == synDirective::ELIF) &&
               depth <= 1) {
      dead = true;
      depth = 1;
    }
    return;
  }
  if (conditional && d.zero) {
    dead = true;
    depth = 1;
  } else if (conditional && d.nonZero) {
    live = true;
    depth = 1;
  }
}
