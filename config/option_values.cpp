// Setting an option from the value part of a configuration line, by the
// option's type.  A value equal to the current one changes nothing; a
// setter, when present, receives the value instead of the variable being
// written; every change or-s the option's refresh flags into the mask.
#include <climits>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/debugflag.h"
#include "base/gen.h"
#include "config/config.h"
#include "config/config_private.h"
#include "config/config_vars.h"

namespace {

bool dontClearStrings;

// Feedback for the user (no prefix); silent when quiet.
void say(bool quiet, const char* format, ...) __attribute__((format(printf, 2, 3)));
void say(bool quiet, const char* format, ...) {
  if (quiet) return;
  va_list args;
  va_start(args, format);
  char* text = gen_avsprintf(format, args);
  va_end(args);
  gen_printf("%s", text);
  gen_free(text);
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The refusal every type but choices reports, worded for an empty value
// when there was one, followed by the current setting.
int refuse(_ConfigOption* option, const char* value, bool quiet) {
  if (quiet) return 0;
  if (!*value && debugFlag[DBG_DontAllowNullInConfigOptions]) {
    gen_error("NULL is not a valid setting for %s.\n", option->name);
  } else {
    gen_error("\"%s\" is not a valid setting of %s.\n", cfg_Clipped(value).c_str(), option->name);
  }
  if (!*value) {
    char* current = cfg_GetOptionValueText(option);
    gen_printf("Current setting of %s: %s\n", option->name, current);
    gen_free(current);
  }
  return 0;
}

// Hands the value to the setter, or lets `store` write the variable.
template <typename Store>
bool commit(_ConfigOption* option, const cfg_Value& value, Store store) {
  if (option->setter) {
    if (!option->setter(option, &value)) return false;
  } else {
    store();
  }
  cfg_refresh_mask |= option->refresh;
  cfg_NotifyChange(option);
  return true;
}

cfg_Value valueOf(const char* text) {
  cfg_Value v{};
  v.text = text;
  return v;
}

int setBoolean(_ConfigOption* option, const char* value, bool quiet) {
  bool* var = static_cast<bool*>(option->variable);
  while (isBlank(*value)) value++;
  bool current = var && *var;
  bool next;
  if (!*value) {
    next = !current;
  } else if (gen_strequal(value, "yes") || gen_strequal(value, "on") ||
             gen_strequal(value, "1") || gen_strequal(value, "true")) {
    next = true;
  } else if (gen_strequal(value, "no") || gen_strequal(value, "off") ||
             gen_strequal(value, "0") || gen_strequal(value, "false")) {
    next = false;
  } else {
    if (!quiet) {
      gen_error("\"%s\" does not represent a boolean value. Use one of these:\n"
                "yes on 1 true no off 0 false\n", cfg_Clipped(value).c_str());
    }
    return refuse(option, value, quiet);
  }
  if (*value && next == current) return 1;
  cfg_Value v = valueOf(value);
  v.number = next;
  if (!commit(option, v, [&] { if (var) *var = next; })) return refuse(option, value, quiet);
  if (!*value) say(quiet, "Toggling %s:  new value is %s\n", option->name, next ? "On" : "Off");
  return 1;
}

// "all" is the maximum; otherwise a C-style number with an optional K or M.
bool parseInteger(const char* value, const cfg_IntRange* range, long* out) {
  if (gen_strequal(value, "all")) {
    *out = range ? range->maximum : INT_MAX;
    return true;
  }
  char* end = nullptr;
  long long n = strtoll(value, &end, 0);
  if (end == value) return false;
  // Bounded first so that the multiplication below cannot overflow.
  if (n > INT_MAX) n = INT_MAX;
  if (n < INT_MIN) n = INT_MIN;
  if (*end == 'k' || *end == 'K') {
    n *= 1024;
    end++;
  } else if (*end == 'm' || *end == 'M') {
    n *= 1048576;
    end++;
  }
  while (isBlank(*end)) end++;
  if (*end) return false;
  long long lo = range ? range->minimum : INT_MIN;
  long long hi = range ? range->maximum : INT_MAX;
  if (n < lo) n = lo;
  if (n > hi) n = hi;
  *out = static_cast<long>(n);
  return true;
}

int setInteger(_ConfigOption* option, const char* value, bool quiet) {
  int* var = static_cast<int*>(option->variable);
  long n = 0;
  if (!parseInteger(value, static_cast<const cfg_IntRange*>(option->extra), &n)) {
    return refuse(option, value, quiet);
  }
  if (var && *var == n) return 1;
  cfg_Value v = valueOf(value);
  v.number = n;
  if (!commit(option, v, [&] { if (var) *var = static_cast<int>(n); })) {
    return refuse(option, value, quiet);
  }
  return 1;
}

void listChoices(const cfg_ChoiceList* choices) {
  gen_printf("Valid settings:\n");
  for (int i = 0; choices && i < choices->count; i++) {
    gen_printf("  %s\n", choices->settings[i]);
  }
}

int setChoice(_ConfigOption* option, const char* value, bool quiet) {
  const cfg_ChoiceList* choices = static_cast<const cfg_ChoiceList*>(option->extra);
  int found = -1;
  for (int i = 0; choices && i < choices->count && found < 0; i++) {
    if (gen_strequal(value, choices->settings[i])) found = i;
  }
  if (found < 0) {
    if (quiet) return 0;
    if (*value) gen_error("Invalid setting: %s", cfg_Clipped(value).c_str());
    else gen_error("Must give new setting");
    listChoices(choices);
    return 0;
  }
  int* var = static_cast<int*>(option->variable);
  if (var && *var == found) return 1;
  cfg_Value v = valueOf(value);
  v.number = found;
  if (!commit(option, v, [&] { if (var) *var = found; })) return refuse(option, value, quiet);
  return 1;
}

int setColor(_ConfigOption* option, const char* value, bool quiet) {
  cfg_ColorSlot* slot = static_cast<cfg_ColorSlot*>(const_cast<void*>(option->extra));
  cfg_Rgb rgb{};
  if (!*value || cfg_blackwhite || !cfg_ParseColor(value, &rgb)) {
    return refuse(option, value, quiet);
  }
  char** var = static_cast<char**>(option->variable);
  if (var && *var && gen_strequal(*var, value)) return 1;
  if (!cfg_CallColorHook(option, slot, &rgb)) return refuse(option, value, quiet);
  cfg_Value v = valueOf(value);
  v.rgb = rgb;
  bool ok = commit(option, v, [&] {
    if (var) gen_strchange(var, value);
    if (slot) {
      slot->rgb = rgb;
      slot->parsed = true;
    }
  });
  return ok ? 1 : refuse(option, value, quiet);
}

// The first word of the value; a double-quoted string counts as one word
// (its quotes dropped, a backslash keeping the next character).
std::string firstWord(const char* value) {
  std::string word;
  if (*value != '"') {
    while (*value && !isBlank(*value)) word += *value++;
    return word;
  }
  for (value++; *value && *value != '"'; value++) {
    if (*value == '\\' && value[1]) value++;
    word += *value;
  }
  return word;
}

int setString(_ConfigOption* option, const char* value, bool quiet) {
  char** var = static_cast<char**>(option->variable);
  const char* current = var ? *var : nullptr;
  if (!*value) {
    if (dontClearStrings) return refuse(option, value, quiet);
    if (!current) return 1;
    std::string previous = current;
    if (!commit(option, valueOf(value), [&] { gen_strchange(var, nullptr); })) {
      return refuse(option, value, quiet);
    }
    say(quiet, "Setting option %s to NULL.  Previous value: \"%s\"\n", option->name,
        previous.c_str());
    return 1;
  }
  std::string word = firstWord(value);
  if (current && word == current) return 1;
  if (!commit(option, valueOf(word.c_str()), [&] { if (var) gen_strchange(var, word.c_str()); })) {
    return refuse(option, value, quiet);
  }
  return 1;
}

bool parseSize(const char* value, cfg_Size* out) {
  char* end = nullptr;
  long w = strtol(value, &end, 10);
  if (end == value || (*end != 'x' && *end != 'X')) return false;
  const char* rest = end + 1;
  long h = strtol(rest, &end, 10);
  if (end == rest) return false;
  while (isBlank(*end)) end++;
  if (*end || w < INT_MIN || w > INT_MAX || h < INT_MIN || h > INT_MAX) return false;
  *out = {static_cast<int>(w), static_cast<int>(h)};
  return true;
}

int setSize(_ConfigOption* option, const char* value, bool quiet) {
  cfg_Size* var = static_cast<cfg_Size*>(option->variable);
  cfg_Size next{-1, -1};
  if (*value && !parseSize(value, &next)) return refuse(option, value, quiet);
  if (var && var->width == next.width && var->height == next.height) return 1;
  char* previous = cfg_GetOptionValueText(option);
  cfg_Value v = valueOf(value);
  v.size = next;
  bool ok = commit(option, v, [&] { if (var) *var = next; });
  if (ok && !*value) {
    say(quiet, "Setting %s to -1x-1.  Previous value: %s\n", option->name, previous);
  }
  gen_free(previous);
  return ok ? 1 : refuse(option, value, quiet);
}

int callFunction(_ConfigOption* option, const char* value, bool quiet) {
  cfg_Value v = valueOf(value);
  if (!option->setter || !option->setter(option, &v)) return refuse(option, value, quiet);
  cfg_refresh_mask |= option->refresh;
  return 1;
}

}  // namespace

void cfg_SetDontClearStrings(bool on) { dontClearStrings = on; }

int cfg_ApplyValue(_ConfigOption* option, const char* value, bool quiet) {
  switch (option->type) {
    case CFG_BOOLEAN: return setBoolean(option, value, quiet);
    case CFG_INTEGER: return setInteger(option, value, quiet);
    case CFG_CHOICE: return setChoice(option, value, quiet);
    case CFG_COLOR: return setColor(option, value, quiet);
    case CFG_STRING: return setString(option, value, quiet);
    case CFG_SIZE: return setSize(option, value, quiet);
    case CFG_FUNCTION: return callFunction(option, value, quiet);
    default: return refuse(option, value, quiet);
  }
}

char* cfg_GetOptionValueText(const _ConfigOption* option) {
  if (!option) return nullptr;
  const void* var = option->variable;
  switch (option->type) {
    case CFG_BOOLEAN:
      return gen_copy(var && *static_cast<const bool*>(var) ? "On" : "Off");
    case CFG_INTEGER:
      return gen_asprintf("%d", var ? *static_cast<const int*>(var) : 0);
    case CFG_CHOICE: {
      const auto* choices = static_cast<const cfg_ChoiceList*>(option->extra);
      int i = var ? *static_cast<const int*>(var) : 0;
      if (choices && i >= 0 && i < choices->count) return gen_copy(choices->settings[i]);
      return gen_asprintf("%d", i);
    }
    case CFG_COLOR:
    case CFG_STRING: {
      const char* text = var ? *static_cast<char* const*>(var) : nullptr;
      return gen_copy(text ? text : "NULL");
    }
    case CFG_SIZE: {
      const auto* size = static_cast<const cfg_Size*>(var);
      return size ? gen_asprintf("%dx%d", size->width, size->height) : gen_copy("-1x-1");
    }
    default:
      return gen_copy("(function)");
  }
}
