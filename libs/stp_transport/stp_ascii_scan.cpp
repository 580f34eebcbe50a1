// Lexical rules of the text encoding.  Groups are skipped by counting
// brackets, not by recursion, so deep nesting costs no stack.
#include "libs/stp_transport/stp_ascii_scan.h"

#include <cstring>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

long StpAsciiScanner::skipBlanks(long i) const {
  while (isBlank(at(i))) i++;
  return i;
}

bool StpAsciiScanner::atGroupEnd(long i) const {
  const char c = at(i);
  return c == '\0' || c == ']' || c == '}';
}

long StpAsciiScanner::nameEnd(long i) const {
  for (char c = at(i); c && !isBlank(c) && !std::strchr(":{}[]\"(", c); c = at(++i)) {
  }
  return i;
}

long StpAsciiScanner::tokenEnd(long i) const {
  for (char c = at(i); c && !isBlank(c); c = at(++i)) {
  }
  return i;
}

long StpAsciiScanner::quoteClose(long i) const {
  // From quote to quote: a quote after an odd run of backslashes is
  // escaped; a NUL ends the text wherever it is.
  for (i++; i < end_;) {
    const auto* q = static_cast<const uint8_t*>(std::memchr(base_ + i, '"', end_ - i));
    const long quote = q ? q - base_ : end_;
    if (const void* nul = std::memchr(base_ + i, '\0', quote - i))
      return static_cast<const uint8_t*>(nul) - base_;
    if (quote == end_) return end_;
    long slashes = quote;
    while (slashes > i && base_[slashes - 1] == '\\') slashes--;
    if ((quote - slashes) % 2 == 0) return quote;
    i = quote + 1;
  }
  return i;
}

long StpAsciiScanner::quotedEnd(long i) const {
  const long close = quoteClose(i);
  return at(close) == '"' ? close + 1 : close;
}

long StpAsciiScanner::groupEnd(long i) const {
  long depth = 0;
  for (char c = at(i); c; c = at(i)) {
    if (c == '"') {
      i = quotedEnd(i);
      continue;
    }
    if (c == '{' || c == '[') depth++;
    if ((c == '}' || c == ']') && --depth == 0) return i + 1;
    i++;
  }
  return i;
}

long StpAsciiScanner::skipValue(long i) const {
  if (at(i) == '(') {
    while (at(i) && at(i) != ')') i++;
    if (at(i)) i++;
  }
  const char c = at(i);
  if (c == '"') return quotedEnd(i);
  if (c == '{' || c == '[') return groupEnd(i);
  while (!isBlank(at(i)) && !atGroupEnd(i)) i++;
  return i;
}

long StpAsciiScanner::skipField(long i) const {
  const long name = nameEnd(i);
  return at(name) == ':' ? skipValue(name + 1) : skipValue(i);
}
