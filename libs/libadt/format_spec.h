// Private pieces shared by the formatter's files: one parsed conversion
// (flags, width, precision, length) and the output counter that feeds the
// caller's sink and lays out padding the way printf does.
#pragma once

#include <string_view>

#include "libs/libadt/format.h"

namespace mt_format {

enum class Length { None, hh, h, l, ll, j, z, t, L };

struct Spec {
  bool left = false;    // '-'
  bool plus = false;    // '+'
  bool space = false;   // ' '
  bool alt = false;     // '#'
  bool zero = false;    // '0'
  int width = 0;
  int precision = -1;   // -1: none given
  Length length = Length::None;
  char conv = 0;
};

// Counts what it passes on; a null sink only counts.
class Out {
 public:
  Out(MT_Sink sink, void* ctx) : sink_(sink), ctx_(ctx) {}
  void put(std::string_view s);
  void fill(char c, long n);
  // Writes sign/base prefix and body within the field width: spaces on the
  // left or right, or zeros between prefix and body when `zeros` is set.
  void field(const Spec& spec, std::string_view prefix, std::string_view body,
             bool zeros);
  long count() const { return count_; }

 private:
  MT_Sink sink_;
  void* ctx_;
  long count_ = 0;
};

// The sign a signed conversion shows for a value of the given sign.
std::string_view sign_prefix(const Spec& spec, bool negative);

// Floating conversions e E f F g G, correctly rounded.
void format_float(Out& out, const Spec& spec, double value);
void format_float(Out& out, const Spec& spec, long double value);

}  // namespace mt_format
