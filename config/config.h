// Configuration options: a fixed set of named options in static tables,
// each bound to a program variable and set from configuration lines read
// from files at start-up or given at run time.  The option record, the
// table search and the line reader live here; the variables the other
// modules read are in config/config_vars.h, the directories and start-up
// reading in config/config_dirs.h, the seams the toolkit fills in
// config/config_hooks.h.
#pragma once

// ---- option records ---------------------------------------------------------

enum cfg_OptionType {
  CFG_BOOLEAN = 0,
  CFG_INTEGER = 1,
  CFG_CHOICE = 2,
  CFG_COLOR = 3,
  CFG_STRING = 4,
  CFG_SIZE = 5,
  CFG_FUNCTION = 6,
};

// Bits or-ed into cfg_refresh_mask when an option changes: what the
// toolkit must redraw or recompute.
enum cfg_RefreshFlags {
  CFG_REFRESH_COLORS = 1,
  CFG_REFRESH_FONTS = 2,
  CFG_REFRESH_LAYOUT = 4,
  CFG_REFRESH_SYNTAX = 8,
  CFG_REFRESH_TEXT = 16,
};
extern unsigned cfg_refresh_mask;

struct cfg_Size {
  int width;
  int height;
};

struct cfg_IntRange {
  int minimum;
  int maximum;
};

struct cfg_ChoiceList {
  const char* const* settings;
  int count;
};

// A colour as 16-bit red, green and blue channels.
struct cfg_Rgb {
  unsigned short red;
  unsigned short green;
  unsigned short blue;
};

// What a colour option keeps: its text, the parsed channels, and the pixel
// the toolkit allocated for it (filled by the toolkit's colour hook).
struct cfg_ColorSlot {
  char* text;
  cfg_Rgb rgb;
  bool parsed;
  unsigned long pixel;
  bool allocated;
};

// A parsed value as a setter receives it: `text` is the value as written;
// `number` a boolean (0/1), a clamped integer or a choice index; `size` and
// `rgb` for sizes and colours.
struct cfg_Value {
  const char* text;
  long number;
  cfg_Size size;
  cfg_Rgb rgb;
};

struct _ConfigOption;
// Receives the new value instead of the variable being written; returns 1
// when it took the value, 0 to refuse it.  For a function option it is the
// option's handler and receives the value text.
using cfg_SetterFn = int (*)(_ConfigOption* option, const cfg_Value* value);

struct _ConfigOption {
  const char* name;        // matched ignoring ASCII case
  int type;                // cfg_OptionType
  // bool* (boolean), int* (integer, choice index), char** (colour text,
  // string), cfg_Size* (size); unused for functions.
  void* variable;
  unsigned refresh;        // cfg_RefreshFlags
  bool broadcast;          // shared through the configuration service
  cfg_SetterFn setter;     // optional; the handler of a function option
  const char* default_text;  // colour and string defaults
  long default_value;        // boolean, integer and choice defaults
  // cfg_ColorSlot* (colour), const cfg_ChoiceList* (choice),
  // const cfg_IntRange* (integer); null otherwise.
  const void* extra;
  int index;               // table number * 65536 + row, set when looked up
};

struct cfg_Table {
  const char* name;
  _ConfigOption* rows;
  int count;
};

// The tables in search order: size_options, color_options, editor_options,
// debugger_options, gui_options, misc_options, tracegui_options,
// integrate_options, vc_service_options, editor_service_options, os_options.
extern cfg_Table cfg_tables[];
extern const int cfg_table_count;

// ---- lookup and lines -------------------------------------------------------------

// The option of that name in the first table that holds it, or null.
_ConfigOption* cfg_FindOption(const char* name);
// The option of that name in one table; `row` (optional) receives its row.
_ConfigOption* cfg_SearchTable(const char* name, cfg_Table* table, int* row);

// Applies one configuration line ("name value", "name: value" or
// "name=value").  `fromFile` is 0 for a line typed or sent at run time;
// `quiet` suppresses every message.  Returns 1 on success, 0 on failure.
int cfg_ScanLine(const char* line, int fromFile, int quiet);

// Reads one configuration file line by line.  Returns 0 when the file
// cannot be opened (silently) or was abandoned after 50 failed lines.
int cfg_ReadFile(const char* path, int fromFile);

// Brings every option to its table default (or its X resource, when the
// toolkit supplies them): booleans, integers and choices still 0 and
// strings still null get their default; every colour is set afresh.
void cfg_SetEverythingToDefaults();
// The same for one table.
void cfg_SetTableDefaults(cfg_Table* table);

// The option's current value as shown to the user ("On", "80", "#ffffff",
// "NULL", "80x24"); a new string.
char* cfg_GetOptionValueText(const _ConfigOption* option);

// The colour text of a colour option, or null (the toolkit's colour source).
const char* cfg_GetColorText(const char* option);

// While set, an empty value does not clear a string option but fails.
void cfg_SetDontClearStrings(bool on);

// Parses a colour: "#rgb", "#rrggbb", "#rrrgggbbb", "#rrrrggggbbbb",
// "rgb:r/g/b" (1 to 4 hex digits per channel) or a colour name from the
// colour name file (ignoring case and blanks).  Returns false when the text
// names no colour.
bool cfg_ParseColor(const char* text, cfg_Rgb* out);
// The colour name file; "/etc/X11/rgb.txt" unless changed (null restores).
void cfg_SetColorNameFile(const char* path);
