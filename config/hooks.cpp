// The hooks the layers above fill in, and their safe callers: an unset
// hook leaves the default behaviour in place.
#include "config/config_hooks.h"

#include "base/debugflag.h"
#include "base/gen.h"
#include "config/config_private.h"

namespace {

cfg_ColorHookFn colorHook;
cfg_ChangeHookFn changeHook;
cfg_AlertHookFn alertHook;
cfg_XResourceFn xResourceLookup;
cfg_AfterReadHookFn afterReadHook;
cfg_BindingHookFn bindingHook;
cfg_ConfigService configService;
bool haveConfigService;

}  // namespace

void cfg_SetColorHook(cfg_ColorHookFn fn) { colorHook = fn; }
void cfg_SetChangeHook(cfg_ChangeHookFn fn) { changeHook = fn; }
void cfg_SetAlertHook(cfg_AlertHookFn fn) { alertHook = fn; }
void cfg_SetXResourceLookup(cfg_XResourceFn fn) { xResourceLookup = fn; }
void cfg_SetAfterReadHook(cfg_AfterReadHookFn fn) { afterReadHook = fn; }
void cfg_SetBindingHook(cfg_BindingHookFn fn) { bindingHook = fn; }

int cfg_CallBindingHook(const char* name, const char* value) {
  return bindingHook ? bindingHook(name, value) : 0;
}

void cfg_SetConfigService(const cfg_ConfigService* service) {
  haveConfigService = service != nullptr;
  configService = service ? *service : cfg_ConfigService{};
}

bool cfg_ConfigServiceInUse() {
  return haveConfigService && configService.fetch &&
         debugFlag[DBG_ServiceRouter] && debugFlag[DBG_ConfigService];
}

const cfg_ConfigService* cfg_GetConfigService() {
  return haveConfigService ? &configService : nullptr;
}

int cfg_CallColorHook(_ConfigOption* option, cfg_ColorSlot* slot, const cfg_Rgb* rgb) {
  return colorHook ? colorHook(option, slot, rgb) : 1;
}

void cfg_NotifyChange(_ConfigOption* option) {
  if (changeHook) changeHook(option);
}

void cfg_Alert(const char* text) {
  if (alertHook) {
    alertHook(text);
    return;
  }
  gen_error("%s", text);
}

const char* cfg_LookupXResource(const char* name, const char* cls) {
  return xResourceLookup ? xResourceLookup(name, cls) : nullptr;
}

void cfg_RunAfterReadHook() {
  if (afterReadHook) afterReadHook();
}

std::string cfg_Clipped(const char* text) {
  constexpr size_t kShown = 80;
  std::string shown = text ? text : "";
  if (shown.size() > kShown) shown = shown.substr(0, kShown) + "...";
  return shown;
}
