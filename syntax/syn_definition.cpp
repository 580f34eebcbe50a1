// Loading a language definition file: the top level of the file (its
// "version" and the one "language" tree), the finishing steps, and the
// notice to the user when a file looks like an old-format definition.
#include "syntax/syn_definition.h"

#include "base/gen.h"
#include "libs/libcxxutil/options_database.h"
#include "syntax/syn_definition_reader.h"
#include "syntax/syn_report.h"

namespace {

// The top-level attributes: only "version" is known.
void ReadTopAttributes(const ut_options_node& root, synLanguage* lang, synReport* report) {
  for (const ut_options_attribute& a : root.attributes()) {
    if (a.name == "version" && a.kind == ut_value_kind::string) {
      lang->version = a.text;
      continue;
    }
    report->Warn("Warning: Invalid attribute %s in file:\n\t%s\n", a.name.c_str(),
                 report->file());
  }
}

void OldFormatNotice(const char* path) {
  syn_Bell();
  gen_message(GEN_MSG_PLAIN, "%s",
              "The following language definition file may be in the old format:\n");
  gen_message(GEN_MSG_PLAIN, "%s", path);
  gen_message(GEN_MSG_PLAIN, "%s",
              "\n\nIf so, please update all the language definition files in your\n"
              "VORNE site configuration directory and your local configuration "
              "directory.\n\n");
  gen_message(GEN_MSG_PLAIN, "%s",
              "The definition format is described in defaults/syntax_coloring/README "
              "beside the program.\n");
}

}  // namespace

std::unique_ptr<synLanguage> syn_BuildLanguage(const ut_options_node& root,
                                               const char* path, bool forExtraInfo,
                                               int parseErrors) {
  synReport report(path);
  report.AddErrors(parseErrors);
  auto lang = std::make_unique<synLanguage>();
  lang->fileName = path ? path : "";
  ReadTopAttributes(root, lang.get(), &report);
  if (root.get_child_count() > 1) {
    report.Warn("Warning: More than one attribute tree is defined in file \n\t%s\n", path);
    report.Say("We only consider the one defining %s, other attribute tree(s) is ignored.\n",
               "language");
  }
  const ut_options_node* tree = root.find_child("language");
  if (!tree) {
    report.Warn("Error: No attribute tree is defined for %s in file:\n\t%s\n", "language",
                path);
  } else {
    synDefinitionReader(lang.get(), &report).ReadLanguageTree(*tree);
  }
  lang->errorCount = report.count();
  if (!forExtraInfo && (report.count() > 0 || lang->name.empty())) {
    OldFormatNotice(report.file());
  }
  if (!tree || (lang->name.empty() && !forExtraInfo)) return nullptr;
  lang->Finish();
  return lang;
}

std::unique_ptr<synLanguage> syn_LoadOneFile(const char* path) {
  if (!path) return nullptr;
  ut_options_database database;
  syn_PrepareDatabase(&database);
  if (!database.read_from_file_name(path)) return nullptr;
  return syn_BuildLanguage(*database.get_root_node(), path, false,
                           database.get_error_count());
}
