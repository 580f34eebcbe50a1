// The hooks through which the merge reaches the windows, and the few
// defaults that are not plain "do nothing".
#include "base/gen.h"
#include "diff/merge_private.h"

namespace {

MergeHooks hooks = {};

}  // namespace

void merge_SetHooks(const MergeHooks* newHooks) { hooks = newHooks ? *newHooks : MergeHooks{}; }

namespace merge_private {

const MergeHooks& Hooks() { return hooks; }

bool HasWindows(const mcargs* mc) { return mc->record && mc->record->edit1; }

void Alert(const char* text) {
  if (hooks.alert) {
    hooks.alert(text);
  } else {
    gen_info("%s", text);
  }
}

}  // namespace merge_private
