// The options database object: file access, macros and reading switches
// around the reader and writer.
#include "libs/libcxxutil/options_database.h"

#include <cstdio>
#include <string>

#include "libs/libcxxutil/options_reader.h"

namespace {

bool readWholeFile(const char* path, std::string* out) {
  if (!path) return false;
  FILE* f = fopen(path, "rb");
  if (!f) return false;
  char buf[8192];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) out->append(buf, n);
  bool ok = !ferror(f);
  fclose(f);
  return ok;
}

}  // namespace

bool ut_options_database::read_from_file_name(const char* path) {
  std::string text;
  if (!readWholeFile(path, &text)) {
    root_.clear();
    error_count_ = 0;
    return false;
  }
  return read_from_string(text, path);
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
