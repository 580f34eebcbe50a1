// Floating conversions of the formatter.  The digits come from
// std::to_chars, which rounds exactly; this file adds what printf adds
// around them: %g's choice between fixed and exponent form, '#', signs,
// upper case, and the spelling of infinities and NaNs.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <string>
#include <utility>

#include "libs/libadt/format_spec.h"

namespace mt_format {

namespace {

template <typename T>
std::string digits_of(T v, std::chars_format fmt, int precision) {
  std::string buf(64 + static_cast<size_t>(precision), '\0');
  for (;;) {
    auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), v, fmt,
                                   precision);
    if (ec == std::errc()) {
      buf.resize(static_cast<size_t>(end - buf.data()));
      return buf;
    }
    buf.resize(buf.size() * 2);  // very large fixed-form values
  }
}

// Removes trailing fraction zeros, and the point when nothing follows it.
// The text is rebuilt rather than edited in place: GCC 12 at -O3 warns
// falsely (-Wrestrict) about libstdc++'s in-place insert and replace.
void strip_zeros(std::string& s) {
  size_t exp = std::min(s.find('e'), s.size());
  size_t point = s.find('.');
  if (point >= exp) return;
  size_t keep = exp;
  while (s[keep - 1] == '0') keep--;
  if (keep - 1 == point) keep--;
  std::string out(s, 0, keep);
  out.append(s, exp, std::string::npos);
  s = std::move(out);
}

// '#' keeps the point even with no digits after it.
void ensure_point(std::string& s) {
  if (s.find('.') != std::string::npos) return;
  size_t exp = std::min(s.find('e'), s.size());
  std::string out(s, 0, exp);
  out.push_back('.');
  out.append(s, exp, std::string::npos);
  s = std::move(out);
}

// %g: exponent form when the exponent is below -4 or not below the
// precision, fixed form otherwise; trailing zeros go unless '#'.
template <typename T>
std::string general_digits(T v, const Spec& spec) {
  int p = spec.precision < 0 ? 6 : std::max(spec.precision, 1);
  std::string s = digits_of(v, std::chars_format::scientific, p - 1);
  int x = std::stoi(s.substr(s.find('e') + 1));
  if (p > x && x >= -4) s = digits_of(v, std::chars_format::fixed, p - 1 - x);
  if (!spec.alt) strip_zeros(s);
  return s;
}

template <typename T>
std::string finite_digits(T v, const Spec& spec) {
  char c = static_cast<char>(std::tolower(static_cast<unsigned char>(spec.conv)));
  int precision = spec.precision < 0 ? 6 : spec.precision;
  std::string s;
  if (c == 'f') s = digits_of(v, std::chars_format::fixed, precision);
  if (c == 'e') s = digits_of(v, std::chars_format::scientific, precision);
  if (c == 'g') s = general_digits(v, spec);
  if (spec.alt) ensure_point(s);
  return s;
}

template <typename T>
void format_any(Out& out, const Spec& spec, T value) {
  bool negative = std::signbit(value);
  T mag = std::fabs(value);
  std::string body;
  bool finite = std::isfinite(mag);
  if (std::isnan(mag)) {
    body = "nan";
  } else if (std::isinf(mag)) {
    body = "inf";
  } else {
    body = finite_digits(mag, spec);
  }
  if (std::isupper(static_cast<unsigned char>(spec.conv)))
    std::transform(body.begin(), body.end(), body.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
  out.field(spec, sign_prefix(spec, negative), body,
            finite && spec.zero && !spec.left);
}

}  // namespace

void format_float(Out& out, const Spec& spec, double value) {
  format_any(out, spec, value);
}

void format_float(Out& out, const Spec& spec, long double value) {
  format_any(out, spec, value);
}

}  // namespace mt_format
