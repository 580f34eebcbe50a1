// One node of an options database: a named tree node holding typed
// attributes (integers, booleans, strings, lists) and ordered child nodes.
// Language definitions, the service router's registration file and other
// persistent data are read into these trees and queried through them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

enum class ut_value_kind { integer, boolean, string, list };

// One element of a list attribute: an integer or a string.
struct ut_list_item {
  bool is_string = false;
  int32_t number = 0;
  std::string text;

  static ut_list_item of_int(int32_t n) { return {false, n, {}}; }
  static ut_list_item of_string(std::string s) { return {true, 0, std::move(s)}; }
  bool operator==(const ut_list_item&) const = default;
};

// A named value.  `number` holds integers and booleans (0 or 1), `text`
// strings, `items` lists; the other fields stay empty.
struct ut_options_attribute {
  std::string name;
  ut_value_kind kind = ut_value_kind::integer;
  int32_t number = 0;
  std::string text;
  std::vector<ut_list_item> items;

  bool operator==(const ut_options_attribute&) const = default;
};

class ut_options_node {
 public:
  explicit ut_options_node(std::string name = {});
  ut_options_node(const ut_options_node&) = delete;
  ut_options_node& operator=(const ut_options_node&) = delete;

  // The node's name; empty for the root and for anonymous blocks.
  const std::string& get_name() const { return name_; }

  // ---- children, in the order they were first created ----
  size_t get_child_count() const { return children_.size(); }
  ut_options_node* get_child(size_t index) const;  // null when out of range
  ut_options_node* find_child(std::string_view name) const;  // first match
  ut_options_node* add_child(std::string_view name);  // always a new node
  ut_options_node* find_or_add_child(std::string_view name);
  const std::vector<std::unique_ptr<ut_options_node>>& children() const {
    return children_;
  }

  // ---- attributes, in the order they were first set ----
  size_t get_attribute_count() const { return attributes_.size(); }
  const ut_options_attribute* get_attribute(size_t index) const;
  const ut_options_attribute* find_attribute(std::string_view name) const;
  const std::vector<ut_options_attribute>& attributes() const {
    return attributes_;
  }

  // Typed getters.  `found` (optional) tells whether an attribute of a
  // fitting kind exists; otherwise the result is 0, false, null or empty.
  // Integers and booleans answer each other's getters; a single string or
  // integer answers the list getters as a list of one.
  int32_t get_int(std::string_view name, bool* found = nullptr) const;
  bool get_bool(std::string_view name, bool* found = nullptr) const;
  // Points into the node; valid until the attribute changes.
  const char* get_string(std::string_view name, bool* found = nullptr) const;
  std::vector<ut_list_item> get_list(std::string_view name,
                                     bool* found = nullptr) const;
  // Only the string (or only the integer) items of the list.
  std::vector<std::string> get_string_list(std::string_view name,
                                           bool* found = nullptr) const;
  std::vector<int32_t> get_int_list(std::string_view name,
                                    bool* found = nullptr) const;

  // Setters replace an attribute of the same name in place, or append one.
  void set_int(std::string_view name, int32_t value);
  void set_bool(std::string_view name, bool value);
  void set_string(std::string_view name, std::string_view value);
  void set_list(std::string_view name, std::vector<ut_list_item> items);
  void set_attribute(ut_options_attribute attribute);
  // Appends to a list attribute; a missing attribute becomes a new list and
  // a single value becomes the first item of the list.
  void append_to_list(std::string_view name, const ut_list_item& item);
  bool remove_attribute(std::string_view name);

  void clear();  // drops every attribute and child
  // Same attributes (in order) and the same children (in order), deeply.
  bool equals(const ut_options_node& other) const;

 private:
  ut_options_attribute* find_mutable(std::string_view name);
  void reindex_attributes();

  std::string name_;
  std::vector<ut_options_attribute> attributes_;
  std::vector<std::unique_ptr<ut_options_node>> children_;
  // Lookups by name: the position of each attribute and the first child of
  // each name, so that large files read in linear time.
  std::map<std::string, size_t, std::less<>> attribute_index_;
  std::map<std::string, ut_options_node*, std::less<>> child_index_;
};
