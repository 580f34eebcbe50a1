// Quoting and escaping: showing arbitrary text inside messages, and passing
// file names through shell command lines.  Each function returns a new
// string; a null argument gives null.
#include "base/gen.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

char* to_new_string(const std::string& s) {
  return gen_copyn(s.data(), static_cast<long>(s.size()));
}

// Characters the shell treats specially in an unquoted word.
bool shell_special(char c) {
  return std::strchr(" \t\n\\'\"`$&|;<>()[]{}*?!#~=%^", c) != nullptr;
}

// The C escape letter for c, or 0 when c has none.
char escape_letter(char c) {
  switch (c) {
    case '\n': return 'n';
    case '\t': return 't';
    case '\r': return 'r';
    case '\f': return 'f';
    case '\v': return 'v';
    case '\b': return 'b';
    case '\a': return 'a';
    case '\\': return '\\';
    case '"': return '"';
    default: return 0;
  }
}

char unescape_letter(char c) {
  switch (c) {
    case 'n': return '\n';
    case 't': return '\t';
    case 'r': return '\r';
    case 'f': return '\f';
    case 'v': return '\v';
    case 'b': return '\b';
    case 'a': return '\a';
    default: return c;
  }
}

// Decodes the escape starting after a backslash at s[i]; advances i past it.
char decode_escape(const char* s, size_t& i) {
  if (s[i] < '0' || s[i] > '7') return unescape_letter(s[i++]);
  int value = 0;
  for (int k = 0; k < 3 && s[i] >= '0' && s[i] <= '7'; k++) {
    value = value * 8 + (s[i++] - '0');
  }
  return static_cast<char>(value);
}

}  // namespace

char* gen_quotify_string(const char* s) {
  if (!s) return nullptr;
  std::string out = "\"";
  for (const char* p = s; *p; p++) {
    if (*p == '"' || *p == '\\') out += '\\';
    out += *p;
  }
  out += '"';
  return to_new_string(out);
}

// 'it'\''s' form: safe as one shell word whatever the text holds.
char* gen_single_quotify_string(const char* s) {
  if (!s) return nullptr;
  std::string out = "'";
  for (const char* p = s; *p; p++) {
    if (*p == '\'') {
      out += "'\\''";
    } else {
      out += *p;
    }
  }
  out += '\'';
  return to_new_string(out);
}

char* gen_escapify_string(const char* s) {
  if (!s) return nullptr;
  std::string out;
  for (const char* p = s; *p; p++) {
    const unsigned char c = static_cast<unsigned char>(*p);
    if (const char letter = escape_letter(*p)) {
      out += '\\';
      out += letter;
    } else if (c < 0x20 || c == 0x7f) {
      char octal[8];
      std::snprintf(octal, sizeof octal, "\\%03o", c);
      out += octal;
    } else {
      out += *p;
    }
  }
  return to_new_string(out);
}

char* gen_unescapify_string(const char* s) {
  if (!s) return nullptr;
  std::string out;
  for (size_t i = 0; s[i];) {
    if (s[i] == '\\' && s[i + 1]) {
      i++;
      out += decode_escape(s, i);
    } else {
      out += s[i++];
    }
  }
  return to_new_string(out);
}

// Strips one pair of matching outer quotes; inside double quotes the C
// escapes are decoded.  Unquoted text is copied as it stands.
char* gen_dequotify_string(const char* s) {
  if (!s) return nullptr;
  const size_t len = std::strlen(s);
  if (len < 2 || (s[0] != '"' && s[0] != '\'') || s[len - 1] != s[0]) {
    return gen_copy(s);
  }
  std::string inner(s + 1, len - 2);
  if (s[0] == '\'') return to_new_string(inner);
  return gen_unescapify_string(inner.c_str());
}

char* gen_shellescapify_filename(const char* s) {
  if (!s) return nullptr;
  std::string out;
  for (const char* p = s; *p; p++) {
    if (shell_special(*p)) out += '\\';
    out += *p;
  }
  return to_new_string(out);
}

char* gen_unshellescapify_filename(const char* s) {
  if (!s) return nullptr;
  std::string out;
  for (size_t i = 0; s[i]; i++) {
    if (s[i] == '\\' && s[i + 1]) i++;
    out += s[i];
  }
  return to_new_string(out);
}
