// The text body reader.  Every scan goes through StpAsciiScanner, which
// stops at the end of the body, so no malformed text reads outside it.
#include "libs/stp_transport/stp_ascii_imsg.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/gen.h"
#include "libs/stp_transport/stp_ascii_scan.h"

namespace {

int digitValue(char c, int base) {
  int value = base;
  if (c >= '0' && c <= '9') value = c - '0';
  if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < base ? value : -1;
}

}  // namespace

STPAsciiIMsg::STPAsciiIMsg(const uint8_t* bytes, uint32_t header_length, uint32_t body_length)
    : STPIMsg(bytes, header_length, body_length), next_(body_start_) {}

STPAsciiIMsg::STPAsciiIMsg(const STPIMsg& message) : STPIMsg(message), next_(body_start_) {
  rewind();
}

StpAsciiScanner STPAsciiIMsg::scanner() const { return {get_base(), get_end_pos()}; }

void STPAsciiIMsg::moveToEnd() {
  set_pos(get_end_pos());
  next_ = get_end_pos();
}

// ---- finding fields -----------------------------------------------------------

bool STPAsciiIMsg::findTag(const char* tag) {
  if (!tag) return false;
  const StpAsciiScanner s = scanner();
  const long length = static_cast<long>(std::strlen(tag));
  long p = next_;
  for (bool first = true;; first = false) {
    p = s.skipBlanks(p);
    if (s.atGroupEnd(p)) return false;
    const long name = s.nameEnd(p);
    const long after = s.skipField(p);
    if (s.at(name) == ':' && name - p == length && std::memcmp(s.text(p), tag, length) == 0) {
      set_pos(name + 1);
      if (first) next_ = after;
      return true;
    }
    p = after;
  }
}

const char* STPAsciiIMsg::findNextTag(int* length) {
  const StpAsciiScanner s = scanner();
  *length = 0;
  const long p = s.skipBlanks(next_);
  const long name = s.nameEnd(p);
  if (s.atGroupEnd(p) || s.at(name) != ':') return nullptr;
  set_pos(name + 1);
  next_ = s.skipValue(name + 1);
  *length = static_cast<int>(name - p);
  return s.text(p);
}

bool STPAsciiIMsg::findNextValue() {
  const StpAsciiScanner s = scanner();
  const long p = s.skipBlanks(next_);
  set_pos(p);
  if (s.atGroupEnd(p)) return false;
  const long name = s.nameEnd(p);
  const long value = s.at(name) == ':' ? name + 1 : p;
  set_pos(value);
  next_ = s.skipValue(value);
  return true;
}

bool STPAsciiIMsg::skipOptionalLbrace() {
  const StpAsciiScanner s = scanner();
  const long p = s.skipBlanks(next_);
  if (s.at(p) != '{') return false;
  set_pos(p + 1);
  next_ = p + 1;
  return true;
}

// ---- values at the position ------------------------------------------------------

uint32_t STPAsciiIMsg::parseNumber() {
  const StpAsciiScanner s = scanner();
  const long end = s.skipValue(get_pos());
  const std::string token(s.text(get_pos()), static_cast<size_t>(end - get_pos()));
  set_pos(end);
  return static_cast<uint32_t>(std::strtoul(token.c_str(), nullptr, 0));
}

uint64_t STPAsciiIMsg::parseLargeNumber() {
  const StpAsciiScanner s = scanner();
  long p = get_pos();
  const bool negative = s.at(p) == '-';
  if (s.at(p) == '-' || s.at(p) == '+') p++;
  int base = 10;
  if (s.at(p) == '0' && (s.at(p + 1) == 'x' || s.at(p + 1) == 'X')) {
    base = 16;
    p += 2;
  }
  uint64_t value = 0;
  for (int digit; (digit = digitValue(s.at(p), base)) >= 0; p++) value = value * base + digit;
  set_pos(p);
  return negative ? 0 - value : value;
}

char* STPAsciiIMsg::parseString() {
  const StpAsciiScanner s = scanner();
  long p = get_pos();
  if (s.at(p) != '"') {
    set_pos(s.skipValue(p));
    return nullptr;
  }
  // Copied in runs between backslashes up to the closing quote, straight
  // into the caller's string.
  const long close = s.quoteClose(p);
  char* text = static_cast<char*>(gen_alloc(1, close - p));
  char* out = text;
  for (long i = p + 1; i < close; i += 2) {
    const auto* slash = static_cast<const char*>(std::memchr(s.text(i), '\\', close - i));
    const long run = slash ? slash - s.text(i) : close - i;
    std::memcpy(out, s.text(i), static_cast<size_t>(run));
    out += run;
    i += run;
    const char c = s.at(i + 1);
    if (i >= close || !c) break;
    *out++ = c == 'n' ? '\n' : c;
  }
  *out = '\0';
  set_pos(s.at(close) == '"' ? close + 1 : close);
  return text;
}

