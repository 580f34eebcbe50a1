// The options database: a structured text file read into a tree of named
// nodes with typed attributes, and written back so that reading the result
// gives the same tree.  Language definitions, the language index and the
// service router's registration file use this format.
//
// File format.  Statements stand one per line and may also be separated by
// ";".  Blanks and tabs separate tokens; "#" or "//" starts a comment that
// runs to the end of the line.
//
//   name = value        sets an attribute of the current node
//   name += value       appends to a list attribute (a single value turns
//                       into the first item of a list)
//   a.b.c = value       walks into (creating) child nodes a and a.b, then
//                       sets c; the walk lasts for the rest of the line
//   name { ... }        statements up to the matching "}" apply to the child
//                       node `name` (created when missing, reused otherwise);
//                       a block may span many lines or sit on one line
//   { ... }             an anonymous child node (always a new one)
//
// Names are identifiers (letters, digits, "_") or double-quoted strings.
// Values:
//   "text"              a string; escapes \" \\ \n \t \$; $(NAME) or
//                       ${NAME} expands a macro
//   true yes on         boolean 1, any case
//   false no off        boolean 0, any case
//   12 0x1f 017         integers (decimal, hexadecimal, leading-zero octal),
//                       32 bits, optionally after a separate minus sign; with
//                       the memory-size mode on, a "K" or "M" suffix (either
//                       case) multiplies by 1024 or 1048576
//   NAME, $(NAME)       the value of a macro (an integer macro gives an
//                       integer, any other a string)
//   { 1, "a", 2 }       a list of integers and strings, only while integer
//                       lists are allowed; it may span lines
//
// Errors are reported through gen_error as "<file>:<line>: parse error:
// <text>".  In compatibility mode the rest of the line is skipped and
// reading goes on; otherwise reading stops and the read fails.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "libs/libcxxutil/options_node.h"

class ut_options_database {
 public:
  ut_options_database() = default;
  ut_options_database(const ut_options_database&) = delete;
  ut_options_database& operator=(const ut_options_database&) = delete;

  // Replaces the tree by the file's contents.  False when the file cannot
  // be read (nothing is reported: an absent file is often normal) or when a
  // parse error stopped the reading (the statements before it are kept).
  // In compatibility mode parse errors are reported but do not fail.
  bool read_from_file_name(const char* path);
  // The same over text in memory; `source_name` names it in messages.
  bool read_from_string(std::string_view text, const char* source_name);

  // Writes the tree; false when the file cannot be written.  Lists are
  // written with braces when integer lists are allowed, otherwise as one
  // "+=" statement per item (an empty list always needs braces).
  bool write_to_file_name(const char* path) const;
  std::string write_to_string() const;

  ut_options_node* get_root_node() { return &root_; }
  const ut_options_node* get_root_node() const { return &root_; }

  // Macros expanded in values.  Defining a name again replaces it.
  void add_macro(const char* name, const char* value);
  void add_int32_macro(const char* name, int32_t value);
  // Every string, integer and boolean attribute of `node` becomes a macro.
  void add_macros_from_tree(const ut_options_node* node);
  // The macro's text (integers in decimal), or null when it is not defined.
  const char* get_define_value(const char* name) const;

  // Skip bad lines instead of stopping (default off).
  void set_compatibility_mode(bool on) { compatibility_ = on; }
  // Accept "K" and "M" after integers (default off).
  void set_memory_size_shortcut_mode(bool on) { memory_size_ = on; }
  // Accept brace lists (default off).
  void set_allow_int32_lists(bool on) { allow_lists_ = on; }

  // Parse errors met by the last read.
  int get_error_count() const { return error_count_; }

  struct macro {
    std::string text;
    bool is_int = false;
    int32_t number = 0;
  };

 private:
  ut_options_node root_;
  std::map<std::string, macro, std::less<>> macros_;
  bool compatibility_ = false;
  bool memory_size_ = false;
  bool allow_lists_ = false;
  int error_count_ = 0;
};
