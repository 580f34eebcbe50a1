// Number recognisers of the colourer: each takes one whole word and tells
// whether it is a number of that form.  Private to the syntax library.
#pragma once

class synLanguage;

// Decimal digits (or, with hex on, "0x" and hex digits) followed by a
// prefix of one of the language's decimal (hex) suffixes.
bool syn_IsInteger(const synLanguage& language, const char* word, int length);
// Digits with at most one "." (or "." and digits), an optional exponent,
// and a prefix of one of the float suffixes.
bool syn_IsFloat(const synLanguage& language, const char* word, int length);
// Ada literals: 1_000, 3.14, 16#FF#, 2#1010#E3, 1.0E-6.
bool syn_IsAdaNumber(const char* word, int length);
