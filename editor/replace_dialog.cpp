// The "Replace with..." dialogue: the composed block, loaded from its
// scratch file into an editor view, edited by the user and written back
// when accepted.
#include <string>

#include "base/gen.h"
#include "editor/editor.h"
#include "editor/file_lines.h"
#include "editor/merge_windows.h"
#include "gui/core/fonts.h"
#include "gui/widgets/alert.h"
#include "gui/widgets/button.h"
#include "gui/widgets/dialog.h"
#include "text/file.h"

namespace {

constexpr int kColumns = 80, kRows = 12, kBar = 14, kButtons = 44;

class ReplaceDialog : public WDialog {
 public:
  ReplaceDialog(const char* title, file* f)
      : WDialog(nullptr, "ReplaceWith", title, kColumns * font_n + kBar + 2 * kMargin + 4,
                kRows * font_h + kBar + 2 * kMargin + kButtons) {
    edit_ = edit_OpenInside(window(), DrawRect{kMargin, kMargin, kColumns * font_n + kBar + 4,
                                               kRows * font_h + kBar},
                            f);
    addButtonRow({"OK", "Cancel", "Help"});
    setResults(0, 1);
  }
  ~ReplaceDialog() override { edit_Release(edit_); }

  void setHelp(const char* topic) { topic_ = topic ? topic : ""; }

 protected:
  // Enter belongs to the text; the buttons accept.
  bool acceptDefault() override { return false; }
  void buttonChosen(int index) override {
    if (index < 2) return finish(index);
    std::string text = "Edit the lines that replace the difference, then press OK.";
    if (!topic_.empty()) {
      text += "\n(help topic: ";
      text += topic_;
      text += ")";
    }
    gui_AlertTitled(window(), "Help", text.c_str());
  }

 private:
  Edit* edit_ = nullptr;
  std::string topic_;
};

}  // namespace

bool mergewin_EditScratch(const char* path, const char* title, const char* helpTopic) {
  file* f = FileF_File(path, 0, FILE_LOAD_MUST_EXIST);
  if (!f) return false;
  bool accepted = false;
  {
    ReplaceDialog dialog(title && *title ? title : "Replace with...", f);
    dialog.setHelp(helpTopic);
    accepted = dialog.run() == 0;
  }
  std::string error;
  if (accepted && !edit_WriteFile(f, path, &error)) {
    gui_Alert(nullptr, error.c_str());
    accepted = false;
  }
  FileFree(f);
  return accepted;
}
