// A window's arrangement described as data.  Each rule sets one edge or
// size of a widget (or of an invisible guide line) from an edge of the
// window, of another widget or of a guide, plus an offset:
//
//   toolbar.top    = menubar.bottom + 4
//   toolbar.height = 28
//   tf_version_left.width = 9c + 8      (c: character widths, l: lines)
//   menubar.height = $menu              ($: a size the owner names)
//   lnViewsVMax.top = $split            (a guide: only its position)
//
// Rules are applied in order whenever the window changes size, so a rule
// may use only edges known from the rules before it (and the window's).
// A hidden widget is zero wide and zero high, so rules anchored on it
// close up.  Lines starting with "#" are comments.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "gui/x11/draw.h"

class WWindowedItem;

class WPlacer {
 public:
  enum Edge { kLeft, kTop, kRight, kBottom, kWidth, kHeight };

  // Parses the rules; false (with the first bad line in *error) when one
  // does not read.  Earlier rules are kept.
  bool addRules(const char* text, std::string* error = nullptr);
  // The same with every "{key}" of the text replaced by its value: one
  // table serves both halves of a symmetric window.
  bool addRules(const char* text, const std::map<std::string, std::string>& values,
                std::string* error = nullptr);
  // Widgets are placed under their names; names without a widget are
  // guides.
  void addWidget(const std::string& name, WWindowedItem* item);
  // Sizes the owner works out ($name in a rule), such as splitter
  // positions or a font's line height.
  void setSize(const std::string& name, int value);

  // Applies the rules for a window of that size and moves the widgets.
  void place(int width, int height);
  // Applies the rules only: an owner may read guides (a splitter's range)
  // and set sizes before placing.
  void compute(int width, int height);
  // Where the last place() put a widget or guide (a guide's left/top is
  // its position).
  DrawRect rectOf(const std::string& name) const;
  int edgeOf(const std::string& name, Edge edge) const;
  // The rules that could not be applied at the last place(), for tests and
  // for whoever writes a table.
  const std::vector<std::string>& problems() const { return problems_; }

 private:
  struct Term {
    std::string name;  // widget or guide; "window"; empty: none
    Edge edge = kLeft;
  };
  struct Rule {
    std::string target;
    Edge edge;
    Term anchor;
    int pixels = 0, chars = 0, lines = 0;
    std::vector<std::pair<int, std::string>> sizes;  // sign, name
    std::string text;
  };
  struct Box {
    bool known[6] = {};
    int value[6] = {};
  };

  bool parseRule(const std::string& line, Rule* rule);
  bool parseTerm(const std::string& word, int sign, Rule* rule);
  bool resolve(const std::string& name, Edge edge, int* out) const;
  bool hidden(const std::string& name) const;
  void apply(const Rule& rule);
  void moveWidgets();

  std::vector<Rule> rules_;
  std::map<std::string, WWindowedItem*> items_;
  std::map<std::string, int> sizes_;
  mutable std::map<std::string, Box> boxes_;  // hidden widgets lose their size on reading
  std::vector<std::string> problems_;
  int width_ = 0, height_ = 0;
};
