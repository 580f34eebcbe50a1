// Start-up defaults: the table defaults, and the X resource values the
// toolkit supplies through its lookup hook, which take their place.
#include <cctype>
#include <cstring>
#include <string>

#include "base/gen.h"
#include "config/config.h"
#include "config/config_dirs.h"
#include "config/config_private.h"

namespace {

// Resource values this long or longer are ignored.
constexpr size_t kMaxResourceValue = 512;

std::string withFirst(const char* text, bool upper) {
  std::string s = text ? text : "";
  if (!s.empty()) {
    unsigned char c = static_cast<unsigned char>(s[0]);
    s[0] = static_cast<char>(upper ? toupper(c) : tolower(c));
  }
  return s;
}

// One lookup; a value that is too long counts as none.
const char* lookup(const std::string& name, const std::string& cls) {
  const char* value = cfg_LookupXResource(name.c_str(), cls.c_str());
  if (value && strlen(value) >= kMaxResourceValue) {
    gen_warning("ignoring X resource value for '%s', which is too long.", name.c_str());
    return nullptr;
  }
  return value;
}

// Applies the X resource of `option` when there is one that it accepts.
bool applyResource(_ConfigOption* option) {
  char* value = shr_get_default_val(option->name);
  if (!value) return false;
  bool ok = cfg_ApplyValue(option, value, true) != 0;
  gen_free(value);
  return ok;
}

long asNumber(const _ConfigOption* option) {
  if (!option->variable) return 0;
  if (option->type == CFG_BOOLEAN) return *static_cast<const bool*>(option->variable);
  return *static_cast<const int*>(option->variable);
}

void setNumberDefault(_ConfigOption* option) {
  if (!option->variable || asNumber(option) != 0 || applyResource(option)) return;
  if (option->type == CFG_BOOLEAN) {
    *static_cast<bool*>(option->variable) = option->default_value != 0;
  } else {
    *static_cast<int*>(option->variable) = static_cast<int>(option->default_value);
  }
}

void setStringDefault(_ConfigOption* option) {
  char** var = static_cast<char**>(option->variable);
  if (!var || *var || applyResource(option)) return;
  if (option->default_text) *var = gen_copy(option->default_text);
}

void setColorDefault(_ConfigOption* option) {
  if (applyResource(option) || !option->default_text) return;
  cfg_ApplyValue(option, option->default_text, true);
}

}  // namespace

char* shr_get_default_val(const char* option) {
  if (!option || !*option) return nullptr;
  char* base = gen_basename(gen_getprogname());
  std::string resource = withFirst(option, false);
  std::string cls = "Vorne." + withFirst(option, true);
  const char* value = lookup(withFirst(base, false) + "." + resource, cls);
  gen_free(base);
  if (!value) value = lookup("vorne." + resource, cls);
  return value ? gen_copy(value) : nullptr;
}

void cfg_SetTableDefaults(cfg_Table* table) {
  for (int r = 0; table && r < table->count; r++) {
    _ConfigOption* option = &table->rows[r];
    switch (option->type) {
      case CFG_BOOLEAN:
      case CFG_INTEGER:
      case CFG_CHOICE: setNumberDefault(option); break;
      case CFG_STRING: setStringDefault(option); break;
      case CFG_COLOR: setColorDefault(option); break;
      case CFG_SIZE:
      case CFG_FUNCTION: break;
      default: gen_error("Unrecognized Config Option Type\n");
    }
  }
}

void cfg_SetEverythingToDefaults() {
  for (int t = 0; t < cfg_table_count; t++) cfg_SetTableDefaults(&cfg_tables[t]);
}
