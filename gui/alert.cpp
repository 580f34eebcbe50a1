// Alerts are button dialogues with one button.
#include "gui/alert.h"

#include "base/gen.h"
#include "gui/dialog.h"
#include "gui/wgui.h"

const char* const kAlertTitle = "Alert";

void gui_Alert(ColWind* parent, const char* message) {
  gui_AlertTitled(parent, kAlertTitle, message);
}

void gui_AlertTitled(ColWind* parent, const char* title, const char* message) {
  if (!XWindowsOn()) {
    gen_error("%s", message ? message : "");
    return;
  }
  gui_ButtonDialog(parent, title ? title : kAlertTitle, message, {"OK"}, 0, 0);
}
