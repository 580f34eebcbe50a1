// Writes an options tree in the file format so that reading the text gives
// the same tree: names that are not plain identifiers and every string are
// quoted with escapes, "$" included, so that nothing is taken for a macro.
#include <string>

#include "libs/libcxxutil/options_reader.h"

namespace {

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '$': out += "\\$"; break;
      default: out += c;
    }
  }
  return out + "\"";
}

std::string nameText(const std::string& name) {
  if (name.empty()) return quoted(name);
  for (char c : name) {
    if (!ut_is_name_char(c)) return quoted(name);
  }
  return name;
}

std::string itemText(const ut_list_item& item) {
  return item.is_string ? quoted(item.text) : std::to_string(item.number);
}

std::string scalarText(const ut_options_attribute& a) {
  switch (a.kind) {
    case ut_value_kind::boolean: return a.number ? "true" : "false";
    case ut_value_kind::string: return quoted(a.text);
    default: return std::to_string(a.number);
  }
}

void writeList(std::string& out, const std::string& indent,
               const ut_options_attribute& a, bool allowLists) {
  std::string name = nameText(a.name);
  if (!allowLists && !a.items.empty()) {
    for (const auto& item : a.items) {
      out += indent + name + " += " + itemText(item) + "\n";
    }
    return;
  }
  out += indent + name + " = {";
  for (size_t i = 0; i < a.items.size(); i++) {
    out += (i ? ", " : " ") + itemText(a.items[i]);
  }
  out += a.items.empty() ? "}\n" : " }\n";
}

void writeNode(std::string& out, const ut_options_node& node, int depth,
               bool allowLists) {
  std::string indent(2 * depth, ' ');
  for (const auto& a : node.attributes()) {
    if (a.kind == ut_value_kind::list) {
      writeList(out, indent, a, allowLists);
      continue;
    }
    out += indent + nameText(a.name) + " = " + scalarText(a) + "\n";
  }
  for (const auto& child : node.children()) {
    const std::string& name = child->get_name();
    out += indent + (name.empty() ? "{" : nameText(name) + " {") + "\n";
    writeNode(out, *child, depth + 1, allowLists);
    out += indent + "}\n";
  }
}

}  // namespace

std::string ut_write_options(const ut_options_node& root, bool allow_lists) {
  std::string out;
  writeNode(out, root, 0, allow_lists);
  return out;
}
