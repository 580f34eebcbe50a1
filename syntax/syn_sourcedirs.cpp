// Source directories: where relative file names (of include files, say)
// are looked for, read from "syntax_coloring/qen_editor.gsd" in the
// configuration directories; the current directory when there is none.
#include <unistd.h>

#include "base/gen.h"
#include "libs/libcxxutil/options_database.h"
#include "syntax/syn_report.h"
#include "syntax/syntax.h"

void syn_ReadSourceDirs(const char* path, std::vector<std::string>* dirs) {
  dirs->assign(1, ".");
  ut_options_database database;
  syn_PrepareDatabase(&database);
  if (!path || !database.read_from_file_name(path)) return;
  const ut_options_node& root = *database.get_root_node();
  std::vector<std::string> found;
  for (const ut_options_attribute& a : root.attributes()) {
    if (a.name != "source") {
      gen_message(GEN_MSG_PLAIN, "Warning: Unknown attribute \"%s\" in \"%s\"\n",
                  a.name.c_str(), path);
      continue;
    }
    if (a.kind == ut_value_kind::string) found.push_back(a.text);
    for (const ut_list_item& item : a.items) {
      if (item.is_string) found.push_back(item.text);
    }
  }
  const int trees = static_cast<int>(root.get_child_count());
  if (trees > 0) {
    gen_message(GEN_MSG_PLAIN, "Warning: There %s %d unknown tree attribute%s in \"%s\"\n",
                trees == 1 ? "is" : "are", trees, trees == 1 ? "" : "s", path);
  }
  if (!found.empty()) *dirs = std::move(found);
}

char* syn_ResolveFileIn(const std::vector<std::string>& dirs, const char* name, int mode) {
  if (!name) return nullptr;
  if (name[0] == '/') return gen_copy(name);
  for (const std::string& dir : dirs) {
    char* path = gen_sconcat(dir.c_str(), name);
    if (gen_access(path, mode) == 0 && !gen_isdir(path)) return path;
    gen_free(path);
  }
  return nullptr;
}