const char* STPAsciiIMsg::takeIdent(int* length) {
  const StpAsciiScanner s = scanner();
  const long start = get_pos();
  const long end = s.tokenEnd(start);
  set_pos(end);
  *length = static_cast<int>(end - start);
  return s.text(start);
}

const char* STPAsciiIMsg::parseQuotedIdent(int* length) {
  const StpAsciiScanner s = scanner();
  const long start = get_pos();
  if (s.at(start) != '"') return takeIdent(length);
  *length = static_cast<int>(s.quoteClose(start) - start - 1);
  set_pos(s.quotedEnd(start));
  return s.text(start + 1);
}

// ---- getters ----------------------------------------------------------------------

uint32_t STPAsciiIMsg::getNumber() { return findNextValue() ? parseNumber() : 0; }

uint32_t STPAsciiIMsg::getNumber(const char* tag) { return findTag(tag) ? parseNumber() : 0; }

uint64_t STPAsciiIMsg::getLargeNumber() { return findNextValue() ? parseLargeNumber() : 0; }

uint64_t STPAsciiIMsg::getLargeNumber(const char* tag) {
  return findTag(tag) ? parseLargeNumber() : 0;
}

char* STPAsciiIMsg::getString() { return findNextValue() ? parseString() : nullptr; }

char* STPAsciiIMsg::getString(const char* tag) { return findTag(tag) ? parseString() : nullptr; }

const char* STPAsciiIMsg::getIdent(int* length) {
  if (findNextValue()) return takeIdent(length);
  *length = 0;
  return "";
}

const char* STPAsciiIMsg::getIdent(const char* tag, int* length) {
  if (findTag(tag)) return takeIdent(length);
  *length = 0;
  return "";
}

const char* STPAsciiIMsg::peekIdent(int* length) {
  const long next = next_, pos = get_pos();
  const char* ident = getIdent(length);
  next_ = next;
  set_pos(pos);
  return ident;
}

const char* STPAsciiIMsg::peekIdent(const char* tag, int* length) {
  const long next = next_, pos = get_pos();
  const char* ident = getIdent(tag, length);
  next_ = next;
  set_pos(pos);
  return ident;
}

const char* STPAsciiIMsg::getQuotedIdent(int* length) {
  if (findNextValue()) return parseQuotedIdent(length);
  *length = 0;
  return "";
}

const char* STPAsciiIMsg::getQuotedIdent(const char* tag, int* length) {
  if (findTag(tag)) return parseQuotedIdent(length);
  *length = 0;
  return "";
}

// ---- groups ----------------------------------------------------------------------

bool STPAsciiIMsg::enter(bool found, char open, STPAsciiIMsgParamState* state, long* count) {
  const StpAsciiScanner s = scanner();
  state->outer_next = next_;
  long p = s.skipBlanks(get_pos());
  if (found && open == '[' && s.at(p) == '(') {
    long close = p + 1;
    while (s.at(close) && s.at(close) != ')') close++;
    const std::string digits(s.text(p + 1), static_cast<size_t>(close - p - 1));
    *count = std::clamp(std::strtol(digits.c_str(), nullptr, 0), 0L, s.end() - p);
    p = s.at(close) ? close + 1 : close;
  }
  if (!found || s.at(p) != open) {
    moveToEnd();
    return false;
  }
  set_pos(p + 1);
  next_ = p + 1;
  return true;
}

int STPAsciiIMsg::arrayCount(bool found, STPAsciiIMsgParamState* state) {
  long count = -1;
  if (!enter(found, '[', state, &count)) return 0;
  if (count >= 0) return static_cast<int>(count);
  const StpAsciiScanner s = scanner();
  if (s.at(s.skipBlanks(next_)) != ']') gen_warning("unspecified stp ascii array size");
  return 0;
}

bool STPAsciiIMsg::getStartStruct(STPAsciiIMsgParamState* state) {
  long count = -1;
  return enter(findNextValue(), '{', state, &count);
}

bool STPAsciiIMsg::getStartStruct(const char* tag, STPAsciiIMsgParamState* state) {
  long count = -1;
  return enter(findTag(tag), '{', state, &count);
}

int STPAsciiIMsg::getStartArray(STPAsciiIMsgParamState* state) {
  return arrayCount(findNextValue(), state);
}

int STPAsciiIMsg::getStartArray(const char* tag, STPAsciiIMsgParamState* state) {
  return arrayCount(findTag(tag), state);
}

void STPAsciiIMsg::leave(char close, const STPAsciiIMsgParamState* state) {
  const StpAsciiScanner s = scanner();
  long p = s.skipBlanks(next_);
  while (!s.atGroupEnd(p)) p = s.skipBlanks(s.skipField(p));
  set_pos(s.at(p) == close ? p + 1 : s.end());
  next_ = state->outer_next;
}

const char* STPAsciiIMsg::getRemainder() {
  const StpAsciiScanner s = scanner();
  const long p = s.skipBlanks(next_);
  moveToEnd();
  return s.text(p);
}

const char* STPAsciiIMsg::getAsciiContent() const {
  return reinterpret_cast<const char*>(get_base()) + body_start_;
}
