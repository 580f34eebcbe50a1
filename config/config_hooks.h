// Seams the configuration offers to the layers above it.  The toolkit and
// the configuration service client live higher up; each fills its hook at
// start-up.  An unset hook means the matching
// step is skipped.
#pragma once

#include "config/config.h"

struct gen_strarray;

// A colour option is about to take a new colour: allocate its pixel (and
// free the previous one, recolour images, derive background shades).
// Returns 1 when the colour was taken, 0 to refuse it (one-bit display,
// read-only colours, allocation failure).
using cfg_ColorHookFn = int (*)(_ConfigOption* option, cfg_ColorSlot* slot,
                                const cfg_Rgb* rgb);
void cfg_SetColorHook(cfg_ColorHookFn fn);

// Called after any option changed value.
using cfg_ChangeHookFn = void (*)(_ConfigOption* option);
void cfg_SetChangeHook(cfg_ChangeHookFn fn);

// Shows a message as an alert once the window system is up.
using cfg_AlertHookFn = void (*)(const char* text);
void cfg_SetAlertHook(cfg_AlertHookFn fn);

// Looks an X resource up by name and class; null when unset.  The returned
// text belongs to the resource database.
using cfg_XResourceFn = const char* (*)(const char* name, const char* cls);
void cfg_SetXResourceLookup(cfg_XResourceFn fn);

// The configuration service: `fetch` fills `lines` with the user's settings
// (returns 0 when it could not), `register_client` registers this program,
// `send` shares a changed line (returns 1 when sent).  The service is in
// use when `fetch` is set and the switches ServiceRouter and ConfigService
// are on.
struct cfg_ConfigService {
  int (*fetch)(const char* progname, gen_strarray* lines);
  void (*register_client)(const char* progname);
  int (*send)(const char* line);
};
void cfg_SetConfigService(const cfg_ConfigService* service);  // null: none
bool cfg_ConfigServiceInUse();

// A line whose name no option table holds may be a key or mouse binding
// ("q|Control: Close", "Mouse1*Release1@Close = Close"): the toolkit is
// offered the name and value and answers 1 when it took them as a binding,
// 0 when they are none.
using cfg_BindingHookFn = int (*)(const char* name, const char* value);
void cfg_SetBindingHook(cfg_BindingHookFn fn);
int cfg_CallBindingHook(const char* name, const char* value);  // 0 without a hook

// Runs after the configuration has been read, when the window system is
// up: recompute colours, redraw images, reinitialise syntax colouring.
using cfg_AfterReadHookFn = void (*)();
void cfg_SetAfterReadHook(cfg_AfterReadHookFn fn);
