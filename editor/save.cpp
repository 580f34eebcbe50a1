// Saving a file from the editor: over its own name or another, or under a
// name the user gives.
#include <string>

#include "base/gen.h"
#include "editor/edit_window.h"
#include "editor/editor.h"
#include "editor/file_lines.h"
#include "gui/widgets/alert.h"
#include "gui/widgets/prompt.h"
#include "text/file.h"

bool edit_SaveOver(file* f, const char* name, ColWind* parent) {
  const char* target = name ? name : f->name;
  std::string error;
  if (!target || !*target) return false;
  if (!edit_WriteFile(f, target, &error)) {
    gui_Alert(parent, error.c_str());
    return false;
  }
  if (!name || std::string(name) == f->name) f->flags &= ~FILE_MODIFIED;
  if (EditFileEntry* entry = edit_EntryOf(f))
    for (Edit* e : entry->windows) edit_Publish(e);
  return true;
}

bool edit_SaveAs(file* f, const char* suggested, ColWind* parent) {
  char* name = gui_Prompt(parent, "Save", "Save as:", suggested ? suggested : f->name);
  if (!name) return false;
  bool saved = *name && edit_SaveOver(f, name, parent);
  gen_free(name);
  return saved;
}
