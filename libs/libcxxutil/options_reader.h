// The options-file reader and writer behind ut_options_database: text in,
// tree out, and back.  Private to the library; the format is described in
// options_database.h.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "libs/libcxxutil/options_database.h"
#include "libs/libcxxutil/options_node.h"

using ut_macro_table = std::map<std::string, ut_options_database::macro, std::less<>>;

struct ut_reader_settings {
  bool compatibility = false;
  bool memory_size = false;
  bool allow_lists = false;
  const ut_macro_table* macros = nullptr;
};

struct ut_reader_result {
  bool ok = true;  // false when an error stopped the reading
  int errors = 0;  // parse errors reported
};

// Parses `text` into `root` (which is not cleared first).  `source` names
// the text in messages.
ut_reader_result ut_read_options(std::string_view text, const char* source,
                                 const ut_reader_settings& settings,
                                 ut_options_node* root);

// Renders `root`'s attributes and children in the file format.
std::string ut_write_options(const ut_options_node& root, bool allow_lists);

// True for the characters an unquoted name is made of.
bool ut_is_name_char(char c);
