// Floating conversions of the formatter.  The digits come from
// std::to_chars, which rounds exactly; this file adds what printf adds
// around them: %g's choice between fixed and exponent form, '#', signs,
// upper case, and the spelling of infinities and NaNs.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <string>

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
void strip_zeros(std::string& s) {
  size_t exp = s.find('e');
  std::string tail = exp == std::string::npos ? "" : s.substr(exp);
  std::string mant = s.substr(0, exp);
  if (mant.find('.') == std::string::npos) return;
  while (mant.back() == '0') mant.pop_back();
  if (mant.back() == '.') mant.pop_back();
  s = mant + tail;
}

// '#' keeps the point even with no digits after it.
void ensure_point(std::string& s) {
  if (s.find('.') != std::string::npos) return;
  size_t exp = s.find('e');
  s.insert(exp == std::string::npos ? s.size() : exp, ".");
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
