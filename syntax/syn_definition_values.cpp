// Typed values and delimiter pairs of a definition file: every value of an
// unexpected type, unknown key, key-less attribute and stray child tree is
// reported in the file's warnings, and reading goes on.
#include "syntax/syn_definition_reader.h"

namespace {

// Splits the line-start and line-end marks off a delimiter.
void StripMarks(synDelimiterPair* p) {
  if (!p->begin.empty() && p->begin[0] == '\x01') {
    p->beginAtLineStart = true;
    p->begin.erase(0, 1);
  }
  if (!p->end.empty() && p->end.back() == '\x02') {
    p->endAtLineEnd = true;
    p->end.pop_back();
  }
}

}  // namespace

void synDefinitionReader::BadValue(const char* tree, const std::string& key) {
  report_.Warn("Warning: Invalid attribute value for %s.%s in file:\n\t%s\n", tree,
               key.c_str(), report_.file());
}

bool synDefinitionReader::String(const ut_options_attribute& a, const char* tree,
                                 std::string* out) {
  if (a.kind != ut_value_kind::string) {
    BadValue(tree, a.name);
    return false;
  }
  *out = a.text;
  return true;
}

bool synDefinitionReader::Strings(const ut_options_attribute& a, const char* tree,
                                  std::vector<std::string>* out) {
  if (a.kind == ut_value_kind::string) {
    out->push_back(a.text);
    return true;
  }
  if (a.kind != ut_value_kind::list) {
    BadValue(tree, a.name);
    return false;
  }
  for (const ut_list_item& item : a.items) {
    if (item.is_string) out->push_back(item.text);
  }
  return true;
}

bool synDefinitionReader::Bool(const ut_options_attribute& a, const char* tree, bool* out) {
  if (a.kind != ut_value_kind::boolean && a.kind != ut_value_kind::integer) {
    BadValue(tree, a.name);
    return false;
  }
  *out = a.number != 0;
  return true;
}

bool synDefinitionReader::Int(const ut_options_attribute& a, const char* tree, int* out) {
  if (a.kind != ut_value_kind::integer) {
    BadValue(tree, a.name);
    return false;
  }
  *out = a.number;
  return true;
}

void synDefinitionReader::Color(const ut_options_attribute& a, const char* tree,
                                synColor* color) {
  std::string name;
  if (!String(a, tree, &name)) return;
  if (!color->Set(name.c_str())) {
    report_.Warn("Invalid color setting for %s in file \n\t%s.\n", tree, report_.file());
  }
}

void synDefinitionReader::ReadTree(const ut_options_node& tree, const char* name,
                                   const Handler& handle, const PairHandler& pairs) {
  for (const ut_options_attribute& a : tree.attributes()) {
    if (a.name.empty()) {
      report_.Warn("Warning: Invalid attribute of %s with NULL key is ignored in file:\n\t%s\n",
                   name, report_.file());
    } else if (!handle(a)) {
      report_.Warn("Warning: Invalid attribute %s.%s in file:\n\t%s\n", name,
                   a.name.c_str(), report_.file());
    }
  }
  if (tree.get_child_count() == 0) return;
  if (!pairs) {
    report_.Warn("Warning: Invalid attribute tree(s) of %s is ignored in file:\n\t%s\n",
                 name, report_.file());
    return;
  }
  for (const auto& child : tree.children()) pairs(*child);
}

bool synDefinitionReader::ReadPair(const ut_options_node& node, const char* tree,
                                   bool spanKnown, bool spanDefault,
                                   synDelimiterPair* out) {
  const std::string label = node.get_name().empty() ? "anonymous" : node.get_name();
  const char* pair = label.c_str();
  *out = synDelimiterPair();
  out->spanLines = spanDefault;
  for (const ut_options_attribute& a : node.attributes()) {
    if (a.name.empty()) {
      report_.Warn("Warning: Invalid attribute of %s.%s with NULL key is ignored in file:\n\t%s\n",
                   tree, pair, report_.file());
    } else if (a.name == "begin") {
      String(a, tree, &out->begin);
    } else if (a.name == "end") {
      String(a, tree, &out->end);
    } else if (a.name == "span_line" && spanKnown) {
      Bool(a, tree, &out->spanLines);
    } else {
      report_.Warn("Warning: Invalid attribute %s.%s.%s in file:\n\t%s\n", tree, pair,
                   a.name.c_str(), report_.file());
    }
  }
  if (node.get_child_count() > 0) {
    report_.Warn("Warning: Invalid attribute tree(s) of %s.%s is ignored in file:\n\t%s\n",
                 tree, pair, report_.file());
  }
  if (out->begin.empty() || out->end.empty()) {
    report_.Warn("Warning: Incomplete definition is ignored for \"%s.%s\" in file \n\t%s.\n",
                 tree, pair, report_.file());
    return false;
  }
  StripMarks(out);
  return true;
}

void synDefinitionReader::ReadPairs(const ut_options_node& tree, const char* name,
                                    bool spanKnown, bool spanDefault, int limit,
                                    std::vector<synDelimiterPair>* pairs,
                                    synColor* color) {
  bool warnedLimit = false;
  const auto handle = [&](const ut_options_attribute& a) {
    if (a.name != "color") return false;
    Color(a, name, color);
    return true;
  };
  const auto readPair = [&](const ut_options_node& node) {
    synDelimiterPair p;
    if (!ReadPair(node, name, spanKnown, spanDefault, &p)) return;
    if (limit > 0 && static_cast<int>(pairs->size()) >= limit) {
      if (!warnedLimit) {
        report_.Warn("Warning: More than %d pairs of constant %s delimiters \n"
                     "are defined in file \n\t%s\n",
                     limit, name, report_.file());
      }
      warnedLimit = true;
      return;
    }
    pairs->push_back(std::move(p));
  };
  ReadTree(tree, name, handle, readPair);
}
