// The text prompt: the question above a field, the buttons below it; the
// field has the keys from the start, so the user can type at once.
#include "gui/widgets/prompt.h"

#include <algorithm>
#include <string>

#include "base/gen.h"
#include "gui/core/fonts.h"
#include "gui/widgets/dialog.h"
#include "gui/widgets/text_field.h"
#include "gui/x11/display.h"

namespace {

constexpr int kOk = 0, kCancel = 1;
constexpr int kFieldWidth = 320;
constexpr int kButtonRowHeight = 40;

void enterPressed(TextField* field) {
  ColWind* top = field->getTopLevel();
  if (auto* d = top ? static_cast<WDialog*>(top->returnData) : nullptr) d->finish(kOk);
}

}  // namespace

char* gui_Prompt(ColWind* parent, const char* title, const char* prompt, const char* initial) {
  if (!XWindowsOn()) return nullptr;
  std::vector<std::string> lines = WDialogText::splitLines(prompt);
  int textHeight = static_cast<int>(lines.size()) * font_h;
  int fieldHeight = TextField::preferredHeight();
  int inner = std::max(WDialogText::textWidth(lines), kFieldWidth);
  int width = inner + 2 * WDialog::kMargin;
  int height = textHeight + fieldHeight + kButtonRowHeight + 4 * WDialog::kMargin;
  WDialog dialog(parent, title ? title : "", title, width, height);
  if (!dialog.window()) return nullptr;
  int y = WDialog::kMargin;
  new WDialogText(dialog.window(), DrawRect{WDialog::kMargin, y, inner, std::max(textHeight, 1)},
                  prompt);
  y += textHeight + WDialog::kMargin;
  auto* field = new TextField(dialog.window(), DrawRect{WDialog::kMargin, y, inner, fieldHeight});
  field->setTrimSpaces(true);
  field->setText(initial ? initial : "");
  field->selectAll();
  field->setEnterCallback(enterPressed);
  field->activateMe();
  dialog.addButtonRow({"OK", "Cancel"});
  dialog.setResults(kOk, kCancel);
  auto fieldAlive = field->aliveToken();
  if (dialog.run() != kOk || fieldAlive.expired()) return nullptr;
  return gen_copy(field->getText().c_str());
}
