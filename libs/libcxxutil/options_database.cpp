// The options database object: file access, macros and reading switches
// around the reader and writer.
#include "libs/libcxxutil/options_database.h"

#include <cstdio>
#include <string>

#include "base/gen.h"
#include "libs/libcxxutil/options_reader.h"

namespace {

// Options files (language definitions, registrations) are small; larger
// ones are not read.
constexpr long kMaxFileBytes = 16L << 20;

}  // namespace

bool ut_options_database::read_from_file_name(const char* path) {
  long size = 0;
  char* text = gen_read_data_file(path, kMaxFileBytes, &size, "options file");
  if (!text) {
    root_.clear();
    error_count_ = 0;
    return false;
  }
  bool ok = read_from_string(std::string_view(text, static_cast<size_t>(size)), path);
  gen_free(text);
  return ok;
}

bool ut_options_database::read_from_string(std::string_view text,
                                           const char* source_name) {
  root_.clear();
  ut_reader_settings settings;
  settings.compatibility = compatibility_;
  settings.memory_size = memory_size_;
  settings.allow_lists = allow_lists_;
  settings.macros = &macros_;
  ut_reader_result result = ut_read_options(text, source_name, settings, &root_);
  error_count_ = result.errors;
  return result.ok;
}

bool ut_options_database::write_to_file_name(const char* path) const {
  if (!path) return false;
  FILE* f = fopen(path, "w");
  if (!f) return false;
  std::string text = write_to_string();
  bool ok = fwrite(text.data(), 1, text.size(), f) == text.size();
  return fclose(f) == 0 && ok;
}

std::string ut_options_database::write_to_string() const {
  return ut_write_options(root_, allow_lists_);
}

void ut_options_database::add_macro(const char* name, const char* value) {
  if (!name) return;
  macro m;
  m.text = value ? value : "";
  macros_[name] = std::move(m);
}

void ut_options_database::add_int32_macro(const char* name, int32_t value) {
  if (!name) return;
  macro m;
  m.text = std::to_string(value);
  m.is_int = true;
  m.number = value;
  macros_[name] = std::move(m);
}

void ut_options_database::add_macros_from_tree(const ut_options_node* node) {
  if (!node) return;
  for (const auto& a : node->attributes()) {
    if (a.kind == ut_value_kind::string) {
      add_macro(a.name.c_str(), a.text.c_str());
    } else if (a.kind != ut_value_kind::list) {
      add_int32_macro(a.name.c_str(), a.number);
    }
  }
}

const char* ut_options_database::get_define_value(const char* name) const {
  if (!name) return nullptr;
  auto it = macros_.find(name);
  return it == macros_.end() ? nullptr : it->second.text.c_str();
}
