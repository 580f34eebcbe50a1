// The formatter's driver: walks the format, parses each conversion and
// prints integers, characters, strings, pointers and Roman numerals itself;
// floating conversions live in format_float.cpp.  Output goes piece by piece
// to the caller's sink.
#include "libs/libadt/format.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>

#include "libs/libadt/adt_report.h"
#include "libs/libadt/format_spec.h"

namespace mt_format {

void Out::put(std::string_view s) {
  if (s.empty()) return;
  if (sink_ != nullptr) sink_(ctx_, s.data(), static_cast<long>(s.size()));
  count_ += static_cast<long>(s.size());
}

void Out::fill(char c, long n) {
  char block[64];
  std::memset(block, c, sizeof block);
  while (n > 0) {
    long chunk = n < 64 ? n : 64;
    put(std::string_view(block, static_cast<size_t>(chunk)));
    n -= chunk;
  }
}

void Out::field(const Spec& spec, std::string_view prefix,
                std::string_view body, bool zeros) {
  long pad = spec.width - static_cast<long>(prefix.size() + body.size());
  if (spec.left) {
    put(prefix);
    put(body);
    fill(' ', pad);
  } else if (zeros) {
    put(prefix);
    fill('0', pad);
    put(body);
  } else {
    fill(' ', pad);
    put(prefix);
    put(body);
  }
}

std::string_view sign_prefix(const Spec& spec, bool negative) {
  if (negative) return "-";
  if (spec.plus) return "+";
  if (spec.space) return " ";
  return "";
}

}  // namespace mt_format

namespace {

using mt_format::Length;
using mt_format::Out;
using mt_format::Spec;

long long fetch_signed(va_list& ap, Length len) {
  switch (len) {
    case Length::hh: return static_cast<signed char>(va_arg(ap, int));
    case Length::h: return static_cast<short>(va_arg(ap, int));
    case Length::l: return va_arg(ap, long);
    case Length::ll:
    case Length::L: return va_arg(ap, long long);
    case Length::j: return va_arg(ap, intmax_t);
    case Length::z: return va_arg(ap, std::make_signed_t<size_t>);
    case Length::t: return va_arg(ap, ptrdiff_t);
    case Length::None: break;
  }
  return va_arg(ap, int);
}

unsigned long long fetch_unsigned(va_list& ap, Length len) {
  switch (len) {
    case Length::hh: return static_cast<unsigned char>(va_arg(ap, unsigned));
    case Length::h: return static_cast<unsigned short>(va_arg(ap, unsigned));
    case Length::l: return va_arg(ap, unsigned long);
    case Length::ll:
    case Length::L: return va_arg(ap, unsigned long long);
    case Length::j: return va_arg(ap, uintmax_t);
    case Length::z: return va_arg(ap, size_t);
    case Length::t: return static_cast<std::make_unsigned_t<ptrdiff_t>>(
        va_arg(ap, ptrdiff_t));
    case Length::None: break;
  }
  return va_arg(ap, unsigned);
}

std::string to_digits(unsigned long long v, unsigned base, bool upper) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string s;
  do {
    s.insert(s.begin(), digits[v % base]);
    v /= base;
  } while (v != 0);
  return s;
}

// An integer conversion of magnitude `mag`: precision gives the minimum
// number of digits (precision 0 prints zero as nothing), '#' adds the octal
// "0" or the hexadecimal "0x", '0' pads with zeros unless a precision is set.
void format_integer(Out& out, const Spec& spec, bool negative,
                    unsigned long long mag) {
  unsigned base = 10;
  if (spec.conv == 'o') base = 8;
  if (spec.conv == 'x' || spec.conv == 'X') base = 16;
  std::string digits;
  if (mag != 0 || spec.precision != 0) digits = to_digits(mag, base, spec.conv == 'X');
  if (spec.precision > static_cast<int>(digits.size()))
    digits.insert(0, static_cast<size_t>(spec.precision) - digits.size(), '0');
  if (base == 8 && spec.alt && (digits.empty() || digits[0] != '0'))
    digits.insert(digits.begin(), '0');
  std::string_view prefix;
  if (base == 16 && spec.alt && mag != 0) prefix = spec.conv == 'X' ? "0X" : "0x";
  bool is_signed = spec.conv == 'd' || spec.conv == 'i' || spec.conv == 'r' ||
                   spec.conv == 'R';
  if (is_signed) prefix = mt_format::sign_prefix(spec, negative);
  out.field(spec, prefix, digits, spec.zero && !spec.left && spec.precision < 0);
}

void format_signed(Out& out, const Spec& spec, long long v) {
  unsigned long long mag = v < 0 ? 0ULL - static_cast<unsigned long long>(v)
                                 : static_cast<unsigned long long>(v);
  format_integer(out, spec, v < 0, mag);
}

// Roman numerals cover 1..3999 with the letters i v x l c d m (or their
// capitals); zero, negative numbers and larger numbers, which the classical
// notation cannot write, are printed in decimal as %d would print them.
void format_roman(Out& out, const Spec& spec, long long v) {
  if (v < 1 || v > 3999) {
    format_signed(out, spec, v);
    return;
  }
  static const char kLetters[] = "ivxlcdmIVXLCDM";
  const char* letters = kLetters + (spec.conv == 'R' ? 7 : 0);
  // Each decimal digit as a pattern over the ones, fives and tens letter of
  // its place.
  static const char* const patterns[10] = {"",  "i",  "ii",  "iii",  "iv",
                                           "v", "vi", "vii", "viii", "ix"};
  static const long long place_value[3] = {1, 10, 100};
  std::string s(static_cast<size_t>(v / 1000), letters[6]);
  for (int place = 2; place >= 0; place--) {
    long long digit = v / place_value[place] % 10;
    for (const char* p = patterns[digit]; *p != '\0'; p++) {
      int offset = *p == 'i' ? 0 : *p == 'v' ? 1 : 2;
      s += letters[2 * place + offset];
    }
  }
  Spec plain = spec;
  plain.precision = -1;
  out.field(plain, "", s, false);
}

