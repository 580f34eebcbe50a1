// One configuration line: split into a name and a value, looked up in the
// option tables, and applied, sent to the configuration service, tried as
// a key binding, or reported as unknown.
#include <cstring>
#include <string>

#include "base/gen.h"
#include "config/config.h"
#include "config/config_private.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isSeparator(char c) { return isBlank(c) || c == ':' || c == '='; }

// Splits a trimmed line: the name runs to the first blank, tab, ":" or
// "="; the run of those that follows is skipped; the rest is the value.
void tokenize(const std::string& line, std::string* name, std::string* value) {
  size_t end = 0;
  while (end < line.size() && !isSeparator(line[end])) end++;
  *name = line.substr(0, end);
  while (end < line.size() && isSeparator(line[end])) end++;
  *value = line.substr(end);
}

std::string trimmed(const char* line) {
  while (isBlank(*line)) line++;
  std::string text = line;
  while (!text.empty() && (isBlank(text.back()) || text.back() == '\n' ||
                           text.back() == '\r')) {
    text.pop_back();
  }
  return text;
}

bool isConditionalWord(const std::string& name) {
  for (const char* word : {"endif", "else", "elseif", "elif"}) {
    if (gen_strequal(name.c_str(), word)) return true;
  }
  return false;
}

void listAllOptions() {
  for (int t = 0; t < cfg_table_count; t++) {
    for (int r = 0; r < cfg_tables[t].count; r++) {
      const _ConfigOption* option = &cfg_tables[t].rows[r];
      char* value = cfg_GetOptionValueText(option);
      gen_printf("%s: %s\n", option->name, value);
      gen_free(value);
    }
  }
}

}  // namespace

_ConfigOption* cfg_SearchTable(const char* name, cfg_Table* table, int* row) {
  if (!name || !table) return nullptr;
  for (int r = 0; r < table->count; r++) {
    if (!gen_strequal(table->rows[r].name, name)) continue;
    if (row) *row = r;
    return &table->rows[r];
  }
  return nullptr;
}

_ConfigOption* cfg_FindOption(const char* name) {
  if (!name || !*name) return nullptr;
  for (int t = 0; t < cfg_table_count; t++) {
    int row = 0;
    _ConfigOption* option = cfg_SearchTable(name, &cfg_tables[t], &row);
    if (!option) continue;
    option->index = t * 65536 + row;
    return option;
  }
  return nullptr;
}

const char* cfg_GetColorText(const char* name) {
  _ConfigOption* option = cfg_FindOption(name);
  if (!option || option->type != CFG_COLOR || !option->variable) return nullptr;
  return *static_cast<char**>(option->variable);
}

int cfg_ScanLine(const char* line, int fromFile, int quiet) {
  if (!line) return 0;
  std::string text = trimmed(line);
  if (text.empty() || text[0] == '#') return 1;
  std::string name, value;
  tokenize(text, &name, &value);
  if (isConditionalWord(name)) return 0;

  if (_ConfigOption* option = cfg_FindOption(name.c_str())) {
    const cfg_ConfigService* service = cfg_GetConfigService();
    if (!fromFile && option->broadcast && cfg_ConfigServiceInUse() && service->send) {
      return service->send(text.c_str());
    }
    return cfg_ApplyValue(option, value.c_str(), quiet != 0);
  }
  if (name == "?") {
    if (!quiet) listAllOptions();
    return 1;
  }
  if (cfg_CallBindingHook(name.c_str(), value.c_str())) return 1;
  if (!quiet)
    gen_error("Unknown configuration option: %s %s", cfg_Clipped(name.c_str()).c_str(),
              cfg_Clipped(value.c_str()).c_str());
  return 0;
}
