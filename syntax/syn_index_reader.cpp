// Reading the language index file: one tree per language with its
// description, suffixes, definition file, first-line patterns and menu
// placement.  Entries that cannot name both a suffix and a definition are
// dropped with a warning; hidden languages get a menu entry of their own.
#include <cstring>

#include "libs/libcxxutil/options_database.h"
#include "syntax/syn_index.h"
#include "syntax/syn_report.h"

namespace {

struct EntryText {
  std::string description, definition, submenu;
  std::vector<std::string> extensions, patterns;
  bool hidden = false;
};

void AppendStrings(const ut_options_attribute& a, std::vector<std::string>* out) {
  if (a.kind == ut_value_kind::string) out->push_back(a.text);
  for (const ut_list_item& item : a.items) {
    if (item.is_string) out->push_back(item.text);
  }
}

// Takes one attribute of an entry; false for an unknown key.
bool TakeAttribute(const ut_options_attribute& a, EntryText* e) {
  if (a.name == "description") e->description = a.text;
  else if (a.name == "extension") AppendStrings(a, &e->extensions);
  else if (a.name == "definition_file") e->definition = a.text;
  else if (a.name == "first_line_pattern") AppendStrings(a, &e->patterns);
  else if (a.name == "hide") e->hidden = a.number != 0;
  else if (a.name == "submenu") e->submenu = a.text;
  else return false;
  return true;
}

}  // namespace

void synIndex::Load(const char* path) {
  Reset();
  fileName_ = path ? path : "";
  if (!path) return;
  ut_options_database database;
  syn_PrepareDatabase(&database);
  if (!database.read_from_file_name(path)) return;
  LoadFromTree(*database.get_root_node(), path);
}

void synIndex::LoadFromTree(const ut_options_node& root, const char* path) {
  Reset();
  fileName_ = path ? path : "";
  synReport report(path);
  if (root.get_attribute_count() > 0) {
    report.Warn("Warning: Invalid attribute(s) is ignored in file:\n\t%s\n", report.file());
  }
  for (const auto& child : root.children()) ReadEntry(*child, &report);
  int hidden = 0;
  for (const auto& e : entries_) hidden += e->hidden ? 1 : 0;
  if (hidden == 0) return;
  auto entry = std::make_unique<synLanguageAbs>();
  entry->name = entry->description = hidden == 1 ? "Hidden Language" : "Hidden Languages";
  hiddenId_ = Count();
  AddEntry(std::move(entry));
}

void synIndex::ReadEntry(const ut_options_node& node, synReport* report) {
  const std::string& name = node.get_name();
  const char* label = name.empty() ? "anonymous" : name.c_str();
  const char* file = report->file();
  EntryText text;
  for (const ut_options_attribute& a : node.attributes()) {
    if (a.name.empty()) {
      report->Warn("Warning: Invalid attribute of %s with NULL key is ignored in file:\n\t%s\n",
                   label, file);
    } else if (!TakeAttribute(a, &text)) {
      report->Warn("Warning: Invalid attribute %s.%s is ignored in file:\n\t%s\n", label,
                   a.name.c_str(), file);
    }
  }
  if (node.get_child_count() > 0) {
    report->Warn("Warning: Invalid attribute tree(s) of %s is ignored in file:\n\t%s\n",
                 label, file);
  }
  if (name.empty()) {
    report->Warn("Warning: The entry without defining language name is ignored in file:\n\t%s\n",
                 file);
    return;
  }
  if (text.description.empty()) text.description = name;
  const bool marker = text.description == "\x01";
  if (!marker && (text.extensions.empty() || text.definition.empty())) {
    if (text.extensions.empty()) {
      report->Warn("Warning: No file extension is defined for %s in file:\n\t%s\n", label, file);
    }
    if (text.definition.empty()) {
      report->Warn("Warning: No language definition file is specified for %s in file:\n\t%s\n",
                   label, file);
    }
    return;
  }
  auto entry = std::make_unique<synLanguageAbs>();
  entry->name = name;
  entry->description = text.description;
  entry->extensions = std::move(text.extensions);
  entry->definitionFile = text.definition;
  entry->hidden = text.hidden;
  entry->submenu = text.submenu;
  CompilePatterns(text.patterns, entry.get(), report);
  AddEntry(std::move(entry));
}

// Patterns that do not compile are reported and left out.
void synIndex::CompilePatterns(const std::vector<std::string>& patterns,
                               synLanguageAbs* entry, synReport* report) {
  for (const std::string& p : patterns) {
    auto pattern = std::make_unique<synFirstLinePattern>();
    std::string error;
    if (pattern->Compile(p.c_str(), &error)) {
      entry->patterns.push_back(std::move(pattern));
      continue;
    }
    report->Warn("Warning: Invalid first line pattern \"%s\" of %s is ignored in file:\n"
                 "\t%s\n\t(%s)\n",
                 p.c_str(), entry->name.c_str(), report->file(), error.c_str());
  }
}