void format_string(Out& out, const Spec& spec, const char* s) {
  if (s == nullptr) s = (spec.precision < 0 || spec.precision >= 6) ? "(null)" : "";
  size_t n = spec.precision < 0 ? std::strlen(s)
                                : strnlen(s, static_cast<size_t>(spec.precision));
  out.field(spec, "", std::string_view(s, n), false);
}

void format_pointer(Out& out, const Spec& spec, const void* p) {
  if (p == nullptr) {
    out.field(spec, "", "(nil)", false);
    return;
  }
  Spec hex = spec;
  hex.conv = 'x';
  hex.alt = true;
  format_integer(out, hex, false, reinterpret_cast<uintptr_t>(p));
}

const char* parse_number(const char* f, int* n) {
  *n = 0;
  while (*f >= '0' && *f <= '9') *n = *n * 10 + (*f++ - '0');
  return f;
}

const char* parse_flags(const char* f, Spec& spec) {
  for (;; f++) {
    switch (*f) {
      case '-': spec.left = true; break;
      case '+': spec.plus = true; break;
      case ' ': spec.space = true; break;
      case '#': spec.alt = true; break;
      case '0': spec.zero = true; break;
      case '\'': break;  // digit grouping: nothing to group in the C locale
      default: return f;
    }
  }
}

const char* parse_width_precision(const char* f, Spec& spec, va_list& ap) {
  if (*f == '*') {
    spec.width = va_arg(ap, int);
    if (spec.width < 0) {
      spec.left = true;
      spec.width = -spec.width;
    }
    f++;
  } else {
    f = parse_number(f, &spec.width);
  }
  if (*f != '.') return f;
  f++;
  if (*f == '*') {
    spec.precision = va_arg(ap, int);
    if (spec.precision < 0) spec.precision = -1;
    return f + 1;
  }
  return parse_number(f, &spec.precision);
}

const char* parse_length(const char* f, Spec& spec) {
  switch (*f) {
    case 'h':
      if (f[1] == 'h') { spec.length = Length::hh; return f + 2; }
      spec.length = Length::h; return f + 1;
    case 'l':
      if (f[1] == 'l') { spec.length = Length::ll; return f + 2; }
      spec.length = Length::l; return f + 1;
    case 'q': spec.length = Length::ll; return f + 1;
    case 'j': spec.length = Length::j; return f + 1;
    case 'z':
    case 'Z': spec.length = Length::z; return f + 1;
    case 't': spec.length = Length::t; return f + 1;
    case 'L': spec.length = Length::L; return f + 1;
    default: return f;
  }
}

// Prints one conversion.  Returns false for %n, which is refused.
bool convert(Out& out, const Spec& spec, va_list& ap, std::string_view text) {
  switch (spec.conv) {
    case '%': out.put("%"); return true;
    case 'd':
    case 'i': format_signed(out, spec, fetch_signed(ap, spec.length)); return true;
    case 'r':
    case 'R': format_roman(out, spec, fetch_signed(ap, spec.length)); return true;
    case 'o':
    case 'u':
    case 'x':
    case 'X':
      format_integer(out, spec, false, fetch_unsigned(ap, spec.length));
      return true;
    case 'c': {
      char c = static_cast<char>(va_arg(ap, int));
      out.field(spec, "", std::string_view(&c, 1), false);
      return true;
    }
    case 's': format_string(out, spec, va_arg(ap, const char*)); return true;
    case 'p': format_pointer(out, spec, va_arg(ap, void*)); return true;
    case 'e': case 'E': case 'f': case 'F': case 'g': case 'G': {
      if (spec.length == Length::L)
        mt_format::format_float(out, spec, va_arg(ap, long double));
      else
        mt_format::format_float(out, spec, va_arg(ap, double));
      return true;
    }
    case 'n': adt_report(3, "%n format is not supported"); return false;
    default: out.put(text); return true;  // unknown: shown as written
  }
}

}  // namespace

int MT_Vsprintf(MT_Sink sink, void* ctx, const char* format, va_list args) {
  if (format == nullptr) return -1;
  va_list ap;
  va_copy(ap, args);
  Out out(sink, ctx);
  const char* f = format;
  bool ok = true;
  while (ok && *f != '\0') {
    const char* pct = std::strchr(f, '%');
    if (pct == nullptr) pct = f + std::strlen(f);
    out.put(std::string_view(f, static_cast<size_t>(pct - f)));
    if (*pct == '\0') break;
    Spec spec;
    const char* p = parse_length(parse_width_precision(parse_flags(pct + 1, spec), spec, ap), spec);
    if (*p == '\0') {
      out.put(pct);  // a conversion cut off by the end of the format
      break;
    }
    spec.conv = *p;
    ok = convert(out, spec, ap, std::string_view(pct, static_cast<size_t>(p + 1 - pct)));
    f = p + 1;
  }
  va_end(ap);
  return ok ? static_cast<int>(out.count()) : -1;
}

int MT_Sprintf(MT_Sink sink, void* ctx, const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  int n = MT_Vsprintf(sink, ctx, format, ap);
  va_end(ap);
  return n;
}
