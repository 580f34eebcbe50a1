// The options tree: lookups, typed getters with found flags, setters and
// deep comparison.  Nodes own their children; attributes are plain values.
#include "libs/libcxxutil/options_node.h"

#include <cstddef>
#include <utility>

namespace {

void setFound(bool* found, bool value) {
  if (found) *found = value;
}

ut_list_item itemOf(const ut_options_attribute& a) {
  if (a.kind == ut_value_kind::string) return ut_list_item::of_string(a.text);
  return ut_list_item::of_int(a.number);
}

}  // namespace

ut_options_node::ut_options_node(std::string name) : name_(std::move(name)) {}

ut_options_node* ut_options_node::get_child(size_t index) const {
  return index < children_.size() ? children_[index].get() : nullptr;
}

ut_options_node* ut_options_node::find_child(std::string_view name) const {
  auto it = child_index_.find(name);
  return it == child_index_.end() ? nullptr : it->second;
}

ut_options_node* ut_options_node::add_child(std::string_view name) {
  children_.push_back(std::make_unique<ut_options_node>(std::string(name)));
  ut_options_node* child = children_.back().get();
  child_index_.emplace(std::string(name), child);  // keeps the first of a name
  return child;
}

ut_options_node* ut_options_node::find_or_add_child(std::string_view name) {
  ut_options_node* child = find_child(name);
  return child ? child : add_child(name);
}

const ut_options_attribute* ut_options_node::get_attribute(size_t index) const {
  return index < attributes_.size() ? &attributes_[index] : nullptr;
}

const ut_options_attribute* ut_options_node::find_attribute(
    std::string_view name) const {
  auto it = attribute_index_.find(name);
  return it == attribute_index_.end() ? nullptr : &attributes_[it->second];
}

ut_options_attribute* ut_options_node::find_mutable(std::string_view name) {
  auto it = attribute_index_.find(name);
  return it == attribute_index_.end() ? nullptr : &attributes_[it->second];
}

void ut_options_node::reindex_attributes() {
  attribute_index_.clear();
  for (size_t i = 0; i < attributes_.size(); i++) {
    attribute_index_.emplace(attributes_[i].name, i);
  }
}

int32_t ut_options_node::get_int(std::string_view name, bool* found) const {
  const ut_options_attribute* a = find_attribute(name);
  bool ok = a && (a->kind == ut_value_kind::integer ||
                  a->kind == ut_value_kind::boolean);
  setFound(found, ok);
  return ok ? a->number : 0;
}

bool ut_options_node::get_bool(std::string_view name, bool* found) const {
  return get_int(name, found) != 0;
}

const char* ut_options_node::get_string(std::string_view name,
                                        bool* found) const {
  const ut_options_attribute* a = find_attribute(name);
  bool ok = a && a->kind == ut_value_kind::string;
  setFound(found, ok);
  return ok ? a->text.c_str() : nullptr;
}

std::vector<ut_list_item> ut_options_node::get_list(std::string_view name,
                                                    bool* found) const {
  const ut_options_attribute* a = find_attribute(name);
  setFound(found, a != nullptr);
  if (!a) return {};
  if (a->kind == ut_value_kind::list) return a->items;
  return {itemOf(*a)};
}

std::vector<std::string> ut_options_node::get_string_list(std::string_view name,
                                                          bool* found) const {
  std::vector<std::string> out;
  for (const auto& item : get_list(name, found)) {
    if (item.is_string) out.push_back(item.text);
  }
  return out;
}

std::vector<int32_t> ut_options_node::get_int_list(std::string_view name,
                                                   bool* found) const {
  std::vector<int32_t> out;
  for (const auto& item : get_list(name, found)) {
    if (!item.is_string) out.push_back(item.number);
  }
  return out;
}

void ut_options_node::set_attribute(ut_options_attribute attribute) {
  if (ut_options_attribute* old = find_mutable(attribute.name)) {
    *old = std::move(attribute);
    return;
  }
  attribute_index_.emplace(attribute.name, attributes_.size());
  attributes_.push_back(std::move(attribute));
}

void ut_options_node::set_int(std::string_view name, int32_t value) {
  ut_options_attribute a;
  a.name = name;
  a.kind = ut_value_kind::integer;
  a.number = value;
  set_attribute(std::move(a));
}

void ut_options_node::set_bool(std::string_view name, bool value) {
  ut_options_attribute a;
  a.name = name;
  a.kind = ut_value_kind::boolean;
  a.number = value ? 1 : 0;
  set_attribute(std::move(a));
}

void ut_options_node::set_string(std::string_view name, std::string_view value) {
  ut_options_attribute a;
  a.name = name;
  a.kind = ut_value_kind::string;
  a.text = value;
  set_attribute(std::move(a));
}

void ut_options_node::set_list(std::string_view name,
                               std::vector<ut_list_item> items) {
  ut_options_attribute a;
  a.name = name;
  a.kind = ut_value_kind::list;
  a.items = std::move(items);
  set_attribute(std::move(a));
}

void ut_options_node::append_to_list(std::string_view name,
                                     const ut_list_item& item) {
  ut_options_attribute* a = find_mutable(name);
  if (!a) {
    set_list(name, {item});
    return;
  }
  if (a->kind != ut_value_kind::list) {
    ut_list_item first = itemOf(*a);
    a->kind = ut_value_kind::list;
    a->number = 0;
    a->text.clear();
    a->items = {std::move(first)};
  }
  a->items.push_back(item);
}

bool ut_options_node::remove_attribute(std::string_view name) {
  auto it = attribute_index_.find(name);
  if (it == attribute_index_.end()) return false;
  attributes_.erase(attributes_.begin() + static_cast<std::ptrdiff_t>(it->second));
  reindex_attributes();
  return true;
}

void ut_options_node::clear() {
  attributes_.clear();
  children_.clear();
  attribute_index_.clear();
  child_index_.clear();
}

bool ut_options_node::equals(const ut_options_node& other) const {
  if (name_ != other.name_ || attributes_ != other.attributes_ ||
      children_.size() != other.children_.size()) {
    return false;
  }
  for (size_t i = 0; i < children_.size(); i++) {
    if (!children_[i]->equals(*other.children_[i])) return false;
  }
  return true;
}
