#include "gui/core/placer.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "gui/core/fonts.h"
#include "gui/core/item.h"

namespace {

const char* const kEdgeNames[] = {"left", "top", "right", "bottom", "width", "height"};

bool edgeNamed(const std::string& word, WPlacer::Edge* edge) {
  for (int e = 0; e < 6; e++) {
    if (word == kEdgeNames[e]) {
      *edge = static_cast<WPlacer::Edge>(e);
      return true;
    }
  }
  return false;
}

std::string trimmed(const std::string& s) {
  size_t a = s.find_first_not_of(" \t"), b = s.find_last_not_of(" \t\r");
  return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

bool splitName(const std::string& word, std::string* name, WPlacer::Edge* edge) {
  size_t dot = word.rfind('.');
  if (dot == std::string::npos || dot == 0) return false;
  *name = word.substr(0, dot);
  return edgeNamed(word.substr(dot + 1), edge);
}

bool horizontal(WPlacer::Edge e) {
  return e == WPlacer::kLeft || e == WPlacer::kRight || e == WPlacer::kWidth;
}

}  // namespace

// ---- reading rules ----

bool WPlacer::addRules(const char* text, std::string* error) {
  std::istringstream in(text ? text : "");
  std::string line;
  while (std::getline(in, line)) {
    line = trimmed(line);
    if (line.empty() || line[0] == '#') continue;
    Rule rule;
    if (!parseRule(line, &rule)) {
      if (error) *error = line;
      return false;
    }
    rules_.push_back(rule);
  }
  return true;
}

bool WPlacer::addRules(const char* text, const std::map<std::string, std::string>& values,
                       std::string* error) {
  std::string filled = text ? text : "";
  for (const auto& [key, value] : values) {
    std::string mark = "{" + key + "}";
    for (size_t at = filled.find(mark); at != std::string::npos; at = filled.find(mark, at))
      filled.replace(at, mark.size(), value), at += value.size();
  }
  return addRules(filled.c_str(), error);
}

bool WPlacer::parseRule(const std::string& line, Rule* rule) {
  size_t eq = line.find('=');
  if (eq == std::string::npos || !splitName(trimmed(line.substr(0, eq)), &rule->target, &rule->edge))
    return false;
  rule->text = line;
  std::string rhs = line.substr(eq + 1);
  if (trimmed(rhs).empty()) return false;
  int sign = 1;
  std::string word;
  for (size_t i = 0; i <= rhs.size(); i++) {
    char c = i < rhs.size() ? rhs[i] : '+';
    if (c == ' ' || c == '\t') continue;
    if (c != '+' && c != '-') {
      word += c;
      continue;
    }
    if (word.empty() && rule->pixels + rule->chars + rule->lines != 0) return false;  // "+ +"
    if (!word.empty() && !parseTerm(word, sign, rule)) return false;
    word.clear();
    sign = c == '-' ? -1 : 1;
  }
  return true;
}

// A term is an edge (the anchor, once, added), a number of pixels, of
// characters ("9c") or of lines ("5l"), or a named size ("$menu").
bool WPlacer::parseTerm(const std::string& word, int sign, Rule* rule) {
  if (word[0] == '$') {
    if (word.size() < 2) return false;
    rule->sizes.emplace_back(sign, word.substr(1));
    return true;
  }
  if (std::isdigit(static_cast<unsigned char>(word[0]))) {
    size_t used = 0;
    int n = std::stoi(word, &used);
    std::string unit = word.substr(used);
    if (unit.empty()) rule->pixels += sign * n;
    else if (unit == "c") rule->chars += sign * n;
    else if (unit == "l") rule->lines += sign * n;
    else return false;
    return true;
  }
  if (!rule->anchor.name.empty() || sign < 0) return false;
  return splitName(word, &rule->anchor.name, &rule->anchor.edge);
}

void WPlacer::addWidget(const std::string& name, WWindowedItem* item) { items_[name] = item; }

void WPlacer::setSize(const std::string& name, int value) { sizes_[name] = value; }

// ---- placing ----

bool WPlacer::hidden(const std::string& name) const {
  auto it = items_.find(name);
  return it != items_.end() && it->second && !it->second->isShown();
}

// An edge from what the rules gave: a far edge from the near one and the
// size, a size from both edges.  A hidden widget has no size.
bool WPlacer::resolve(const std::string& name, Edge edge, int* out) const {
  if (name == "window") {
    const int v[6] = {0, 0, width_, height_, width_, height_};
    *out = v[edge];
    return true;
  }
  auto it = boxes_.find(name);
  if (it == boxes_.end()) return false;
  Box& b = it->second;
  bool h = horizontal(edge);
  Edge nearE = h ? kLeft : kTop, farE = h ? kRight : kBottom, sizeE = h ? kWidth : kHeight;
  if (hidden(name)) b.value[sizeE] = 0, b.known[sizeE] = true;
  if (b.known[edge]) {
    *out = b.value[edge];
    return true;
  }
  int count = b.known[nearE] + b.known[farE] + b.known[sizeE];
  if (count < 2) return false;
  if (edge == nearE) *out = b.value[farE] - b.value[sizeE];
  else if (edge == farE) *out = b.value[nearE] + b.value[sizeE];
  else *out = b.value[farE] - b.value[nearE];
  return true;
}

void WPlacer::apply(const Rule& rule) {
  int value = 0;
  if (!rule.anchor.name.empty() && !resolve(rule.anchor.name, rule.anchor.edge, &value)) {
    problems_.push_back(rule.text);
    return;
  }
  value += rule.pixels + rule.chars * font_n + rule.lines * font_h;
  for (const auto& [sign, name] : rule.sizes) {
    auto it = sizes_.find(name);
    if (it == sizes_.end()) {
      problems_.push_back(rule.text);
      return;
    }
    value += sign * it->second;
  }
  Box& b = boxes_[rule.target];
  b.value[rule.edge] = value;
  b.known[rule.edge] = true;
}

void WPlacer::moveWidgets() {
  for (const auto& [name, item] : items_) {
    int x, y, w, h;
    if (!item || !resolve(name, kLeft, &x) || !resolve(name, kTop, &y) ||
        !resolve(name, kWidth, &w) || !resolve(name, kHeight, &h) || hidden(name))
      continue;
    DrawRect r{x, y, std::max(w, 1), std::max(h, 1)};
    if (item->getX() != r.x || item->getY() != r.y || item->getWidth() != r.width ||
        item->getHeight() != r.height)
      item->setGeometry(r);
  }
}

void WPlacer::compute(int width, int height) {
  width_ = width, height_ = height;
  boxes_.clear();
  problems_.clear();
  for (const Rule& rule : rules_) apply(rule);
}

void WPlacer::place(int width, int height) {
  compute(width, height);
  moveWidgets();
}

int WPlacer::edgeOf(const std::string& name, Edge edge) const {
  int v = 0;
  return resolve(name, edge, &v) ? v : 0;
}

DrawRect WPlacer::rectOf(const std::string& name) const {
  return DrawRect{edgeOf(name, kLeft), edgeOf(name, kTop), edgeOf(name, kWidth),
                  edgeOf(name, kHeight)};
}
