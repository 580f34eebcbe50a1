// Alerts are button dialogues with one button.
#include "gui/widgets/alert.h"

#include "base/gen.h"
#include "gui/widgets/dialog.h"
#include "gui/x11/display.h"

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
