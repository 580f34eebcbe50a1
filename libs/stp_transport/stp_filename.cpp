// File names in messages, expanded through the foundation's file-name
// functions.
#include "libs/stp_transport/stp_filename.h"

#include <utility>

#include "base/gen.h"

namespace {

char* expanded(const char* name, const char* current_dir) {
  if (!name || !*name) return gen_copy(name);
  if (!current_dir || name[0] == '/' || name[0] == '~') return gen_expand_filename(name);
  char* joined = gen_sconcat(current_dir, name);
  char* result = gen_expand_filename(joined);
  gen_free(joined);
  return result;
}

}  // namespace

STPFilename::STPFilename(const char* name, const char* current_dir)
    : name_(expanded(name, current_dir)) {}

STPFilename::STPFilename(const STPFilename& other) : name_(gen_copy(other.name_)) {}

STPFilename::STPFilename(STPFilename&& other) noexcept
    : name_(std::exchange(other.name_, nullptr)) {}

STPFilename& STPFilename::operator=(const STPFilename& other) {
  if (this != &other) gen_strchange(&name_, other.name_);
  return *this;
}

STPFilename& STPFilename::operator=(STPFilename&& other) noexcept {
  std::swap(name_, other.name_);
  return *this;
}

STPFilename& STPFilename::operator=(const char* name) {
  set(name);
  return *this;
}

STPFilename::~STPFilename() { gen_free(name_); }

void STPFilename::set(const char* name, const char* current_dir) {
  char* replacement = expanded(name, current_dir);
  gen_free(name_);
  name_ = replacement;
}
